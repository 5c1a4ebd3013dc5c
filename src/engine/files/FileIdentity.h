#pragma once

#include <sys/stat.h>

// What a file was when it was read. A write refuses to replace a file that
// has since been changed, replaced or removed by another program.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    static FileIdentity of(const struct stat &info);
    bool matches(const struct stat &info) const;
};
