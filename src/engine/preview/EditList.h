#pragma once

#include "engine/preview/ReplacementSink.h"

#include <QList>
#include <QtGlobal>

// One changed stretch: the bytes [oldStart, oldEnd) of the original content
// became [newStart, newEnd) of the final content. Everything between two
// edits is the same in both. A file's content is held in at most 2 GiB - 1
// bytes, so 32 bits hold an offset, and a file full of matches takes half the
// memory it would with 64.
struct Edit {
    qint32 oldStart = 0;
    qint32 oldEnd = 0;
    qint32 newStart = 0;
    qint32 newEnd = 0;

    bool operator==(const Edit &) const = default;
};

// Composes the replacements of every pass over one file into the edits from
// the file as read to the file as it would be written. Each pass costs time in
// proportion to its replacements plus the edits so far, never to the file's
// length.
class EditList : public ReplacementSink
{
public:
    void replaced(qint64 start, qint64 end, qint64 replacementLength) override;
    void passEnded() override;

    // Sorted, not overlapping; edits that touch are merged.
    const QList<Edit> &edits() const { return m_edits; }

private:
    void takeFirstPass();
    void composePass();

    QList<Edit> m_edits; // original -> content before the current pass
    QList<Edit> m_pass;  // content before the current pass -> after it
};
