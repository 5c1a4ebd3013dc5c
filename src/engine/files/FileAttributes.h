#pragma once

#include <sys/types.h>

// The file attributes the run deals with, on Linux: the read-only attribute is
// the owner's write bit, judged from the mode bits (so root, who may write
// anyway, still sees it); a process other than root also counts a file it may
// not write as read-only. There is no archive bit: it reads as off and
// setting it does nothing. Every call works on a descriptor of the file that
// was checked, never on its path.
namespace FileAttributes {

bool isReadOnly(mode_t mode);

// The file `name` in the folder `folder` is read-only for this process.
bool isReadOnlyFor(int folder, const char *name, mode_t mode);

// Sets the owner's write bit, leaving every other bit as it is.
bool clearReadOnly(int fd, mode_t mode);

// Puts back the permission bits of `mode` (setuid, setgid and sticky included).
bool restore(int fd, mode_t mode);

mode_t withArchive(mode_t mode);

} // namespace FileAttributes
