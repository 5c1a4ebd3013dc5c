#pragma once

// The files library answers "how is a file found, read and written safely?":
// the folder walk and masks, the POSIX file wrapper, atomic and in-place
// writes, back-up copies, attributes and buffers. It uses the text library
// only, to spell the job's names.

#include <QString>
#include <QtGlobal>
#include <functional>
#include <sys/stat.h>

// What a file was when it was read. The write refuses to replace a file that
// has since been changed, replaced or removed by another program.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    static FileIdentity of(const struct stat &info);
    bool matches(const struct stat &info) const;
};

enum class WriteOutcome {
    Written,
    ChangedOnDisk, // left as it was: it no longer matches what was read
    Failed,        // left as it was (or, rarely, see keptCopy below)
};

// Replaces the content of the file at `path` by `size` bytes of `data`, as
// they are. A symbolic link is resolved: its target is replaced and the link
// stays.
//
// The new content goes to an unnamed file (O_TMPFILE) in the target's folder,
// named as a hidden temporary file (".svx-" prefix) just before the rename;
// where the file system has no unnamed files, it is such a named file from
// the start. It takes the target's owner and group (where the process may),
// mode and extended attributes, is flushed to disk and then renamed over the
// target: the file is either wholly old or wholly
// new, and on any failure the temporary file is removed. A file with more
// than one hard link, or in a folder where no new file may be created, is
// written in place instead, since a rename would cut its links or cannot be
// done; that write reserves its room first and keeps a copy of the original
// until it is done (see writeInPlace), putting the original back after a
// failure. When even that fails, `keptCopy` (when given) names the copy that
// holds the original content.
//
// With `keepModificationTime` the new content carries the target's
// modification time exactly (a failure to set it is not an error).
//
// The folder is flushed after the rename, so that the rename lasts too;
// given `folderToSync`, it is not, and the folder's path is stored there for
// the caller, who flushes each folder once after many writes.
//
// `beforeReplace`, when given, is told the identity the file will have once
// written, just before the original is touched: a record kept of it then
// names the file even when the process dies in the middle of the write.
using BeforeReplace = std::function<void(const FileIdentity &written)>;
WriteOutcome writeFileSafely(const QString &path, const char *data, qint64 size,
                             const FileIdentity &asRead, bool keepModificationTime,
                             QString *keptCopy = nullptr, QByteArray *folderToSync = nullptr,
                             const BeforeReplace &beforeReplace = {});

// Flushes a folder to disk, so that the renames in it last.
void syncFolder(const QByteArray &folder);
