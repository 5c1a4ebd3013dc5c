#pragma once

#include <QString>

// The user's desktop folder, with a trailing "/"; empty when unknown.
QString DesktopFolder();

// The application data folder of the current user, or with `allUsers` the
// first system-wide one, with a trailing "/"; empty when unknown.
QString AppDataFolder(bool allUsers = false);
