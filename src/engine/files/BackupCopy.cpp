#include "engine/files/BackupCopy.h"

#include "engine/files/PathHelpers.h"
#include "engine/files/PosixFile.h"
#include "engine/files/SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace BackupCopy {

namespace {

// Without the ASCII blanks and line breaks at either end, as back-up names
// were always read; a no-break space belongs to the name.
QString trimmedName(const QString &name)
{
    const auto blank = [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && blank(name[begin]))
        ++begin;
    while (end > begin && blank(name[end - 1]))
        --end;
    return name.mid(begin, end - begin);
}

} // namespace

Names Names::of(const RunOptions &options)
{
    return {trimmedName(options.backupFolder), trimmedName(options.backupPrefix),
            trimmedName(options.backupSuffix)};
}

namespace {

// Appends ZeroPad(1, 3), ZeroPad(2, 3) ... to `base` while `taken` says so.
template <class Taken>
QString firstFreeName(const QString &base, Taken taken)
{
    QString candidate = base;
    for (qint64 counter = 1; taken(candidate); ++counter)
        candidate = base + ZeroPad(counter, 3);
    return candidate;
}

bool exists(int folder, const QString &name)
{
    struct stat info {};
    return ::fstatat(folder, nativePath(name).constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

// Creates the subfolder `name`; when root creates it in another user's
// folder, it gets that folder's owner and group.
void makeSubfolder(int folder, const QString &name)
{
    const QByteArray native = nativePath(name);
    if (::mkdirat(folder, native.constData(), 0777) != 0 || ::geteuid() != 0)
        return;
    struct stat parent {};
    if (::fstat(folder, &parent) == 0 && (parent.st_uid != 0 || parent.st_gid != 0))
        ::fchownat(folder, native.constData(), parent.st_uid, parent.st_gid,
                   AT_SYMLINK_NOFOLLOW);
}

} // namespace

QString chooseSubfolder(int folder, const QString &fileFolder, const QString &folderName,
                        QStringList &chosenFolders)
{
    const QString base = WithoutTrailingBackslash(WithTrailingBackslash(fileFolder) + folderName);
    const qsizetype nameStart = base.size() - folderName.size();
    const QString candidate = firstFreeName(base, [&](const QString &path) {
        struct stat info {};
        return ::fstatat(folder, nativePath(path.mid(nameStart)).constData(), &info,
                         AT_SYMLINK_NOFOLLOW)
            == 0
            && S_ISDIR(info.st_mode) && !chosenFolders.contains(path);
    });
    makeSubfolder(folder, candidate.mid(nameStart));
    if (!chosenFolders.contains(candidate))
        chosenFolders.append(candidate);
    return candidate;
}

QString renamedCopyName(int folder, const QString &fileName, const QString &prefix,
                        const QString &suffix)
{
    // A dangling symbolic link still takes the name.
    return firstFreeName(prefix + fileName + suffix,
                         [folder](const QString &name) { return exists(folder, name); });
}

bool copyFile(const HeldFile &source, int destination, const QString &name)
{
    struct stat info {};
    if (!source.isOpen() || ::fstat(source.descriptor(), &info) != 0
        || ::lseek(source.descriptor(), 0, SEEK_SET) != 0)
        return false;
    const QByteArray target = nativePath(name);
    PosixFile to(::openat(destination, target.constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR));
    if (!to.isOpen())
        return false;
    PosixFile from(::dup(source.descriptor()));
    const timespec times[2] = {info.st_atim, info.st_mtim};
    struct stat copy {};
    const bool copied = from.isOpen() && copyContent(from, to)
        && ::fstat(to.descriptor(), &copy) == 0
        && ::fchmod(to.descriptor(), keepOwnerOf(to.descriptor(), info, copy, info.st_mode & 07777))
            == 0
        && ::futimens(to.descriptor(), times) == 0;
    if (to.close() && copied)
        return true;
    ::unlinkat(destination, target.constData(), 0);
    return false;
}

} // namespace BackupCopy
