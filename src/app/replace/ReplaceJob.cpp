#include "app/replace/ReplaceJob.h"

#include "app/replace/ReplaceArguments.h"
#include "settings/CellText.h"
#include "settings/FileEncoding.h"
#include "settings/Job.h"
#include "settings/PairOptions.h"

#include <QFileInfo>

namespace {

QString depthText(int depth)
{
    switch (depth) {
    case 0:
        return DepthNone;
    case 1:
        return DepthFirstLevel;
    default:
        return DepthAllLevels;
    }
}

} // namespace

void BuildReplaceJob(const ReplaceRequest &request, Job &job)
{
    job.ClearJob();
    for (const QString &path : request.paths) {
        const QString depth = depthText(QFileInfo(path).isDir() ? request.depth : 0);
        job.folders().AppendRow({path, depth, "-B"});
    }
    const QString coding = QString::fromLatin1(FileEncodingName(request.encoding));
    for (const QString &mask : request.globs)
        job.fileTypes().AppendRow({mask, coding, QString()});
    for (const QString &mask : request.excludes)
        job.excludedFileTypes().AppendRow(
            {mask, QString(), QString()});

    PairOptions pair;
    pair.caseSensitive = !request.ignoreCase;
    pair.wholeWords = request.wholeWords;
    pair.regularExpression = request.regex;
    job.stringPairs().AppendRow({EncodeCellText(request.find),
                                 EncodeCellText(request.replace),
                                 OptionsToText(pair)});

    RunOptions options = job.options();
    options.binaryFiles = request.binaryFiles;
    options.readOnlyFiles = request.readOnlyFiles;
    options.backupMode = request.backupMode;
    if (request.backupMode == BackupToSubfolder)
        options.backupFolder = request.backupName;
    else if (request.backupMode == BackupRename)
        options.backupPrefix = request.backupName;
    // A file whose content changed gets a new modification time, as with
    // sed and sd: build tools and back-up programs go by it.
    options.preserveDateTime = false;
    options.setArchiveAttribute = false;
    options.promptEachReplace = false;
    options.showFileList = false;
    options.showFinalStats = false;
    options.saveSettingsAutomatically = false;
    job.setOptions(options);
}
