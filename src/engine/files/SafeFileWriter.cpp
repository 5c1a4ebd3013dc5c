#include "engine/files/SafeFileWriter.h"

#include "engine/files/InPlaceWrite.h"
#include "engine/files/PendingName.h"
#include "engine/files/PosixFile.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {

void setModificationTime(int fd, const timespec &modified)
{
    const timespec times[2] = {{0, UTIME_OMIT}, modified};
    ::futimens(fd, times);
}

// Extended attributes a file system or the process's rights cannot carry are
// left behind, as a copy by hand would; other failures are real ones.
bool ignorableAttributeError(int error)
{
    return error == ENOTSUP || error == EOPNOTSUPP || error == EPERM || error == EACCES
        || error == ENODATA || error == EINVAL;
}

std::vector<char> attributeNames(int from)
{
    const ssize_t length = ::flistxattr(from, nullptr, 0);
    if (length <= 0)
        return {};
    std::vector<char> names(static_cast<size_t>(length));
    const ssize_t got = ::flistxattr(from, names.data(), names.size());
    names.resize(got > 0 ? size_t(got) : 0);
    return names;
}

bool copyExtendedAttributes(int from, int to)
{
    const std::vector<char> names = attributeNames(from);
    for (size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
        const char *name = names.data() + at;
        const ssize_t length = ::fgetxattr(from, name, nullptr, 0);
        if (length < 0)
            continue;
        std::vector<char> value(static_cast<size_t>(length));
        const ssize_t got = ::fgetxattr(from, name, value.data(), value.size());
        if (got < 0)
            continue;
        if (::fsetxattr(to, name, value.data(), size_t(got), 0) != 0
            && !ignorableAttributeError(errno))
            return false;
    }
    return true;
}

bool mayNotCreateIn(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

// The file that receives the new content. Where the file system allows, it
// has no name until just before the rename (O_TMPFILE), so a process killed
// while writing it leaves nothing behind; elsewhere it is a named hidden file
// that the failure paths remove. Every name is made in the held folder.
class NewContent
{
public:
    // False with errno set when no file can be created in the folder. An
    // unnamed file, which nobody else can open, is made with `mode` at once
    // (the umask permitting); a named one with the owner's rights only.
    bool create(int folder, const QByteArray &folderPath, mode_t mode)
    {
        m_folder = folder;
        m_folderPath = folderPath;
        const int fd = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode & 0777);
        if (fd >= 0) {
            m_file = PosixFile(fd);
            return true;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return false;
        for (int attempt = 0; attempt < 100 && !m_file.isOpen(); ++attempt) {
            m_name = randomName();
            m_file = PosixFile(::openat(folder, m_name.constData(),
                                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                        0600));
            if (!m_file.isOpen() && errno != EEXIST)
                break;
        }
        if (!m_file.isOpen())
            m_name.clear();
        else if (lookAt())
            guardName();
        return m_file.isOpen();
    }

    // Reads the file's status into info().
    bool lookAt() { return ::fstat(m_file.descriptor(), &m_info) == 0; }
    const struct stat &info() const { return m_info; }

    PosixFile &file() { return m_file; }

    // Gives an unnamed file its name in the folder; a named one has it.
    bool name()
    {
        if (!m_name.isEmpty())
            return true;
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_file.descriptor());
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_name = randomName();
            // Armed before the link: a kill during the link itself ends the
            // process as the call returns.
            guardName();
            // Through /proc any user may link the file; AT_EMPTY_PATH needs
            // a privilege, but works where /proc is missing.
            if (::linkat(AT_FDCWD, self.constData(), m_folder, m_name.constData(),
                         AT_SYMLINK_FOLLOW)
                    == 0
                || (errno != EEXIST
                    && ::linkat(m_file.descriptor(), "", m_folder, m_name.constData(),
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

    // Renames the named file over `target` in the same folder.
    bool renameOver(const QByteArray &target)
    {
        if (::renameat(m_folder, m_name.constData(), m_folder, target.constData()) != 0)
            return false;
        m_guard.disarm();
        return true;
    }

    void remove()
    {
        if (!m_name.isEmpty())
            ::unlinkat(m_folder, m_name.constData(), 0);
        m_guard.disarm();
    }

private:
    static QByteArray randomName()
    {
        return temporaryPrefix() + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    }

    // Should the process die while the name exists, a watcher removes it;
    // it checks it is still this file. A watcher killed too leaves the name,
    // which holds this process's id, for a later run to remove.
    void guardName() { m_guard.arm(m_folderPath + '/' + m_name, m_info.st_dev, m_info.st_ino); }

    int m_folder = -1;
    QByteArray m_folderPath;
    QByteArray m_name;
    PosixFile m_file;
    struct stat m_info {};
    PendingName m_guard;
};

} // namespace

QByteArray temporaryPrefix()
{
    return ".svx-" + QByteArray::number(::getpid()) + '-';
}

mode_t keepOwnerOf(int fd, const struct stat &original, const struct stat &current, mode_t mode)
{
    const bool sameOwner = current.st_uid == original.st_uid;
    if ((sameOwner && current.st_gid == original.st_gid)
        || ::fchown(fd, original.st_uid, original.st_gid) == 0)
        return mode;
    // The group alone may still be given; the owner stays the process's.
    if (::fchown(fd, uid_t(-1), original.st_gid) == 0 && sameOwner)
        return mode;
    return mode & ~mode_t(S_ISUID | S_ISGID | S_ISVTX);
}

WriteOutcome writeFileSafely(const HeldFile &target, const char *data, qint64 size,
                             const FileIdentity &asRead, const WriteOptions &options)
{
    // The name is looked at only before the rename: the held file must still
    // be the one read.
    struct stat original {};
    if (!target.isOpen() || ::fstat(target.descriptor(), &original) != 0
        || !asRead.matches(original))
        return WriteOutcome::ChangedOnDisk;

    if (original.st_nlink > 1)
        return writeInPlace(target, data, size, asRead, options);

    const mode_t wanted = options.mode.value_or(original.st_mode) & 07777;
    NewContent temporary;
    if (!temporary.create(target.folder(), target.place().folder, wanted)) {
        return mayNotCreateIn(errno) ? writeInPlace(target, data, size, asRead, options)
                                     : WriteOutcome::Failed;
    }
    const int fd = temporary.file().descriptor();

    bool ready = temporary.file().writeAll(data, size);
    if (ready && options.keepModificationTime)
        setModificationTime(fd, original.st_mtim);
    else if (ready && options.modified)
        setModificationTime(fd, *options.modified);
    // One look serves the owner, the mode and the identity the file will
    // have: nothing after it changes the modification time. Owner, mode and
    // attributes are set only where they differ.
    ready = ready && temporary.lookAt();
    if (ready) {
        const struct stat &info = temporary.info();
        const mode_t mode = keepOwnerOf(fd, original, info, wanted);
        ready = ((info.st_mode & 07777) == mode || ::fchmod(fd, mode) == 0)
            && copyExtendedAttributes(target.descriptor(), fd);
    }
    // The data and the size are flushed; the link and the folder's flush
    // make the rest of the new file's metadata last.
    bool written = ready && ::fdatasync(fd) == 0;

    // The last look before the rename narrows the window in which another
    // program's change could be lost to the time of a few system calls. The
    // unnamed file gets its name only then, so that a kill leaves a named
    // temporary file only between the link and the rename.
    const bool unchanged = target.stillIs(asRead);
    // The rename keeps the new file's inode, size and modification time.
    if (written && unchanged && options.beforeReplace)
        options.beforeReplace(FileIdentity::of(temporary.info()));
    if (written && unchanged && temporary.name() && temporary.renameOver(target.place().name)) {
        temporary.file().close();
        if (options.folderToSync)
            *options.folderToSync = target.place().folder;
        else
            ::fsync(target.folder());
        return WriteOutcome::Written;
    }
    temporary.remove();
    return written && !unchanged ? WriteOutcome::ChangedOnDisk : WriteOutcome::Failed;
}

WriteOutcome writeFileSafely(const QString &path, const char *data, qint64 size,
                             const FileIdentity &asRead, bool keepModificationTime,
                             QString *keptCopy, QByteArray *folderToSync,
                             const BeforeReplace &beforeReplace)
{
    const std::optional<FilePlace> place = FilePlace::resolve(path);
    if (!place)
        return WriteOutcome::ChangedOnDisk;
    const HeldFile target = HeldFile::open(*place);
    return writeFileSafely(target, data, size, asRead,
                           {keepModificationTime, std::nullopt, std::nullopt, keptCopy,
                            folderToSync, beforeReplace});
}

void syncFolder(const QByteArray &folder)
{
    PosixFile handle = PosixFile::open(folder, O_RDONLY | O_DIRECTORY);
    if (handle.isOpen())
        ::fsync(handle.descriptor());
}
