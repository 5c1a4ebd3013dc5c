#pragma once

#include <QtGlobal>

// Told where a string pair's pass replaced text, so that a preview can show
// exactly the run's changes without comparing old and new text as a whole.
// Positions are byte offsets into the buffer the pass read.
class ReplacementSink
{
public:
    virtual ~ReplacementSink() = default;

    // The bytes [start, end) were replaced by `replacementLength` bytes. Calls
    // of one pass come in increasing order and never overlap.
    virtual void replaced(qint64 start, qint64 end, qint64 replacementLength) = 0;

    // The pass ended; the next calls concern the buffer it left.
    virtual void passEnded() = 0;
};
