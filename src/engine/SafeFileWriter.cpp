#include "engine/SafeFileWriter.h"

#include "engine/PosixFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

FileIdentity FileIdentity::of(const struct stat &info)
{
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

bool FileIdentity::matches(const struct stat &info) const
{
    return info.st_dev == device && info.st_ino == inode && info.st_size == size
        && info.st_mtim.tv_sec == modified.tv_sec && info.st_mtim.tv_nsec == modified.tv_nsec;
}

namespace {

constexpr const char *TemporaryPrefix = ".svx-";

void keepModificationTimeOf(int fd, const struct stat &original)
{
    const timespec times[2] = {{0, UTIME_OMIT}, original.st_mtim};
    ::futimens(fd, times);
}

// Extended attributes a file system or the process's rights cannot carry are
// left behind, as a copy by hand would; other failures are real ones.
bool ignorableAttributeError(int error)
{
    return error == ENOTSUP || error == EOPNOTSUPP || error == EPERM || error == EACCES
        || error == ENODATA || error == EINVAL;
}

std::vector<char> attributeNames(const QByteArray &path)
{
    const ssize_t length = ::listxattr(path.constData(), nullptr, 0);
    if (length <= 0)
        return {};
    std::vector<char> names(static_cast<size_t>(length));
    const ssize_t got = ::listxattr(path.constData(), names.data(), names.size());
    names.resize(got > 0 ? size_t(got) : 0);
    return names;
}

bool copyExtendedAttributes(const QByteArray &from, int to)
{
    const std::vector<char> names = attributeNames(from);
    for (size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
        const char *name = names.data() + at;
        const ssize_t length = ::getxattr(from.constData(), name, nullptr, 0);
        if (length < 0)
            continue;
        std::vector<char> value(static_cast<size_t>(length));
        const ssize_t got = ::getxattr(from.constData(), name, value.data(), value.size());
        if (got < 0)
            continue;
        if (::fsetxattr(to, name, value.data(), size_t(got), 0) != 0
            && !ignorableAttributeError(errno))
            return false;
    }
    return true;
}

void keepOwnerOf(int fd, const struct stat &original)
{
    if (::fchown(fd, original.st_uid, original.st_gid) != 0)
        (void)::fchown(fd, uid_t(-1), original.st_gid);
}

// The folder of an absolute native path.
QByteArray folderOf(const QByteArray &target)
{
    return target.left(qMax(qsizetype(1), target.lastIndexOf('/')));
}

// Makes the rename itself durable; the content already is.
void syncFolder(const QByteArray &folder)
{
    PosixFile handle = PosixFile::open(folder, O_RDONLY | O_DIRECTORY);
    if (handle.isOpen())
        ::fsync(handle.descriptor());
}

WriteOutcome writeInPlace(const QByteArray &target, const char *data, qint64 size,
                          const struct stat &original, bool keepModificationTime)
{
    PosixFile file = PosixFile::open(target, O_WRONLY);
    if (!file.isOpen())
        return WriteOutcome::Failed;
    bool written = file.writeAll(data, size) && ::ftruncate(file.descriptor(), size) == 0;
    if (written && keepModificationTime)
        keepModificationTimeOf(file.descriptor(), original);
    written = written && ::fsync(file.descriptor()) == 0;
    return file.close() && written ? WriteOutcome::Written : WriteOutcome::Failed;
}

bool mayNotCreateIn(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

} // namespace

WriteOutcome writeFileSafely(const QString &path, const char *data, qint64 size,
                             const FileIdentity &asRead, bool keepModificationTime)
{
    char resolved[PATH_MAX];
    struct stat original {};
    if (!::realpath(nativePath(path).constData(), resolved) || ::stat(resolved, &original) != 0
        || !asRead.matches(original))
        return WriteOutcome::ChangedOnDisk;
    const QByteArray target(resolved);

    if (original.st_nlink > 1)
        return writeInPlace(target, data, size, original, keepModificationTime);

    const QByteArray folder = folderOf(target);
    QByteArray temporaryName = folder + '/' + TemporaryPrefix + "XXXXXX";
    const int fd = ::mkostemp(temporaryName.data(), O_CLOEXEC);
    if (fd < 0) {
        return mayNotCreateIn(errno)
            ? writeInPlace(target, data, size, original, keepModificationTime)
            : WriteOutcome::Failed;
    }
    PosixFile temporary(fd);

    bool ready = temporary.writeAll(data, size);
    if (ready) {
        keepOwnerOf(fd, original);
        ready = ::fchmod(fd, original.st_mode & 07777) == 0
            && copyExtendedAttributes(target, fd);
    }
    if (ready && keepModificationTime)
        keepModificationTimeOf(fd, original);
    ready = ready && ::fsync(fd) == 0;
    ready = temporary.close() && ready;

    // The last look before the rename narrows the window in which another
    // program's change could be lost to the time of one system call.
    struct stat current {};
    const bool unchanged = ::stat(target.constData(), &current) == 0 && asRead.matches(current);
    if (ready && unchanged && ::rename(temporaryName.constData(), target.constData()) == 0) {
        syncFolder(folder);
        return WriteOutcome::Written;
    }
    ::unlink(temporaryName.constData());
    return ready && !unchanged ? WriteOutcome::ChangedOnDisk : WriteOutcome::Failed;
}
