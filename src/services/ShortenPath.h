#pragma once

#include <QString>

// The name of a file without its extension (the text from its last ".");
// a leading "." starts a hidden name, not an extension.
QString FileNameWithoutExtension(const QString &fileName);

// A path shortened for display to about `maximum` characters, keeping the
// file name whole: the whole path when it fits; else "/..." and as much of
// the end of the folder as fits, then the name; else the name alone. The
// extension is dropped when not even the name and four characters fit.
QString ShortenPath(const QString &path, int maximum);
