#pragma once

#include "engine/files/SafeFileWriter.h"

#include <QByteArray>

// Rewrites the file `target` holds through its own inode, for the files that
// a rename would break. Such a write cannot be atomic, so it is made
// recoverable:
// - a complete copy of the original is kept, beside the file or, where no
//   file may be created there, in the temporary folder, until the new content
//   is flushed. After any failure the original is put back from it; only when
//   that fails too (or after a crash) the copy stays, and `keptCopy` names it.
//   Its name (see KeptCopyName) tells which file it keeps and what that file
//   is once wholly written, so that a later run can mend a torn file;
// - the file is checked again after the copy, right before its first byte
//   changes, so that another program's change in the meantime is not lost;
// - the new size is then reserved (fallocate), so a full disk or a file-size
//   limit fails the write before a byte of the content changes.
// The new modification time is chosen before the write (the original's when
// kept, else the time the write starts), so that `beforeReplace` can be told
// the identity the file will have.
WriteOutcome writeInPlace(const HeldFile &target, const char *data, qint64 size,
                          const FileIdentity &asRead, const WriteOptions &options);

// The name of a kept copy: ".svx-original-", the process id, the kept file's
// inode, the size and modification time (seconds, nanoseconds) it has once
// written, "-" and a unique ending, the fields separated by "-".
struct KeptCopyName {
    static constexpr const char *Prefix = ".svx-original-";
    pid_t process = 0;
    ino_t inode = 0;
    FileIdentity written; // its size and modification time

    QByteArray stem() const;
    static std::optional<KeptCopyName> parse(const QByteArray &name);
};
