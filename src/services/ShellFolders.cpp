#include "services/ShellFolders.h"

#include "engine/files/PathHelpers.h"

#include <QStandardPaths>

QString DesktopFolder()
{
    return WithTrailingBackslash(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
}

QString AppDataFolder(bool allUsers)
{
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!allUsers)
        return WithTrailingBackslash(user);
    // The list starts with the user's own folder; the system folders follow.
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString &folder : folders) {
        if (folder != user)
            return WithTrailingBackslash(folder);
    }
    return QString();
}
