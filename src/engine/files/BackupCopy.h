#pragma once

#include "engine/files/HeldFile.h"
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

// The back-up folder for a file in `fileFolder`, which `folder` holds open:
// `folderName` (already checked with IsValidFolderName) inside it, or base +
// 001, 002 ... when a folder of that name exists that this run did not
// choose. Creates the folder (a failure shows up later as a failed copy) and
// records it in `chosenFolders`, so the other files of the same folder share
// it. A folder created for another user's folder belongs to that user, so
// that they can remove the copies.
QString chooseSubfolder(int folder, const QString &fileFolder, const QString &folderName,
                        QStringList &chosenFolders);

// prefix + `fileName` + suffix in `folder`, with 001, 002 ... appended at the
// very end while that name is taken.
QString renamedCopyName(int folder, const QString &fileName, const QString &prefix,
                        const QString &suffix);

// Copies the content `source` holds, from its start, with its permission bits
// and modification time, to the new file `name` in the folder `destination`
// (held open; a link there is not followed). The copy keeps the original's
// owner and group; where it cannot, it loses the set-user-ID, set-group-ID
// and sticky bits. Fails, touching nothing, when `name` exists; a partial
// copy is removed.
bool copyFile(const HeldFile &source, int destination, const QString &name);

} // namespace BackupCopy
