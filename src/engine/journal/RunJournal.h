#pragma once

// The journal library answers "what did a run change, and can it be put
// back?": the run journal written as files are replaced and the undo that
// reads it. It builds on the files library.

#include "engine/files/PosixFile.h"
#include "engine/files/SafeFileWriter.h"
#include "engine/journal/BackgroundSync.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QString>
#include <memory>
#include <mutex>
#include <optional>

// The record of one run's writes, kept so that the run can be undone. One
// journal file per run that wrote at least one file, in a folder of its own
// (the per-user data folder's "runs"); the newest KeptJournals are kept.
//
// The file is text, one record a line: "job", "started", a "folder" line for
// each real folder the run works in, then one "file" line per file the run
// replaces (path, the identity the write leaves, the back-up copy, the
// identity the file had when read and, with a back-up copy, the copy's
// identity), and "undone" once the run was taken back. Paths are
// percent-encoded file-name bytes. A file's line is written just before the
// file is replaced, so that a run killed at any moment leaves a record of
// every file it touched; a file whose write then failed or never came still
// has the identity it was read with, and the undo leaves it alone. The lines
// are flushed to disk in the background, a few at a time as they come, and
// all of them before the run ends.
//
// A run that makes no back-up copies has nothing to put back, so its journal
// holds no file lines: a "backups none" line instead, written and flushed once
// before its first file is replaced. It stays the newest journal, so an undo
// never reaches back past this run to an older one.
class RunJournal
{
public:
    static constexpr int KeptJournals = 20;

    // `folder` is created with the first record; `jobPath` names the job.
    RunJournal(const QString &folder, const QString &jobPath);

    // Records that the file at `path`, read as `asRead`, is about to be
    // replaced by content that will have the identity `written`, with its
    // back-up copy (empty when none was made). Called from the threads that
    // write the files. When the journal cannot be written, the run itself
    // goes on, the journal is emptied and takes no more records (the run
    // cannot be undone, not even in part), and takeFailureNotice says so.
    void replacing(const QString &path, const FileIdentity &asRead, const FileIdentity &written,
                   const QString &backupPath,
                   const std::optional<FileIdentity> &backupIdentity = std::nullopt);

    // The real paths of the folders the run works in, recorded before the
    // first file: the undo restores nothing outside them. Without back-up
    // copies the journal records no files (see above).
    void describeRun(const QStringList &folders, bool backupsKept);

    // Waits until every record is on disk; false when one could not be.
    bool flush();

    // True once, the first time it is asked after a record failed: the user
    // is told once.
    bool takeFailureNotice();

    // Why the journal could not be written (the system's text, "No space
    // left on device", say); empty when that is not known.
    QString failureReason();

    // The journal folder of this user.
    static QString defaultFolder();

private:
    bool open();
    void giveUp(int error); // with m_mutex held; `error` is an errno or 0

    QString m_folder;
    QString m_jobPath;
    QDateTime m_started;
    QStringList m_folders;
    bool m_backupsKept = true;
    PosixFile m_file;
    std::unique_ptr<BackgroundSync> m_sync; // flushes m_file, and ends before it
    bool m_failed = false;
    int m_error = 0; // errno of the failure
    bool m_failureNoticed = false;
    std::mutex m_mutex;
};

// A journal as read back.
struct JournalEntry {
    QString path;
    FileIdentity identity; // as the run's write left the file
    QString backupPath;
    // As the file was read; journals of older versions, written after each
    // replacement, have none.
    std::optional<FileIdentity> asRead;
    // The back-up copy's identity when it was made; older journals have none.
    std::optional<FileIdentity> backupIdentity;
};

struct JournalRecord {
    QString file; // the journal file itself
    QString jobPath;
    QDateTime started;
    QStringList folders; // empty in older journals
    QList<JournalEntry> entries;
    bool backupsKept = true; // false: the run made no back-up copies
    bool undone = false;
};

// A journal longer than this, or with a line longer than MaximumJournalLine,
// is damaged.
constexpr qint64 MaximumJournalLine = 1024 * 1024;

// The newest journal in `folder`, undone or not; nothing when there is none
// or when it is damaged, and then `damage` (when given) says why: it is not a
// regular file, has a line over MaximumJournalLine, or names a file twice
// (a run replaces each file once).
std::optional<JournalRecord> ReadLastJournal(const QString &folder, QString *damage = nullptr);

// Marks the journal as undone; false when that failed.
bool MarkJournalUndone(const JournalRecord &journal);
