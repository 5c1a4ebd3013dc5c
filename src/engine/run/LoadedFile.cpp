#include "engine/run/LoadedFile.h"

#include "engine/files/PathHelpers.h"
#include "engine/files/PosixFile.h"
#include "settings/FileEncoding.h"

#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
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
    loaded.identity = FileIdentity::of(info);
    ByteBuffer buffer;
    if (!buffer.allocate(info.st_size)) {
        loaded.result = LoadedFile::Result::OutOfMemory;
        return loaded;
    }
    loaded.readBegan = true;
    // A short read means the file shrank while it was read: its content is
    // not the one to rewrite.
    if (readUpTo(loaded.held.descriptor(), buffer.data(), info.st_size) != info.st_size)
        return loaded;
    buffer.setLength(info.st_size);
    loaded.content = ScanContent(buffer.data(), buffer.length());
    loaded.buffer = std::move(buffer);
    loaded.result = LoadedFile::Result::Read;
    return loaded;
}

int EffectiveCoding(const CodingDetection &detection, int requiredCoding)
{
    if (requiredCoding != EncodingAuto)
        return requiredCoding;
    const int coding =
        detection.bomKind != EncodingNone ? detection.bomKind : detection.contentGuess;
    return coding == EncodingNone ? EncodingAnsi : coding;
}
