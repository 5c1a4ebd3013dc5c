#pragma once

#include <cstdint>

// What one pass over a file's bytes finds. Zero bytes and the UTF-8 pairs are
// taken from the end of the byte-order mark on (the marks hold no zero byte,
// so the zero counts are the same from offset 0); the UTF-16 pairs start at
// offset 0.
struct ContentTallies {
    int64_t evenZeros = 0; // zero bytes at even offsets
    int64_t oddZeros = 0;
    bool highBit = false;       // a byte of 0x80 or above
    bool utf8Violation = false; // lead after lead, continuation after 7-bit, 7-bit after lead
    bool nonPrintableByte = false;         // a byte 0..8, 11, 12 or 14..31
    bool nonPrintableLittleEndian = false; // such a byte, then a zero, at an even offset
    bool nonPrintableBigEndian = false;    // a zero, then such a byte, at an even offset
};
