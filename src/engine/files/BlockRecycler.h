#pragma once

#include <QtGlobal>

// Keeps a few large freed memory blocks for the next file's buffers. A run
// reads, rewrites and frees one file after the other; handing the next file
// a block the last one used spares the page faults of fresh memory. Safe to
// use from any thread. It keeps at most MaxBlocks blocks and MaxBytes bytes.
namespace BlockRecycler {

constexpr int MaxBlocks = 16;
constexpr qint64 MaxBytes = 64 * 1024 * 1024;
// Smaller blocks are the allocator's business: it reuses them well.
constexpr qint64 MinBlockSize = 256 * 1024;

// The smallest kept block of at least `size` bytes, its capacity in
// `capacity`; null when none is kept.
char *take(qint64 size, qint64 &capacity);

// Keeps the block, or frees it when it is too small or there is no room.
void give(char *data, qint64 capacity);

} // namespace BlockRecycler
