#pragma once

#include "settings/CellTable.h"
#include "settings/SettingsVersion.h"

#include <QByteArray>
#include <QString>

class IniFile;
class Job;

// What reading a job asks of the document that owns it. Every member has a
// harmless default, so a caller without a document (a test, an unattended
// run) overrides only what it needs.
class SettingsFileHost
{
public:
    virtual ~SettingsFileHost() = default;

    // Asked before anything is read; false leaves the job as it is (the user
    // cancelled saving the current job).
    virtual bool mayReplaceJob() { return true; }

    // True while the job is being replaced: option changes then raise no
    // warnings and do not mark the job modified.
    virtual void setLoading(bool) {}

    // An information message, Windows-1252 text.
    virtual void showInformation(const QByteArray &) {}

    virtual void addRecentFile(const QString &) {}

    // The loaded job is as its file holds it.
    virtual void markNotModified() {}
};

// Writes the whole job to `path`, replacing any file there: the new file holds
// exactly the job's keys, under the version the job requires. A failed write leaves the old file whole and throws
// SettingsFileError ("Unable to write to <path>").
void WriteSettingsFile(const QString &path, const Job &job);

// Replaces the job by the one stored at `path` and returns true; returns false
// with the job unchanged when the host declines or the file's version is newer
// than this program's (the user is told). A file that does not exist reads as
// an empty job with default options. Throws SettingsFileError when the file
// exists but cannot be read, rather than taking it for an empty job that a
// later save would write over it, and when a table would hold more than
// 100,000 rows (a damaged file; nothing is loaded).
bool ReadSettingsFile(const QString &path, Job &job, SettingsFileHost &host);
bool ReadSettingsFile(const QString &path, Job &job);

// One table under `section`: "GridWidth", "GridHeight" and a "Value<n>" key
// per cell in row-major order.
void WriteGridSection(IniFile &ini, const TextTable &table, const QByteArray &section);

// Loads one table from `section`. A "Value<n>" key removed by hand shifts the
// following values back into place (up to 1000 missing keys per section);
// columns beyond the table's own are ignored, missing ones stay empty. Rows
// that no "Value" key of the section can reach stay out of the table, so a
// wild "GridHeight" does not create millions of empty rows; at most 100,000
// rows are loaded.
void ReadGridSection(const IniFile &ini, TextTable &table, const QByteArray &section);
