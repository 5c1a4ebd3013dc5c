#include "engine/text/ContentScan.h"

#include "engine/text/ContentScanKernel.h"

#include <algorithm>

namespace {

// Positions [from, to) one byte at a time, as the vector loop takes them:
// the head (whose blocks would need the byte before the buffer) and the tail.
void scanBytes(const unsigned char *bytes, qint64 from, qint64 to, qint64 markLength,
               ContentTallies &tallies)
{
    using namespace EncodingsDetail;
    for (qint64 i = from; i < to; ++i) {
        const unsigned char byte = bytes[i];
        if (byte == 0)
            ++(i % 2 == 0 ? tallies.evenZeros : tallies.oddZeros);
        tallies.nonPrintableByte = tallies.nonPrintableByte || isNonPrintable(byte);
        if (i % 2 == 1) {
            const unsigned char first = bytes[i - 1];
            tallies.nonPrintableLittleEndian =
                tallies.nonPrintableLittleEndian || (isNonPrintable(first) && byte == 0);
            tallies.nonPrintableBigEndian =
                tallies.nonPrintableBigEndian || (first == 0 && isNonPrintable(byte));
        }
        if (i >= markLength)
            tallies.highBit = tallies.highBit || byte >= 0x80;
        if (i > markLength)
            tallies.utf8Violation = tallies.utf8Violation || utf8Forbids(bytes[i - 1], byte);
    }
}

} // namespace

bool ProcessorHasAvx2()
{
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    return hasAvx2;
}

ContentSummary ScanContent(const char *data, qint64 size, ScanInstructions instructions)
{
    const bool avx2 = instructions == ScanInstructions::Avx2
        || (instructions == ScanInstructions::Best && ProcessorHasAvx2());
    const qint64 block = avx2 ? 32 : 16;
    const auto *bytes = reinterpret_cast<const unsigned char *>(data);

    ContentSummary summary;
    summary.detection = DetectMark(data, size);
    ContentTallies &tallies = summary.tallies;
    // The head is one block, longer than any mark, so the blocks never see it.
    const qint64 head = std::min(size, block);
    const qint64 blocksEnd = head + (size - head) / block * block;
    scanBytes(bytes, 0, head, summary.detection.bomLength, tallies);
    if (blocksEnd > head)
        (avx2 ? scanBlocksAvx2 : scanBlocksSse2)(bytes, head, blocksEnd, tallies);
    scanBytes(bytes, blocksEnd, size, summary.detection.bomLength, tallies);

    summary.detection.contentGuess = GuessCoding(size, tallies.evenZeros, tallies.oddZeros,
                                                 tallies.highBit && !tallies.utf8Violation);
    return summary;
}

bool ContentSummary::hasNonPrintable(int encoding) const
{
    switch (encoding) {
    case EncodingUnicode:
        return tallies.nonPrintableLittleEndian;
    case EncodingUnicodeBigEndian:
        return tallies.nonPrintableBigEndian;
    default:
        return tallies.nonPrintableByte;
    }
}
