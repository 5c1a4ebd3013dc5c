#pragma once

#include "engine/files/HeldFile.h"

#include <sys/types.h>

// What a collected file was when the folder walk found it: the file it
// reached (device and inode, through a symbolic link) and whether its name was
// a symbolic link. A file whose name reaches another file, or turns into a
// link or from one, by the time it is read was changed by another program,
// and is left alone; so a link swapped in cannot redirect the run to a file
// outside the job's folders.
struct CollectedIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool symbolicLink = false;
    // The size it had then: a hint to plan the run by, not part of what it is.
    off_t size = 0;
    // Where the file really is (a link's target), and the real path of the
    // folder its name was found in, where its back-up copy goes. Both are
    // opened later without following any link.
    FilePlace target;
    QByteArray listingFolder;

    bool operator==(const CollectedIdentity &other) const
    {
        return device == other.device && inode == other.inode
            && symbolicLink == other.symbolicLink;
    }
};
