#pragma once

#include <QString>
#include <optional>
#include <sys/types.h>

// The file attributes the run deals with, on Linux: the read-only attribute is
// the owner's write bit, judged from the mode bits alone (so root, who may
// write anyway, still sees it). There is no archive bit: it reads as off and
// setting it does nothing. Paths are followed through symbolic links.
namespace FileAttributes {

// The whole mode of the file (type and permission bits); nothing when the file
// cannot be reached.
std::optional<mode_t> read(const QString &path);

bool isReadOnly(mode_t mode);

// Sets the owner's write bit, leaving every other bit as it is.
bool clearReadOnly(const QString &path, mode_t mode);

// Puts back the permission bits of `mode` (setuid, setgid and sticky included).
bool restore(const QString &path, mode_t mode);

mode_t withArchive(mode_t mode);

} // namespace FileAttributes
