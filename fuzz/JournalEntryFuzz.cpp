// A run journal entry from any path bytes and identities: what the run
// records just before it replaces a file reads back as exactly that file, copy
// and identities, whatever bytes the names hold (spaces, line feeds, percent
// signs, bytes that are not UTF-8). Names are absolute, as every name a run
// records is.
#include "engine/journal/RunJournal.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

bool operator==(const FileIdentity &a, const FileIdentity &b)
{
    return a.device == b.device && a.inode == b.inode && a.size == b.size
        && a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec;
}

FileIdentity identity(FuzzedDataProvider &input)
{
    FileIdentity identity;
    identity.device = input.ConsumeIntegral<dev_t>();
    identity.inode = input.ConsumeIntegral<ino_t>();
    identity.size = input.ConsumeIntegral<off_t>();
    identity.modified.tv_sec = input.ConsumeIntegral<time_t>();
    identity.modified.tv_nsec = input.ConsumeIntegral<long>();
    return identity;
}

// File names hold any byte but zero.
QString absolutePath(FuzzedDataProvider &input)
{
    QByteArray name = QByteArray::fromStdString(input.ConsumeRandomLengthString(300));
    name.replace('\0', "");
    return pathFromNative('/' + name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString path = absolutePath(input);
    const bool backedUp = input.ConsumeBool();
    const QString backupPath = backedUp ? absolutePath(input) : QString();
    const FileIdentity asRead = identity(input);
    const FileIdentity written = identity(input);
    std::optional<FileIdentity> backupIdentity;
    if (backedUp && input.ConsumeBool())
        backupIdentity = identity(input);
    const QString folder = absolutePath(input);

    QTemporaryDir runs;
    {
        RunJournal journal(runs.path(), absolutePath(input));
        journal.setFolders({folder});
        journal.replacing(path, asRead, written, backupPath, backupIdentity);
        if (!journal.flush())
            std::abort();
    }
    const std::optional<JournalRecord> read = ReadLastJournal(runs.path());
    if (!read || read->folders != QStringList{folder} || read->entries.size() != 1)
        std::abort();
    const JournalEntry &entry = read->entries.first();
    if (entry.path != path || entry.backupPath != backupPath || !(entry.identity == written)
        || !entry.asRead || !(*entry.asRead == asRead)
        || entry.backupIdentity.has_value() != backupIdentity.has_value()
        || (backupIdentity && !(*entry.backupIdentity == *backupIdentity)))
        std::abort();
    return 0;
}
