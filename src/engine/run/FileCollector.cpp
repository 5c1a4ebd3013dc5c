#include "engine/run/FileCollector.h"

#include "engine/files/BackupCopy.h"
#include "settings/JobEntries.h"

#include <QCollator>
#include <QLocale>
#include <QSet>
#include <algorithm>
#include <sys/stat.h>

namespace {

const char *const NoFolderMessage =
    "No search folder specified. It is necessary to specify at least one folder in "
    "which the files will be looked for.";
const char *const NoFileTypeMessage =
    "No files specified. It is necessary to specify at least one file type to find & "
    "replace strings in.";

// The wizard's step after the files were collected.
constexpr int FilesCollectedStage = 8;

// What the walk of one folder entry leaves out, from the back-up mode of the
// run options: the back-up subfolders, or the renamed back-up copies. An
// entry flagged "+B" leaves out nothing.
struct BackupSkip {
    QString filePrefix;
    QString folderName;
};

BackupSkip backupSkipFor(const FolderEntry &entry, const RunOptions &options)
{
    BackupSkip skip;
    if (!entry.skipBackups)
        return skip;
    const BackupCopy::Names names = BackupCopy::Names::of(options);
    if (options.backupMode == BackupToSubfolder)
        skip.folderName = names.folder;
    else if (options.backupMode == BackupRename)
        skip.filePrefix = names.prefix;
    return skip;
}

bool rejectEmpty(const TextTable &table, JobPage page, const char *message, RunContext &run)
{
    if (!table.isEmpty())
        return false;
    run.host.showPage(page);
    if (run.state.unattended) {
        run.host.setExitCode(1);
        run.host.logLine(QString::fromLatin1(message));
    } else {
        run.host.showMessage(QString::fromLatin1(message));
    }
    return true;
}

// The real path of a folder entry, or of the folder that holds the file an
// entry names; an unattended run fails on a folder that does not exist,
// naming it (a window run finds no files there).
std::optional<QString> realFolder(const QString &folder, RunContext &run)
{
    const std::optional<FilePlace> place = FilePlace::resolve(folder);
    struct stat info {};
    if (place && ::stat(place->path().constData(), &info) == 0 && S_ISDIR(info.st_mode))
        return pathFromNative(place->path());
    if (place && S_ISREG(info.st_mode))
        return pathFromNative(place->folder);
    if (run.state.unattended) {
        run.host.setExitCode(1);
        run.host.logLine(QStringLiteral("Folder \"%1\" doesn't exist.").arg(folder));
    }
    return std::nullopt;
}

bool isInside(const QByteArray &path, const QStringList &folders)
{
    return std::any_of(folders.begin(), folders.end(), [&](const QString &folder) {
        const QByteArray native = nativePath(folder);
        return native == "/" || path.startsWith(native + '/');
    });
}

// One finding of the walk. A Linux file name may hold a tab, so the path is
// kept apart from the other fields instead of being read back out of a
// tab-separated line, which would name another file.
struct FoundFile {
    WalkedFile file;
    QString coding;
    QString line; // the whole list line, the sort key
};

void collectFolderEntry(const FolderEntry &entry, const Job &job, QList<FoundFile> &found,
                        QSet<QString> &excluded, QSet<QByteArray> &leftoverFolders)
{
    const QString &folder = entry.folder;
    const BackupSkip skip = backupSkipFor(entry, job.options());
    for (const TextTable::Row &row : job.fileTypes().entries()) {
        const FileTypeEntry type = FileTypeEntry::fromRow(row);
        QList<WalkedFile> files;
        SearchFolder(folder, type.mask, files, skip.filePrefix,
                     skip.folderName, entry.depth, &leftoverFolders);
        const QString &coding = type.encodingName;
        for (const WalkedFile &file : std::as_const(files)) {
            const QChar tab = QLatin1Char('\t');
            found.append({file, coding, file.path + tab + file.lastWrite + tab + coding});
        }
    }
    for (const TextTable::Row &row : job.excludedFileTypes().entries()) {
        QList<WalkedFile> files;
        SearchFolder(folder, FileTypeEntry::fromRow(row).mask, files,
                     skip.filePrefix, skip.folderName, entry.depth);
        for (const WalkedFile &file : std::as_const(files))
            excluded.insert(file.path);
    }
}

// Drops the excluded paths, and every finding of a file after its first one,
// whatever name it was found under (the same path again, a symbolic or hard
// link, a folder reached twice through a linked folder): a file listed twice
// would be processed twice, applying its string pairs to text they had
// already changed and backing up the changed file. The first finding
// (earliest folder entry, then earliest file type) keeps its name and coding.
QList<FoundFile> withoutExcludedAndRepeated(const QList<FoundFile> &found,
                                            const QSet<QString> &excluded)
{
    QSet<std::pair<dev_t, ino_t>> seen;
    QList<FoundFile> kept;
    for (const FoundFile &finding : found) {
        const CollectedIdentity &id = finding.file.identity;
        if (!excluded.contains(finding.file.path) && !seen.contains({id.device, id.inode})) {
            seen.insert({id.device, id.inode});
            kept.append(finding);
        }
    }
    return kept;
}

void sortByUserCollation(QList<FoundFile> &files)
{
    QCollator collator(QLocale::system());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(files.begin(), files.end(),
                     [&collator](const FoundFile &a, const FoundFile &b) {
                         return collator.compare(a.line, b.line) < 0;
                     });
}

} // namespace

PathTable *newFileListTable(QObject *parent)
{
    return new PathTable({"File name", "Date/time", "Coding"}, parent);
}

bool CollectFiles(bool showList, PathTable &files, RunContext &run)
{
    files.ClearGrid();
    if (rejectEmpty(run.job.folders(), JobPage::Folders, NoFolderMessage, run)
        || rejectEmpty(run.job.fileTypes(), JobPage::Files, NoFileTypeMessage, run))
        return false;

    run.state.CollectedFiles.clear();
    run.host.setStatus(QStringLiteral("Searching for files..."));
    QList<FoundFile> found;
    QSet<QString> excluded;
    run.state.JobFolders.clear();
    run.state.OutsideLinks.clear();
    run.state.LeftoverFolders.clear();
    for (const TextTable::Row &row : run.job.folders().entries()) {
        const FolderEntry entry = FolderEntry::fromRow(row);
        const QString &folder = entry.folder;
        if (folder.isEmpty())
            continue;
        if (const std::optional<QString> real = realFolder(folder, run)) {
            run.state.JobFolders.append(*real);
            collectFolderEntry(entry, run.job, found, excluded, run.state.LeftoverFolders);
        }
    }
    found = withoutExcludedAndRepeated(found, excluded);
    // A link that leads outside every job folder is left alone, as sed -i
    // and the like leave links: the job names folders, not what their
    // links reach.
    found.removeIf([&](const FoundFile &finding) {
        const CollectedIdentity &id = finding.file.identity;
        if (!id.symbolicLink || isInside(id.target.path(), run.state.JobFolders))
            return false;
        run.state.OutsideLinks.append(finding.file.path);
        run.host.logLine(QStringLiteral("File %1 is a link that leads outside the job's folders; "
                                        "it was left alone.")
                             .arg(finding.file.path));
        return true;
    });
    run.host.setStatus(QString());

    if (found.isEmpty()) {
        run.host.ShowStickyMessage(QStringLiteral("No files found."));
        return false;
    }

    sortByUserCollation(found);
    QList<PathTable::Row> rows;
    rows.reserve(found.size());
    for (const FoundFile &finding : std::as_const(found)) {
        rows.append({finding.file.path, finding.file.lastWrite, finding.coding});
        run.state.CollectedFiles.insert(finding.file.path, finding.file.identity);
    }
    files.resetRows(rows);
    run.host.wizardStage(FilesCollectedStage);
    const bool go = showList ? run.host.showFileList(files) : true;
    run.host.pump();
    return go;
}

QString TabField(const QString &line, int n)
{
    return n < 0 ? QString() : line.section(QLatin1Char('\t'), n, n);
}

void FillGridFromList(const QStringList &list, PathTable &grid)
{
    QList<PathTable::Row> rows;
    rows.reserve(list.size());
    for (const QString &line : list)
        rows.append(line.split(QLatin1Char('\t')));
    grid.resetRows(rows);
}
