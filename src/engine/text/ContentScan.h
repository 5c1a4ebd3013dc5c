#pragma once

#include "engine/text/ContentTallies.h"
#include "engine/text/Encodings.h"

// Everything the coding and binary decisions need about a file's bytes, from
// one vectorised pass: the same results as DetectCoding and HasNonPrintable,
// which take up to three passes.
struct ContentSummary {
    CodingDetection detection;
    ContentTallies tallies;

    // As HasNonPrintable(bytes, size, encoding) for encoding 1..4.
    bool hasNonPrintable(int encoding) const;
};

// Which vector instructions the pass uses; Best picks AVX2 where the
// processor has it. Tests name the others to cover both loops.
enum class ScanInstructions { Best, Sse2, Avx2 };

ContentSummary ScanContent(const char *bytes, qint64 size,
                           ScanInstructions instructions = ScanInstructions::Best);

bool ProcessorHasAvx2();
