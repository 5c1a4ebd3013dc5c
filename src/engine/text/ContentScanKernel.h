#pragma once

// The vector loop of ScanContent, written once over a set of vector
// operations and built twice: for SSE2 (every x86-64 processor) and, in a
// file compiled for AVX2, for the processors that have it. This header pulls
// in no Qt or standard library code, so the AVX2 file cannot hand AVX2 copies
// of shared inline functions to the rest of the program.

#include "engine/text/ContentTallies.h"

// Blocks [begin, end) of the buffer, for both functions: begin is at least
// one block (the byte before each block is read) and a multiple of the block,
// and so is end - begin. Blocks are 16 and 32 bytes.
void scanBlocksSse2(const unsigned char *bytes, int64_t begin, int64_t end, ContentTallies &tallies);
void scanBlocksAvx2(const unsigned char *bytes, int64_t begin, int64_t end, ContentTallies &tallies);

namespace {

// Ops: a vector type V with Width byte lanes and the byte-wise operations
// below (signed comparisons, as the instructions have them).
template <class Ops>
inline void scanBlocks(const unsigned char *bytes, int64_t begin, int64_t end,
                       ContentTallies &tallies)
{
    using V = typename Ops::V;
    const V zero = Ops::zero();
    const V tab = Ops::splat(9), lineFeed = Ops::splat(10), carriageReturn = Ops::splat(13);
    const V lastControl = Ops::splat(31);
    const V belowLead = Ops::splat(char(0xBF)), belowSeven = Ops::splat(-1);
    const V leadStart = Ops::splat(char(0xC0));

    const auto nonPrintable = [&](V v) {
        const V control = Ops::eq(Ops::minU(v, lastControl), v);
        const V allowed =
            Ops::bor(Ops::bor(Ops::eq(v, tab), Ops::eq(v, lineFeed)), Ops::eq(v, carriageReturn));
        return Ops::andNot(allowed, control);
    };

    V high = zero, violation = zero, nonPrintableAny = zero, littleEndian = zero,
      bigEndian = zero;
    // Zero counts per lane fit a byte for 255 blocks; lane parity is offset
    // parity because every block starts at an even offset.
    constexpr int64_t BlocksPerCount = 255;
    for (int64_t pos = begin; pos < end;) {
        const int64_t countEnd = end - pos > BlocksPerCount * Ops::Width
                                     ? pos + BlocksPerCount * Ops::Width
                                     : end;
        V zeroCounts = zero;
        for (; pos < countEnd; pos += Ops::Width) {
            const V current = Ops::load(bytes + pos);
            const V previous = Ops::load(bytes + pos - 1);
            const V currentZero = Ops::eq(current, zero);
            zeroCounts = Ops::sub(zeroCounts, currentZero);
            high = Ops::bor(high, current);

            const V currentNonPrintable = nonPrintable(current);
            nonPrintableAny = Ops::bor(nonPrintableAny, currentNonPrintable);
            littleEndian = Ops::bor(littleEndian, Ops::band(nonPrintable(previous), currentZero));
            bigEndian =
                Ops::bor(bigEndian, Ops::band(Ops::eq(previous, zero), currentNonPrintable));

            // Signed: 7-bit bytes are above -1, continuations below 0xC0.
            const V continuation = Ops::gt(leadStart, current);
            const V previousSeven = Ops::gt(previous, belowSeven);
            const V previousLead = Ops::andNot(previousSeven, Ops::gt(previous, belowLead));
            violation = Ops::bor(violation,
                                 Ops::bor(Ops::andNot(continuation, previousLead),
                                          Ops::band(previousSeven, continuation)));
        }
        tallies.evenZeros += Ops::sumEvenLanes(zeroCounts);
        tallies.oddZeros += Ops::sumOddLanes(zeroCounts);
    }
    // Pairs end at odd offsets: the odd lanes of the pair masks.
    constexpr uint32_t OddLanes = 0xAAAAAAAAu;
    tallies.highBit = tallies.highBit || Ops::mask(high) != 0;
    tallies.utf8Violation = tallies.utf8Violation || Ops::mask(violation) != 0;
    tallies.nonPrintableByte = tallies.nonPrintableByte || Ops::mask(nonPrintableAny) != 0;
    tallies.nonPrintableLittleEndian =
        tallies.nonPrintableLittleEndian || (Ops::mask(littleEndian) & OddLanes) != 0;
    tallies.nonPrintableBigEndian =
        tallies.nonPrintableBigEndian || (Ops::mask(bigEndian) & OddLanes) != 0;
}

} // namespace
