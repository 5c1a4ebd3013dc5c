#pragma once

#include <QString>

// The choices of the two "Skip over / Ask / ..." groups. -1 means no item is
// chosen (a settings file may say so).
enum BinaryFilesChoice : int { BinarySkip = 0, BinaryAsk = 1, BinaryTreatAsText = 2 };
enum ReadOnlyFilesChoice : int { ReadOnlySkip = 0, ReadOnlyAsk = 1, ReadOnlyModifyAnyway = 2 };

enum BackupMode : int { BackupNone = 1, BackupToSubfolder = 2, BackupRename = 3 };

// How files are treated during a run (the Options page of the main window).
struct RunOptions {
    int binaryFiles = BinaryAsk;
    int readOnlyFiles = ReadOnlyAsk;
    int backupMode = BackupToSubfolder;
    QString backupFolder = QStringLiteral("_BACKUP_");
    QString backupPrefix = QStringLiteral("~");
    QString backupSuffix;
    bool preserveDateTime = true;
    bool setArchiveAttribute = true;
    bool promptEachReplace = true;
    bool showFileList = true;
    bool showFinalStats = true;
    // The two Miscellaneous options: they survive a new job.
    bool saveSettingsAutomatically = false;
    bool preferEquidistantFont = false;

    friend bool operator==(const RunOptions &, const RunOptions &) = default;
};
