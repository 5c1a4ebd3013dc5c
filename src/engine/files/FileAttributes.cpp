#include "engine/files/FileAttributes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileAttributes {

namespace {
constexpr mode_t PermissionBits = 07777;
}

bool isReadOnly(mode_t mode)
{
    return (mode & S_IWUSR) == 0;
}

bool isReadOnlyFor(int folder, const char *name, mode_t mode)
{
    return isReadOnly(mode)
        || (::geteuid() != 0 && ::faccessat(folder, name, W_OK, AT_EACCESS) != 0);
}

bool clearReadOnly(int fd, mode_t mode)
{
    return restore(fd, mode | S_IWUSR);
}

bool restore(int fd, mode_t mode)
{
    return ::fchmod(fd, mode & PermissionBits) == 0;
}

mode_t withArchive(mode_t mode)
{
    return mode;
}

} // namespace FileAttributes
