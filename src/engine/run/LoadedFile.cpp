#include "engine/run/LoadedFile.h"

#include "engine/files/PathHelpers.h"
#include "engine/files/PosixFile.h"
#include "settings/FileEncoding.h"

#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

LoadedFile LoadFile(const QString &path, const std::optional<CollectedIdentity> &collected)
{
    LoadedFile loaded;
    // Opened through its real folder, following no link on the way, and
    // non-blocking, so that a named pipe in place of the file cannot hang the
    // run; only a regular file is read. A collected file must still be the
    // file collected.
    const std::optional<FilePlace> place =
        collected ? std::optional(collected->target) : FilePlace::resolve(path);
    if (!place)
        return loaded;
    if (collected)
        loaded.listingFolder = collected->listingFolder;
    else if (const std::optional<FilePlace> folder = FilePlace::resolve(QFileInfo(path).path()))
        loaded.listingFolder = folder->path();
    loaded.held = HeldFile::open(*place);
    if (loaded.held.swapped()) {
        loaded.result = LoadedFile::Result::Changed;
        return loaded;
    }
    struct stat info {};
    if (!loaded.held.isOpen() || ::fstat(loaded.held.descriptor(), &info) != 0)
        return loaded;
    if (collected && (info.st_dev != collected->device || info.st_ino != collected->inode)) {
        loaded.result = LoadedFile::Result::Changed;
        return loaded;
    }
    if (!S_ISREG(info.st_mode))
        return loaded;
    loaded.size = info.st_size;
    loaded.mode = info.st_mode;
    if (info.st_size == 0) {
        loaded.result = LoadedFile::Result::Empty;
        return loaded;
    }
    if (info.st_size > ByteBuffer::MaxSize) {
        loaded.result = LoadedFile::Result::TooLarge;
        return loaded;
    }
    loaded.identity = FileIdentity::of(info);
    ByteBuffer buffer;
    if (!buffer.allocate(info.st_size)) {
        loaded.result = LoadedFile::Result::OutOfMemory;
        return loaded;
    }
    loaded.readBegan = true;
    loaded.result =
        ReadWhole(loaded.held.descriptor(), info.st_size, buffer, ByteBuffer::MaxSize);
    if (loaded.result != LoadedFile::Result::Read)
        return loaded;
    loaded.content = ScanContent(buffer.data(), buffer.length());
    loaded.buffer = std::move(buffer);
    return loaded;
}

LoadedFile::Result ReadWhole(int descriptor, qint64 expected, ByteBuffer &buffer, qint64 limit)
{
    // A short read means the file shrank while it was read: its content is
    // not the one to rewrite.
    if (readUpTo(descriptor, buffer.data(), expected) != expected)
        return LoadedFile::Result::Unreadable;
    char beyond = 0;
    const qint64 more = readUpTo(descriptor, &beyond, 1);
    if (more < 0)
        return LoadedFile::Result::Unreadable;
    if (more > 0) {
        struct stat info {};
        return ::fstat(descriptor, &info) == 0 && info.st_size > limit
            ? LoadedFile::Result::TooLarge
            : LoadedFile::Result::Changed;
    }
    buffer.setLength(expected);
    return LoadedFile::Result::Read;
}

int EffectiveCoding(const CodingDetection &detection, int requiredCoding)
{
    if (requiredCoding != EncodingAuto)
        return requiredCoding;
    const int coding =
        detection.bomKind != EncodingNone ? detection.bomKind : detection.contentGuess;
    return coding == EncodingNone ? EncodingAnsi : coding;
}
