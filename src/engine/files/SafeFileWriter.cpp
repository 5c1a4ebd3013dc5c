#include "engine/files/SafeFileWriter.h"

#include "engine/files/InPlaceWrite.h"
#include "engine/files/PendingName.h"
#include "engine/files/PosixFile.h"

#include <QRandomGenerator>

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

bool mayNotCreateIn(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

// The file that receives the new content. Where the file system allows, it
// has no name until just before the rename (O_TMPFILE), so a process killed
// while writing it leaves nothing behind; elsewhere it is a named hidden file
// that the failure paths remove.
class NewContent
{
public:
    // False with errno set when no file can be created in `folder`.
    bool create(const QByteArray &folder)
    {
        m_folder = folder;
        const int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) {
            m_file = PosixFile(fd);
            return true;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return false;
        m_name = folder + '/' + TemporaryPrefix + "XXXXXX";
        m_file = PosixFile(::mkostemp(m_name.data(), O_CLOEXEC));
        if (!m_file.isOpen())
            m_name.clear();
        else
            guardName();
        return m_file.isOpen();
    }

    PosixFile &file() { return m_file; }

    // Gives an unnamed file its name in the folder; a named one has it.
    bool name()
    {
        if (!m_name.isEmpty())
            return true;
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_file.descriptor());
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_name = m_folder + '/' + TemporaryPrefix
                + QByteArray::number(QRandomGenerator::global()->generate(), 36);
            // Armed before the link: a kill during the link itself ends the
            // process as the call returns.
            guardName();
            // Through /proc any user may link the file; AT_EMPTY_PATH needs
            // a privilege, but works where /proc is missing.
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, m_name.constData(),
                         AT_SYMLINK_FOLLOW)
                    == 0
                || (errno != EEXIST
                    && ::linkat(m_file.descriptor(), "", AT_FDCWD, m_name.constData(),
                                AT_EMPTY_PATH)
                        == 0))
                return true;
            const int error = errno;
            m_guard.disarm();
            m_name.clear();
            if (error != EEXIST)
                return false;
        }
        return false;
    }

    const QByteArray &path() const { return m_name; }

    void remove()
    {
        if (!m_name.isEmpty())
            ::unlink(m_name.constData());
        m_guard.disarm();
    }

    // The name is gone by a rename.
    void renamed() { m_guard.disarm(); }

private:
    // Should the process die while the name exists, a watcher removes it;
    // it checks it is still this file.
    void guardName()
    {
        struct stat info {};
        if (::fstat(m_file.descriptor(), &info) == 0)
            m_guard.arm(m_name, info.st_dev, info.st_ino);
    }

    QByteArray m_folder;
    QByteArray m_name;
    PosixFile m_file;
    PendingName m_guard;
};

} // namespace

WriteOutcome writeFileSafely(const QString &path, const char *data, qint64 size,
                             const FileIdentity &asRead, bool keepModificationTime,
                             QString *keptCopy, QByteArray *folderToSync,
                             const BeforeReplace &beforeReplace)
{
    QByteArray target = nativePath(path);
    struct stat original {};
    if (::lstat(target.constData(), &original) != 0)
        return WriteOutcome::ChangedOnDisk;
    // A link is resolved, and a relative path made whole; a linked folder on
    // the way leads to the same folder, where the temporary file and the
    // rename work alike.
    if (S_ISLNK(original.st_mode) || !target.startsWith('/')) {
        char resolved[PATH_MAX];
        if (!::realpath(target.constData(), resolved) || ::stat(resolved, &original) != 0)
            return WriteOutcome::ChangedOnDisk;
        target = resolved;
    }
    if (!asRead.matches(original))
        return WriteOutcome::ChangedOnDisk;

    if (original.st_nlink > 1)
        return writeInPlace(target, data, size, original, keepModificationTime, keptCopy,
                            beforeReplace);

    const QByteArray folder = folderOf(target);
    NewContent temporary;
    if (!temporary.create(folder)) {
        return mayNotCreateIn(errno)
            ? writeInPlace(target, data, size, original, keepModificationTime, keptCopy,
                            beforeReplace)
            : WriteOutcome::Failed;
    }
    const int fd = temporary.file().descriptor();

    bool ready = temporary.file().writeAll(data, size);
    if (ready) {
        keepOwnerOf(fd, original);
        ready = ::fchmod(fd, original.st_mode & 07777) == 0
            && copyExtendedAttributes(target, fd);
    }
    if (ready && keepModificationTime)
        keepModificationTimeOf(fd, original);
    bool written = ready && ::fsync(fd) == 0;

    // The last look before the rename narrows the window in which another
    // program's change could be lost to the time of a few system calls. The
    // unnamed file gets its name only then, so that a kill leaves a named
    // temporary file only between the link and the rename.
    struct stat current {};
    const bool unchanged = ::stat(target.constData(), &current) == 0 && asRead.matches(current);
    // The rename keeps the new file's inode, size and modification time.
    if (written && unchanged && beforeReplace) {
        struct stat replacement {};
        written = ::fstat(fd, &replacement) == 0;
        if (written)
            beforeReplace(FileIdentity::of(replacement));
    }
    if (written && unchanged && temporary.name()
        && ::rename(temporary.path().constData(), target.constData()) == 0) {
        temporary.renamed();
        temporary.file().close();
        if (folderToSync)
            *folderToSync = folder;
        else
            syncFolder(folder);
        return WriteOutcome::Written;
    }
    temporary.remove();
    return written && !unchanged ? WriteOutcome::ChangedOnDisk : WriteOutcome::Failed;
}

void syncFolder(const QByteArray &folder)
{
    PosixFile handle = PosixFile::open(folder, O_RDONLY | O_DIRECTORY);
    if (handle.isOpen())
        ::fsync(handle.descriptor());
}
