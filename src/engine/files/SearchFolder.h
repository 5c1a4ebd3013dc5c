#pragma once

#include "engine/files/CollectedIdentity.h"

#include <QList>
#include <QSet>
#include <QString>

// One file the walk found.
struct WalkedFile {
    QString path;
    QString lastWrite; // the date-time text of the file list
    CollectedIdentity identity;
};

// Walks `folder` (with a trailing "/") to `depth` (0, 1 or
// FolderEntry::Unlimited) and appends every file matching `mask` to
// `target`. Files whose names begin with `skipPrefix` and folders whose names
// begin with `skipFolderName` (when not empty) are left out. When `folder`
// names a file, that file alone is taken if its name matches `mask`, hidden
// or not: the user named it. Never changes the process's current folder. The
// real paths of the folders that hold leftovers of a killed run (see
// MendLeftovers) go to `leftoverFolders`, when given, once each.
void SearchFolder(const QString &folder, const QString &mask, QList<WalkedFile> &target,
                  const QString &skipPrefix, const QString &skipFolderName, int depth,
                  QSet<QByteArray> *leftoverFolders = nullptr);
