#include "engine/files/HeldFile.h"

#include <QList>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

FileIdentity FileIdentity::of(const struct stat &info)
{
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

bool FileIdentity::matches(const struct stat &info) const
{
    return info.st_dev == device && info.st_ino == inode && info.st_size == size
        && info.st_mtim.tv_sec == modified.tv_sec && info.st_mtim.tv_nsec == modified.tv_nsec;
}

QByteArray FilePlace::path() const
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

FilePlace FilePlace::ofRealPath(const QByteArray &realPath)
{
    const qsizetype slash = realPath.lastIndexOf('/');
    return {realPath.left(qMax(qsizetype(1), slash)), realPath.mid(slash + 1)};
}

std::optional<FilePlace> FilePlace::resolve(const QString &path)
{
    char resolved[PATH_MAX];
    if (!::realpath(nativePath(path).constData(), resolved))
        return std::nullopt;
    return ofRealPath(resolved);
}

namespace {

int openat2NoLinks(const QByteArray &path)
{
#ifdef SYS_openat2
    open_how how{};
    how.flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    int fd;
    do {
        fd = int(::syscall(SYS_openat2, AT_FDCWD, path.constData(), &how, sizeof how));
    } while (fd < 0 && errno == EINTR);
    return fd;
#else
    errno = ENOSYS;
    return -1;
#endif
}

int openByComponents(const QByteArray &path)
{
    int fd = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const QByteArray &part : path.split('/')) {
        if (fd < 0 || part.isEmpty())
            continue;
        const int next =
            ::openat(fd, part.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        ::close(fd);
        fd = next;
        errno = error;
    }
    return fd;
}

} // namespace

PosixFile openFolderWithoutLinks(const QByteArray &realPath)
{
    if (!realPath.startsWith('/')) {
        errno = EINVAL;
        return PosixFile();
    }
    int fd = openat2NoLinks(realPath);
    if (fd < 0 && (errno == ENOSYS || errno == EPERM))
        fd = openByComponents(realPath);
    return PosixFile(fd);
}

bool pathWasSwapped(int error)
{
    return error == ELOOP || error == ENOTDIR || error == EXDEV;
}

HeldFile HeldFile::open(const FilePlace &place)
{
    HeldFile held;
    held.m_place = place;
    held.m_folder = openFolderWithoutLinks(place.folder);
    if (held.m_folder.isOpen()) {
        int fd;
        do {
            fd = ::openat(held.folder(), place.name.constData(),
                          O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        } while (fd < 0 && errno == EINTR);
        held.m_file = PosixFile(fd);
    }
    held.m_swapped = !held.isOpen() && pathWasSwapped(errno);
    return held;
}

bool HeldFile::stillIs(const FileIdentity &identity) const
{
    struct stat named {};
    struct stat held {};
    return ::fstatat(folder(), m_place.name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0
        && ::fstat(descriptor(), &held) == 0 && identity.matches(named)
        && identity.matches(held);
}
