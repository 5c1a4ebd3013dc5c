#pragma once

#include <QString>
#include <QtGlobal>

// Small text helpers for paths and back-up names. Paths use "/" as separator.

// The decimal digits of `number`, with zeros in front until the text is at
// least `width` characters long (1 and 3 give "001"; 1234 stays "1234").
QString ZeroPad(qint64 number, int width);

// True for a name that can stand as one folder of a path: not empty, no
// control character (codes 0..31), none of \" * / : < > ? \\ |, and not
// beginning with "." (which would also make the folder hidden from the walk).
bool IsValidFolderName(const QString &name);

// True for a text that can only ever be part of one file name, as the back-up
// prefix and suffix must be: no "/", and neither "." nor "..". Anything else
// could name a file in another folder.
bool IsPlainNamePart(const QString &part);

// Appends "/" to a non-empty path that does not end in one.
QString WithTrailingBackslash(const QString &path);

// Drops a final "/", except from the root "/" itself.
QString WithoutTrailingBackslash(const QString &path);
