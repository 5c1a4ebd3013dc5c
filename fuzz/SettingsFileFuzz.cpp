// The settings reader on any bytes: it must not crash, hang or take memory
// out of proportion, and a job it accepts must survive a write and a read.
#include "settings/Job.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFileError.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

bool sameJob(const Job &a, const Job &b)
{
    return a.folders().entries() == b.folders().entries()
        && a.fileTypes().entries() == b.fileTypes().entries()
        && a.excludedFileTypes().entries() == b.excludedFileTypes().entries()
        && a.stringPairs().entries() == b.stringPairs().entries() && a.options() == b.options();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    const QString input = folder.filePath("input.ini");
    const QString output = folder.filePath("output.ini");
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();

    Job first;
    try {
        if (!ReadSettingsFile(input, first))
            return 0;
    } catch (const SettingsFileError &) {
        return 0; // refused with a message
    }
    WriteSettingsFile(output, first);
    Job second;
    if (!ReadSettingsFile(output, second) || !sameJob(first, second))
        std::abort();
    return 0;
}
