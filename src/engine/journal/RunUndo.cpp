#include "engine/journal/RunUndo.h"

#include "engine/files/ByteBuffer.h"
#include "engine/files/FileAttributes.h"
#include "engine/files/PosixFile.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// The back-up copy's content and modification time.
struct BackupContent {
    ByteBuffer bytes;
    timespec modified{};
};

bool readBackup(const QString &path, BackupContent &content)
{
    PosixFile file = PosixFile::open(nativePath(path), O_RDONLY | O_NONBLOCK);
    struct stat info {};
    if (!file.isOpen() || ::fstat(file.descriptor(), &info) != 0 || !S_ISREG(info.st_mode)
        || !content.bytes.allocate(qMax<qint64>(info.st_size, 1)))
        return false;
    content.modified = info.st_mtim;
    if (file.readUpTo(content.bytes.data(), info.st_size) != info.st_size)
        return false;
    content.bytes.setLength(info.st_size);
    return true;
}

// Why the file was left as it is; empty when it was restored, nothing when
// the run never replaced it (its write failed, or the run was killed first).
std::optional<QString> restore(const JournalEntry &entry)
{
    struct stat info {};
    if (::stat(nativePath(entry.path).constData(), &info) != 0)
        return QStringLiteral("the file is gone");
    if (!entry.identity.matches(info)) {
        if (entry.asRead && entry.asRead->matches(info))
            return std::nullopt;
        return QStringLiteral("the file was changed after the run");
    }
    if (entry.backupPath.isEmpty())
        return QStringLiteral("the run made no back-up copy");
    BackupContent backup;
    if (!readBackup(entry.backupPath, backup))
        return QStringLiteral("the back-up copy cannot be read");

    // As in a run: a read-only file is made writable for the write and gets
    // its whole mode back afterwards.
    const mode_t mode = info.st_mode;
    const bool readOnly = FileAttributes::isReadOnly(mode);
    if (readOnly)
        FileAttributes::clearReadOnly(entry.path, mode);
    const WriteOutcome outcome = writeFileSafely(entry.path, backup.bytes.data(),
                                                 backup.bytes.length(), FileIdentity::of(info),
                                                 false);
    if (readOnly)
        FileAttributes::restore(entry.path, mode);
    switch (outcome) {
    case WriteOutcome::Written: {
        const timespec times[2] = {{0, UTIME_OMIT}, backup.modified};
        ::utimensat(AT_FDCWD, nativePath(entry.path).constData(), times, 0);
        return QString();
    }
    case WriteOutcome::ChangedOnDisk:
        return QStringLiteral("the file was changed after the run");
    case WriteOutcome::Failed:
        break;
    }
    return QStringLiteral("the file could not be written");
}

} // namespace

std::optional<JournalRecord> LastUndoableRun(const QString &folder)
{
    std::optional<JournalRecord> journal = ReadLastJournal(folder);
    if (journal && (journal->undone || journal->entries.isEmpty()))
        journal.reset();
    return journal;
}

QList<RestoreResult> UndoRun(const JournalRecord &journal)
{
    QList<RestoreResult> results;
    // In the reverse order of writing.
    for (auto entry = journal.entries.crbegin(); entry != journal.entries.crend(); ++entry) {
        if (const std::optional<QString> reason = restore(*entry))
            results.append({entry->path, reason->isEmpty(), *reason});
    }
    MarkJournalUndone(journal);
    return results;
}
