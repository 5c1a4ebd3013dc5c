#include "engine/files/BackupCopy.h"

#include "engine/files/PathHelpers.h"
#include "engine/files/PosixFile.h"
#include "engine/text/CodePage.h"

#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace BackupCopy {

Names Names::of(const RunOptions &options)
{
    return {CodePage::toQString(options.backupFolder.trimmed()),
            CodePage::toQString(options.backupPrefix.trimmed()),
            CodePage::toQString(options.backupSuffix.trimmed())};
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

// Creates `folder` with any missing parents; a failure shows up later, when
// the copy into it fails.
void makeFolderPath(const QString &folder)
{
    const QByteArray path = nativePath(folder);
    for (qsizetype at = 1; at <= path.size(); ++at) {
        if (at == path.size() || path.at(at) == '/')
            ::mkdir(path.left(at).constData(), 0777);
    }
}

} // namespace

QString chooseSubfolder(const QString &fileFolder, const QString &folderName,
                        QStringList &chosenFolders)
{
    const QString base = WithoutTrailingBackslash(WithTrailingBackslash(fileFolder) + folderName);
    const QString candidate = firstFreeName(base, [&](const QString &name) {
        struct stat info {};
        return ::stat(nativePath(name).constData(), &info) == 0 && S_ISDIR(info.st_mode)
            && !chosenFolders.contains(name);
    });
    makeFolderPath(candidate);
    if (!chosenFolders.contains(candidate))
        chosenFolders.append(candidate);
    return candidate;
}

QString renamedCopyPath(const QString &filePath, const QString &prefix, const QString &suffix)
{
    const QFileInfo file(filePath);
    const QString base = WithTrailingBackslash(file.path()) + prefix + file.fileName() + suffix;
    // A dangling symbolic link still takes the name.
    return firstFreeName(base, [](const QString &name) {
        struct stat info {};
        return ::lstat(nativePath(name).constData(), &info) == 0;
    });
}

bool copyFile(const QString &source, const QString &destination)
{
    PosixFile from = PosixFile::open(nativePath(source), O_RDONLY);
    struct stat info {};
    if (!from.isOpen() || ::fstat(from.descriptor(), &info) != 0)
        return false;
    const QByteArray target = nativePath(destination);
    PosixFile to = PosixFile::open(target, O_WRONLY | O_CREAT | O_EXCL, S_IRUSR | S_IWUSR);
    if (!to.isOpen())
        return false;
    const timespec times[2] = {info.st_atim, info.st_mtim};
    const bool copied = copyContent(from, to)
        && ::fchmod(to.descriptor(), info.st_mode & 07777) == 0
        && ::futimens(to.descriptor(), times) == 0;
    if (to.close() && copied)
        return true;
    ::unlink(target.constData());
    return false;
}

} // namespace BackupCopy
