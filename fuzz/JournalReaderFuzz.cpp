// The run journal reader on any bytes, as the newest journal of its folder:
// it must not crash, hang or take memory out of proportion; a journal it
// accepts names each file once and gives no reason for damage.
#include "engine/journal/RunJournal.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    QFile file(folder.filePath("run-20260101-000000-000-1-00.journal"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();

    QString damage;
    const std::optional<JournalRecord> journal = ReadLastJournal(folder.path(), &damage);
    if (journal && !damage.isEmpty())
        std::abort();
    if (!journal)
        return 0;
    QSet<QString> paths;
    for (const JournalEntry &entry : journal->entries) {
        if (paths.contains(entry.path))
            std::abort();
        paths.insert(entry.path);
    }
    return 0;
}
