#pragma once

#include "engine/files/SafeFileWriter.h"

#include <QByteArray>
#include <QString>
#include <sys/stat.h>

// Rewrites the file at `target` (a resolved native path; `original` is what
// stat says of it now) through its own inode, for the files that a rename
// would break. Such a write cannot be atomic, so it is made recoverable:
// - a complete copy of the original is kept, beside the file or, where no
//   file may be created there, in the temporary folder, until the new content
//   is flushed. After any failure the original is put back from it; only when
//   that fails too (or after a crash) the copy stays, and `keptCopy` names it;
// - the new size is then reserved (fallocate), so a full disk or a file-size
//   limit fails the write before a byte of the content changes.
// The new modification time is chosen before the write (the original's when
// kept, else the time the write starts), so that `beforeReplace` can be told
// the identity the file will have.
WriteOutcome writeInPlace(const QByteArray &target, const char *data, qint64 size,
                          const struct stat &original, bool keepModificationTime,
                          QString *keptCopy, const BeforeReplace &beforeReplace);
