#include "engine/files/FileAttributes.h"

#include "engine/files/PosixFile.h"

#include <sys/stat.h>

namespace FileAttributes {

namespace {
constexpr mode_t PermissionBits = 07777;
}

std::optional<mode_t> read(const QString &path)
{
    struct stat info {};
    if (::stat(nativePath(path).constData(), &info) != 0)
        return std::nullopt;
    return info.st_mode;
}

bool isReadOnly(mode_t mode)
{
    return (mode & S_IWUSR) == 0;
}

bool clearReadOnly(const QString &path, mode_t mode)
{
    return restore(path, mode | S_IWUSR);
}

bool restore(const QString &path, mode_t mode)
{
    return ::chmod(nativePath(path).constData(), mode & PermissionBits) == 0;
}

mode_t withArchive(mode_t mode)
{
    return mode;
}

} // namespace FileAttributes
