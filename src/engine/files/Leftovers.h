#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a process killed in the middle of a write may leave in a folder, and
// a later run clears up once that process is gone: a hidden temporary file
// (".svx-<process id>-...") whose watcher was killed too, and the kept copy of
// a file it was rewriting in place (see KeptCopyName). The file a kept copy
// belongs to is found by its inode in the same folder; unless it was wholly
// written (it has the size and time the write was to give it) or holds the
// original anyway, it is torn, and the original content is put back.
//
// Returns the real paths of the files put back, for the user to be told.
QStringList MendLeftovers(const QByteArray &folder);

// True for a name that MendLeftovers looks at.
bool isLeftoverName(const char *name);
