#include "engine/files/Leftovers.h"

#include "engine/files/HeldFile.h"
#include "engine/files/InPlaceWrite.h"
#include "engine/files/SafeFileWriter.h"

#include <QList>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool processIsGone(pid_t process)
{
    return process > 0 && ::kill(process, 0) != 0 && errno == ESRCH;
}

// The process id in ".svx-<id>-..."; 0 when the name holds none.
pid_t temporaryOwner(const QByteArray &name)
{
    const QList<QByteArray> fields = name.split('-');
    bool ok = false;
    const pid_t process = fields.size() >= 3 ? pid_t(fields[1].toInt(&ok)) : 0;
    return ok ? process : 0;
}

bool sameContent(int a, int b, off_t size)
{
    constexpr size_t Block = 1 << 20;
    QByteArray left(Block, Qt::Uninitialized);
    QByteArray right(Block, Qt::Uninitialized);
    for (off_t at = 0; at < size;) {
        const size_t want = size_t(qMin<off_t>(Block, size - at));
        if (::pread(a, left.data(), want, at) != ssize_t(want)
            || ::pread(b, right.data(), want, at) != ssize_t(want)
            || std::memcmp(left.constData(), right.constData(), want) != 0)
            return false;
        at += off_t(want);
    }
    return true;
}

// The name in `folder` of the file with `inode`; empty when there is none.
QByteArray nameOfInode(int folder, ino_t inode)
{
    DIR *const handle = ::fdopendir(::dup(folder));
    if (!handle)
        return {};
    ::rewinddir(handle);
    QByteArray found;
    while (const dirent *entry = ::readdir(handle)) {
        struct stat info {};
        if (entry->d_ino == inode
            && ::fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0
            && info.st_ino == inode && S_ISREG(info.st_mode)) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(handle);
    return found;
}

// Puts the kept copy's content back into its file unless that file was
// wholly written; true when it was put back. The copy goes once it is no
// longer needed.
bool mendKeptCopy(int folder, const QByteArray &copyName, const KeptCopyName &kept)
{
    PosixFile copy(::openat(folder, copyName.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat copyInfo {};
    if (!copy.isOpen() || ::fstat(copy.descriptor(), &copyInfo) != 0 || !S_ISREG(copyInfo.st_mode))
        return false;
    const QByteArray name = nameOfInode(folder, kept.inode);
    PosixFile file(name.isEmpty() ? -1
                                  : ::openat(folder, name.constData(),
                                             O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.isOpen() || ::fstat(file.descriptor(), &info) != 0 || info.st_ino != kept.inode)
        return false; // the file is gone: the copy is all that is left of it
    FileIdentity written = kept.written;
    written.device = info.st_dev;
    written.inode = info.st_ino;
    const bool whole = written.matches(info)
        || (info.st_size == copyInfo.st_size
            && sameContent(file.descriptor(), copy.descriptor(), info.st_size));
    bool putBack = false;
    if (!whole) {
        // The copy carries the original's modification time.
        const timespec times[2] = {{0, UTIME_OMIT}, copyInfo.st_mtim};
        putBack = copyContent(copy, file)
            && ::ftruncate(file.descriptor(), copyInfo.st_size) == 0
            && ::futimens(file.descriptor(), times) == 0 && ::fsync(file.descriptor()) == 0;
        if (!putBack)
            return false;
    }
    ::unlinkat(folder, copyName.constData(), 0);
    return putBack;
}

} // namespace

bool isLeftoverName(const char *name)
{
    return std::strncmp(name, ".svx-", 5) == 0;
}

QStringList MendLeftovers(const QByteArray &folderPath)
{
    QStringList mended;
    PosixFile folder = openFolderWithoutLinks(folderPath);
    DIR *const handle = folder.isOpen() ? ::fdopendir(::dup(folder.descriptor())) : nullptr;
    if (!handle)
        return mended;
    QList<QByteArray> names;
    while (const dirent *entry = ::readdir(handle)) {
        if (isLeftoverName(entry->d_name))
            names.append(entry->d_name);
    }
    ::closedir(handle);
    for (const QByteArray &name : std::as_const(names)) {
        if (const std::optional<KeptCopyName> kept = KeptCopyName::parse(name)) {
            if (processIsGone(kept->process) && mendKeptCopy(folder.descriptor(), name, *kept))
                mended.append(pathFromNative(
                    folderPath + '/' + nameOfInode(folder.descriptor(), kept->inode)));
        } else if (processIsGone(temporaryOwner(name))) {
            ::unlinkat(folder.descriptor(), name.constData(), 0);
        }
    }
    return mended;
}
