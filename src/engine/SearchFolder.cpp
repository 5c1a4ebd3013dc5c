#include "engine/FileCollector.h"
#include "engine/FileMask.h"
#include "engine/LastWriteText.h"
#include "settings/JobEntries.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {

struct WalkRules {
    FileMask mask;
    QString skipPrefix;
    QString skipFolderName;
    int depth;
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

// `dir` ends with "/". Lists the matching files of `dir`, then walks its
// subfolders one level deeper. Symbolic links to folders are never entered,
// so the walk cannot run round a link loop; a link to a file is collected
// like the file it names.
void walk(const QString &dir, int level, const WalkRules &rules, QStringList &target)
{
    QStringList subfolders;
    QDirIterator entries(dir, QDir::AllEntries | QDir::Hidden | QDir::System
                                  | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo info = entries.fileInfo();
        const QString name = info.fileName();
        if (isHidden(name))
            continue;
        if (info.isFile()) {
            if (rules.mask.matches(name) && !beginsWith(name, rules.skipPrefix))
                target.append(dir + name + QLatin1Char('\t') + lastWriteText(info.lastModified()));
        } else if (info.isDir() && !info.isSymLink()) {
            subfolders.append(name);
        }
    }

    const bool deeper = rules.depth == FolderEntry::Unlimited || level < rules.depth;
    if (!deeper)
        return;
    for (const QString &name : std::as_const(subfolders)) {
        if (!beginsWith(name, rules.skipFolderName))
            walk(dir + name + QLatin1Char('/'), level + 1, rules, target);
    }
}

} // namespace

void SearchFolder(const QString &folder, const QString &mask, QStringList &target,
                  const QString &skipPrefix, const QString &skipFolderName, int depth)
{
    if (folder.isEmpty())
        return;
    const QFileInfo entry(QDir::cleanPath(QDir::current().absoluteFilePath(folder)));
    if (!entry.isDir() || !entry.isExecutable())
        return;
    QString dir = entry.filePath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    walk(dir, 0, WalkRules{FileMask(mask), skipPrefix, skipFolderName, depth}, target);
}
