#include "engine/journal/RunUndo.h"

#include "engine/files/ByteBuffer.h"
#include "engine/files/FileAttributes.h"
#include "engine/files/HeldFile.h"
#include "engine/files/Leftovers.h"

#include <QSet>

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The back-up copy's content and modification time.
struct BackupContent {
    ByteBuffer bytes;
    timespec modified{};
};

// Reads the copy through its folder, following no link, and only while it is
// the regular file the run made.
std::optional<QString> readBackup(const JournalEntry &entry, BackupContent &content)
{
    const QString unreadable = QStringLiteral("the back-up copy cannot be read");
    const std::optional<FilePlace> place =
        FilePlace::resolve(QFileInfo(entry.backupPath).path());
    if (!place)
        return unreadable;
    const HeldFile copy =
        HeldFile::open({place->path(), nativePath(QFileInfo(entry.backupPath).fileName())});
    struct stat info {};
    if (!copy.isOpen() || ::fstat(copy.descriptor(), &info) != 0 || !S_ISREG(info.st_mode)
        || (entry.backupIdentity && !entry.backupIdentity->matches(info)))
        return copy.isOpen() || copy.swapped()
            ? QStringLiteral("the back-up copy was changed after the run")
            : unreadable;
    if (!content.bytes.allocate(qMax<qint64>(info.st_size, 1)))
        return unreadable;
    content.modified = info.st_mtim;
    if (readUpTo(copy.descriptor(), content.bytes.data(), info.st_size) != info.st_size)
        return unreadable;
    content.bytes.setLength(info.st_size);
    return std::nullopt;
}

bool isUnder(const QByteArray &path, const QStringList &folders)
{
    for (const QString &folder : folders) {
        QByteArray native = nativePath(folder);
        if (!native.endsWith('/'))
            native += '/';
        if (path.startsWith(native))
            return true;
    }
    return false;
}

// A journal names the file by an absolute, clean path, in one of the run's
// folders (older journals name none), with its back-up copy beside it.
bool mayRestore(const JournalEntry &entry, const std::optional<FilePlace> &place,
                const QStringList &folders)
{
    const auto clean = [](const QString &path) {
        return path.startsWith(u'/') && QDir::cleanPath(path) == path;
    };
    if (!clean(entry.path) || !place || (!folders.isEmpty() && !isUnder(place->path(), folders)))
        return false;
    if (entry.backupPath.isEmpty())
        return true;
    const QString folder = QFileInfo(entry.path).path();
    const QString backupFolder = QFileInfo(entry.backupPath).path();
    return clean(entry.backupPath)
        && (backupFolder == folder || QFileInfo(backupFolder).path() == folder);
}

bool sameContent(const HeldFile &file, qint64 size, const BackupContent &backup)
{
    if (size != backup.bytes.length())
        return false;
    ByteBuffer current;
    return current.allocate(qMax<qint64>(size, 1))
        && ::pread(file.descriptor(), current.data(), size_t(size), 0) == size
        && std::equal(current.data(), current.data() + size, backup.bytes.data());
}

// Why the file was left as it is; empty when it was restored, nothing when
// the run never replaced it (its write failed, or the run was killed first).
std::optional<QString> restore(const JournalEntry &entry, const QStringList &folders,
                               bool &alreadyRestored)
{
    const std::optional<FilePlace> place = FilePlace::resolve(entry.path);
    if (!place)
        return QStringLiteral("the file is gone");
    if (!mayRestore(entry, place, folders))
        return QStringLiteral("the journal names it outside the run's folders");
    const HeldFile file = HeldFile::open(*place);
    struct stat info {};
    if (!file.isOpen() || ::fstat(file.descriptor(), &info) != 0)
        return QStringLiteral("the file was changed after the run");
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("it is not a regular file");
    const bool asLeft = entry.identity.matches(info);
    if (!asLeft && entry.asRead && entry.asRead->matches(info))
        return std::nullopt;
    if (entry.backupPath.isEmpty())
        return asLeft ? QStringLiteral("the run made no back-up copy")
                      : QStringLiteral("the file was changed after the run");
    BackupContent backup;
    if (const std::optional<QString> refused = readBackup(entry, backup))
        return refused;
    if (!asLeft) {
        alreadyRestored = sameContent(file, info.st_size, backup);
        return alreadyRestored ? QStringLiteral("already restored")
                               : QStringLiteral("the file was changed after the run");
    }

    // As in a run: a read-only file is made writable for the write and gets
    // its whole mode back afterwards.
    const mode_t mode = info.st_mode;
    const bool readOnly = FileAttributes::isReadOnly(mode);
    if (readOnly)
        FileAttributes::clearReadOnly(file.descriptor(), mode);
    WriteOptions options;
    options.mode = mode;
    options.modified = backup.modified;
    const WriteOutcome outcome = writeFileSafely(file, backup.bytes.data(), backup.bytes.length(),
                                                 FileIdentity::of(info), options);
    if (readOnly)
        FileAttributes::restore(file.descriptor(), mode);
    switch (outcome) {
    case WriteOutcome::Written:
        return QString();
    case WriteOutcome::ChangedOnDisk:
        return QStringLiteral("the file was changed after the run");
    case WriteOutcome::Failed:
        break;
    }
    return QStringLiteral("the file could not be written");
}

} // namespace

const char NoBackupsToUndo[] =
    "The last run made no back-up copies, so it cannot be undone.";

std::optional<JournalRecord> LastUndoableRun(const QString &folder, QString *damage,
                                             bool *noBackups)
{
    std::optional<JournalRecord> journal = ReadLastJournal(folder, damage);
    if (noBackups)
        *noBackups = journal && !journal->backupsKept;
    if (journal && (journal->undone || journal->entries.isEmpty()))
        journal.reset();
    return journal;
}

QList<RestoreResult> UndoRun(const JournalRecord &journal)
{
    QList<RestoreResult> results;
    // A file a killed run left torn gets its original back first.
    QSet<QByteArray> folders;
    for (const JournalEntry &entry : journal.entries) {
        if (const std::optional<FilePlace> place = FilePlace::resolve(entry.path))
            folders.insert(place->folder);
    }
    for (const QByteArray &folder : std::as_const(folders)) {
        for (const QString &path : MendLeftovers(folder))
            results.append({path, true, false, QString()});
    }
    // In the reverse order of writing.
    for (auto entry = journal.entries.crbegin(); entry != journal.entries.crend(); ++entry) {
        bool alreadyRestored = false;
        if (const std::optional<QString> reason = restore(*entry, journal.folders, alreadyRestored))
            results.append({entry->path, reason->isEmpty(), alreadyRestored, *reason});
    }
    MarkJournalUndone(journal);
    return results;
}
