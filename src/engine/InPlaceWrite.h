#pragma once

#include "engine/SafeFileWriter.h"

#include <QByteArray>
#include <QString>
#include <sys/stat.h>

// Rewrites the file at `target` (a resolved native path; `original` is what
// stat says of it now) through its own inode, for the files that a rename
// would break. Such a write cannot be atomic, so it is made recoverable:
// - the new size is reserved first (fallocate), so a full disk or a file-size
//   limit fails the write before a byte of the file changes;
// - a complete copy of the original is kept, beside the file or, where no
//   file may be created there, in the temporary folder, until the new content
//   is flushed. After any failure the original is put back from it; only when
//   that fails too (or after a crash) the copy stays, and `keptCopy` names it.
WriteOutcome writeInPlace(const QByteArray &target, const char *data, qint64 size,
                          const struct stat &original, bool keepModificationTime,
                          QString *keptCopy);
