#pragma once

#include "settings/RunOptions.h"

#include <QString>
#include <QStringList>

// Where back-up copies go and how they are made. A back-up copy never
// overwrites an existing file.
namespace BackupCopy {

// The back-up folder name, file prefix and suffix of the run options, trimmed
// as bytes. Making back-ups and skipping them in the folder walk both read
// them from here, so a back-up is always one the next walk recognises.
struct Names {
    QString folder;
    QString prefix;
    QString suffix;

    static Names of(const RunOptions &options);
};

// The back-up folder for a file in `fileFolder`: `folderName` (already checked
// with IsValidFolderName) inside it, or base + 001, 002 ... when a folder of
// that name exists that this run did not choose. Creates the folder (a failure
// shows up later as a failed copy) and records it in `chosenFolders`, so the
// other files of the same folder share it.
QString chooseSubfolder(const QString &fileFolder, const QString &folderName,
                        QStringList &chosenFolders);

// prefix + file name + suffix beside the file, with 001, 002 ... appended at
// the very end while that name is taken.
QString renamedCopyPath(const QString &filePath, const QString &prefix, const QString &suffix);

// Copies the content, permission bits and modification time of `source` (a
// symbolic link is followed) to the new file `destination`. Fails, touching
// nothing, when `destination` exists; a partial copy is removed.
bool copyFile(const QString &source, const QString &destination);

} // namespace BackupCopy
