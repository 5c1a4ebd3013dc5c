#include "engine/files/InPlaceWrite.h"

#include "engine/files/PosixFile.h"

#include <QDir>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr const char *KeptCopyName = ".svx-original-XXXXXX";

bool rewind(const PosixFile &file)
{
    return ::lseek(file.descriptor(), 0, SEEK_SET) == 0;
}

// Reserves room for `size` bytes. File systems without fallocate get no
// reservation; the keeping copy still protects the original there.
bool reserve(const PosixFile &file, off_t oldSize, qint64 size)
{
    if (size <= oldSize)
        return true;
    if (::fallocate(file.descriptor(), 0, 0, off_t(size)) == 0)
        return true;
    return errno == EOPNOTSUPP || errno == ENOSYS;
}

// A new, empty file for the copy: hidden beside the file, or in the
// temporary folder when nothing may be created there.
PosixFile createKeptCopy(const QByteArray &folder, QByteArray &name)
{
    for (const QByteArray &place : {folder, nativePath(QDir::tempPath())}) {
        name = place + '/' + KeptCopyName;
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd >= 0)
            return PosixFile(fd);
    }
    name.clear();
    return PosixFile();
}

bool keepCopy(PosixFile &file, PosixFile &copy)
{
    return rewind(file) && copyContent(file, copy) && ::fsync(copy.descriptor()) == 0;
}

bool writeContent(PosixFile &file, const char *data, qint64 size)
{
    return rewind(file) && file.writeAll(data, size)
        && ::ftruncate(file.descriptor(), off_t(size)) == 0;
}

bool putBack(PosixFile &file, PosixFile &copy, const struct stat &original)
{
    const timespec times[2] = {{0, UTIME_OMIT}, original.st_mtim};
    return rewind(copy) && rewind(file) && copyContent(copy, file)
        && ::ftruncate(file.descriptor(), original.st_size) == 0
        && ::futimens(file.descriptor(), times) == 0 && ::fsync(file.descriptor()) == 0;
}

} // namespace

WriteOutcome writeInPlace(const QByteArray &target, const char *data, qint64 size,
                          const struct stat &original, bool keepModificationTime,
                          QString *keptCopy, const BeforeReplace &beforeReplace)
{
    PosixFile file = PosixFile::open(target, O_RDWR);
    if (!file.isOpen())
        return WriteOutcome::Failed;

    // The copy is taken while the file is still exactly the original: the
    // reservation below may append zeros to it.
    QByteArray copyName;
    PosixFile copy = createKeptCopy(target.left(qMax(qsizetype(1), target.lastIndexOf('/'))),
                                    copyName);
    if (!copy.isOpen() || !keepCopy(file, copy)) {
        if (!copyName.isEmpty())
            ::unlink(copyName.constData());
        return WriteOutcome::Failed;
    }

    timespec modified = original.st_mtim;
    if (!keepModificationTime)
        ::clock_gettime(CLOCK_REALTIME, &modified);
    if (beforeReplace) {
        FileIdentity identity = FileIdentity::of(original);
        identity.size = off_t(size);
        identity.modified = modified;
        beforeReplace(identity);
    }

    if (!reserve(file, original.st_size, size)) {
        // A partial reservation may have grown the file; its content is whole.
        const timespec times[2] = {{0, UTIME_OMIT}, original.st_mtim};
        (void)::ftruncate(file.descriptor(), original.st_size);
        ::futimens(file.descriptor(), times);
        ::unlink(copyName.constData());
        return WriteOutcome::Failed;
    }

    bool written = writeContent(file, data, size);
    if (written) {
        // Only the owner may set a time; another writer's file keeps the
        // time of the write, which is not an error.
        const timespec times[2] = {{0, UTIME_OMIT}, modified};
        ::futimens(file.descriptor(), times);
    }
    written = written && ::fsync(file.descriptor()) == 0;
    if (written || putBack(file, copy, original)) {
        ::unlink(copyName.constData());
        return file.close() && written ? WriteOutcome::Written : WriteOutcome::Failed;
    }
    if (keptCopy)
        *keptCopy = pathFromNative(copyName);
    return WriteOutcome::Failed;
}
