#pragma once

#include <QString>

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

    // An information message.
    virtual void showInformation(const QString &) {}

    virtual void addRecentFile(const QString &) {}

    // The loaded job is as its file holds it.
    virtual void markNotModified() {}
};

// Writes the whole job to `path`, replacing any file there: the new file holds
// exactly the job's keys, in the version RequiredSettingsVersion names. A failed write leaves the old file whole and throws
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
