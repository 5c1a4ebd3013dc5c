#include "engine/files/FileMask.h"
#include "engine/files/Leftovers.h"
#include "engine/files/PosixFile.h"
#include "engine/files/SearchFolder.h"
#include "engine/text/LastWriteText.h"
#include "settings/JobEntries.h"

#include <QDir>
#include <QFileInfo>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

struct WalkRules {
    FileMask mask;
    QString skipPrefix;
    QString skipFolderName;
    int depth;
    QSet<QByteArray> *leftoverFolders;
};

// "." and ".." are not listed; every other name beginning with "." is hidden:
// never collected and never entered. This also keeps the file writer's
// leftover temporary files (".svx-...") out of every list.
bool isHidden(const QString &name)
{
    return name.startsWith(QLatin1Char('.'));
}

bool beginsWith(const QString &name, const QString &prefix)
{
    return !prefix.isEmpty() && name.startsWith(prefix, Qt::CaseSensitive);
}

// In UTC: a time in local time would be worked out through the C library,
// which looks at the zone file each time; the list's text converts it.
QDateTime lastModified(const struct stat &info)
{
    return QDateTime::fromMSecsSinceEpoch(
        qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000, Qt::UTC);
}

// `dir` ends with "/"; `realDir` is its real path. Lists the matching files
// of `dir`, then walks its subfolders one level deeper. Each folder is opened
// by its real path without following any link, so a folder swapped for a
// link during the walk is not entered; symbolic links to folders are never
// entered either, so the walk cannot run round a link loop. A link to a file
// is collected like the file it names, with its target's real place. The
// folder is read with the system calls rather than Qt's iterator, which
// leaves out names that are not valid UTF-8.
void walk(const QString &dir, const QByteArray &realDir, int level, const WalkRules &rules,
          QList<WalkedFile> &target)
{
    const QByteArray folderPath = realDir.isEmpty() ? QByteArray("/") : realDir;
    PosixFile folder = openFolderWithoutLinks(folderPath);
    DIR *const handle = folder.isOpen() ? ::fdopendir(folder.descriptor()) : nullptr;
    if (!handle)
        return;
    (void)folder.release();
    const bool deeper = rules.depth == FolderEntry::Unlimited || level < rules.depth;
    QList<std::pair<QString, QByteArray>> subfolders;
    while (const dirent *entry = ::readdir(handle)) {
        const QString name = pathFromNative(entry->d_name);
        if (isHidden(name)) {
            if (rules.leftoverFolders && isLeftoverName(entry->d_name))
                rules.leftoverFolders->insert(folderPath);
            continue;
        }
        // The entry's type, where the file system gives it, spares a look at
        // folders and at files the masks leave out; a link is looked at
        // twice, itself and its target.
        if (entry->d_type == DT_DIR && !deeper)
            continue;
        const bool wanted = entry->d_type != DT_DIR && rules.mask.matches(name)
            && !beginsWith(name, rules.skipPrefix);
        if (entry->d_type == DT_REG && !wanted)
            continue;
        struct stat link {};
        struct stat info {};
        if (entry->d_type == DT_DIR) {
            link.st_mode = info.st_mode = S_IFDIR;
        } else {
            if (::fstatat(::dirfd(handle), entry->d_name, &link, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            info = link;
            if (S_ISLNK(link.st_mode) && ::fstatat(::dirfd(handle), entry->d_name, &info, 0) != 0)
                continue;
        }
        const QByteArray realPath = realDir + '/' + entry->d_name;
        if (S_ISREG(info.st_mode)) {
            if (!wanted)
                continue;
            const bool symbolic = S_ISLNK(link.st_mode);
            FilePlace place = FilePlace::ofRealPath(realPath);
            if (symbolic) {
                const auto resolved = FilePlace::resolve(pathFromNative(realPath));
                if (!resolved)
                    continue;
                place = *resolved;
            }
            target.append({dir + name, lastWriteText(lastModified(info)),
                           {info.st_dev, info.st_ino, symbolic, info.st_size, place, folderPath}});
        } else if (S_ISDIR(info.st_mode) && !S_ISLNK(link.st_mode)) {
            subfolders.append({name, realPath});
        }
    }
    ::closedir(handle);

    if (!deeper)
        return;
    for (const auto &[name, realPath] : std::as_const(subfolders)) {
        if (!beginsWith(name, rules.skipFolderName))
            walk(dir + name + QLatin1Char('/'), realPath, level + 1, rules, target);
    }
}

// A folder entry that names a file: the file is taken when its name matches
// the mask, hidden or not; the user named it.
void searchFile(const QString &path, const FileMask &mask, QList<WalkedFile> &target)
{
    const QFileInfo file(path);
    const QByteArray native = nativePath(path);
    struct stat link {};
    struct stat info {};
    if (!mask.matches(file.fileName()) || ::lstat(native.constData(), &link) != 0
        || ::stat(native.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return;
    const std::optional<FilePlace> place = FilePlace::resolve(path);
    const std::optional<FilePlace> folder = FilePlace::resolve(file.path());
    if (!place || !folder)
        return;
    target.append({path, lastWriteText(lastModified(info)),
                   {info.st_dev, info.st_ino, S_ISLNK(link.st_mode), info.st_size, *place,
                    folder->path()}});
}

} // namespace

void SearchFolder(const QString &folder, const QString &mask, QList<WalkedFile> &target,
                  const QString &skipPrefix, const QString &skipFolderName, int depth,
                  QSet<QByteArray> *leftoverFolders)
{
    if (folder.isEmpty())
        return;
    const QFileInfo entry(QDir::cleanPath(QDir::current().absoluteFilePath(folder)));
    if (entry.isFile()) {
        searchFile(entry.filePath(), FileMask(mask), target);
        return;
    }
    if (!entry.isDir() || !entry.isExecutable())
        return;
    const std::optional<FilePlace> real = FilePlace::resolve(entry.filePath());
    if (!real)
        return;
    QString dir = entry.filePath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    walk(dir, real->path() == "/" ? QByteArray() : real->path(), 0,
         WalkRules{FileMask(mask), skipPrefix, skipFolderName, depth, leftoverFolders}, target);
}
