#pragma once

// The files library answers "how is a file found, read and written safely?":
// the folder walk and masks, the POSIX file wrapper, atomic and in-place
// writes, back-up copies, attributes and buffers. It uses the text library
// only, to spell the job's names.

#include "engine/files/HeldFile.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <sys/stat.h>

enum class WriteOutcome {
    Written,
    ChangedOnDisk, // left as it was: it no longer matches what was read
    Failed,        // left as it was (or, rarely, see keptCopy below)
};

// Replaces the content of the file `target` holds by `size` bytes of `data`,
// as they are. Every step goes through the descriptors `target` holds, so a
// name or folder swapped for a link cannot redirect it; for a symbolic link
// the target was held, which is replaced, and the link stays.
//
// The new content goes to an unnamed file (O_TMPFILE) in the file's folder,
// named as a hidden temporary file (".svx-<process id>-" prefix) just before
// the rename; where the file system has no unnamed files, it is such a named
// file from the start. It takes the file's owner and group (where the process
// may; where not, it loses the set-user-ID, set-group-ID and sticky bits),
// mode and extended attributes, is flushed to disk and then renamed over the
// file: the file is either wholly old or wholly new, and on any failure the
// temporary file is removed. A file with more than one hard link, or in a
// folder where no new file may be created, is written in place instead,
// since a rename would cut its links or cannot be done; that write keeps a
// copy of the original until it is done (see writeInPlace), putting the
// original back after a failure. When even that fails, `keptCopy` (when
// given) names the copy that holds the original content.
//
// `beforeReplace`, when given, is told the identity the file will have once
// written, just before the original is touched: a record kept of it then
// names the file even when the process dies in the middle of the write.
using BeforeReplace = std::function<void(const FileIdentity &written)>;

struct WriteOptions {
    // The new content carries the file's modification time exactly (a
    // failure to set it is not an error).
    bool keepModificationTime = false;
    // Else the modification time the written file gets, when given.
    std::optional<timespec> modified;
    // The permission bits the written file ends with; by default the file's.
    std::optional<mode_t> mode;
    QString *keptCopy = nullptr;
    // The folder is flushed after the rename, so that the rename lasts too;
    // given this, it is not, and the folder's path is stored here for the
    // caller, who flushes each folder once after many writes.
    QByteArray *folderToSync = nullptr;
    BeforeReplace beforeReplace;
};

WriteOutcome writeFileSafely(const HeldFile &target, const char *data, qint64 size,
                             const FileIdentity &asRead, const WriteOptions &options);

// The same for the file at `path`, opened here (links resolved).
WriteOutcome writeFileSafely(const QString &path, const char *data, qint64 size,
                             const FileIdentity &asRead, bool keepModificationTime,
                             QString *keptCopy = nullptr, QByteArray *folderToSync = nullptr,
                             const BeforeReplace &beforeReplace = {});

// Gives `fd`, whose status is `current`, the owner and group of `original`
// where they differ and the process may; where it may not, the set-user-ID,
// set-group-ID and sticky bits are dropped from `mode`, so that a copy never
// becomes a program running as someone else. Returns the mode to set then.
mode_t keepOwnerOf(int fd, const struct stat &original, const struct stat &current, mode_t mode);

// The hidden names of the writer's temporary files begin with this, then
// the process id that made them and "-".
QByteArray temporaryPrefix();

// Flushes a folder to disk, so that the renames in it last.
void syncFolder(const QByteArray &folder);
