#pragma once

#include "engine/files/ByteBuffer.h"
#include "engine/files/CollectedIdentity.h"
#include "engine/files/HeldFile.h"
#include "engine/files/SafeFileWriter.h"
#include "engine/text/ContentScan.h"

#include <QString>
#include <optional>

// A file's content as read for a run, with everything the coding and binary
// decisions need. Loading touches nothing but the file and asks nobody, so it
// may run on a worker thread ahead of the file's turn.
struct LoadedFile {
    // TooLarge: over ByteBuffer::MaxSize, the most any file may have, when
    // opened or by the time it was read.
    enum class Result { Read, Empty, Unreadable, OutOfMemory, Changed, TooLarge };

    Result result = Result::Unreadable;
    // The content itself was being read: the file was open, regular, not
    // empty and its buffer was had (a short read then makes it Unreadable).
    bool readBegan = false;
    qint64 size = 0;
    ByteBuffer buffer;
    FileIdentity identity;
    mode_t mode = 0; // its type and permission bits as read
    // The file, held open through its folder for the back-up copy and the
    // write; and the real path of the folder its name is in.
    HeldFile held;
    QByteArray listingFolder;
    ContentSummary content; // when Read
};

// Reads the whole file at `path` and scans its content. `collected` is the
// identity the file had when the run collected it, if it did: a file that is
// no longer that file is Changed.
LoadedFile LoadFile(const QString &path, const std::optional<CollectedIdentity> &collected);

// Reads the `expected` bytes that fstat gave into `buffer` (of at least that
// capacity), then makes sure the file ends there, so that a file another
// program appends to is never cut to its old size: one that grew meanwhile is
// TooLarge once it has more than `limit` bytes, else Changed, and no more
// than `expected` bytes are held either way. One that shrank is Unreadable.
LoadedFile::Result ReadWhole(int descriptor, qint64 expected, ByteBuffer &buffer, qint64 limit);

// The coding a file is processed in: the byte-order mark's, else the
// content's guess, else ANSI; a coding the user required wins over both.
int EffectiveCoding(const CodingDetection &detection, int requiredCoding);
