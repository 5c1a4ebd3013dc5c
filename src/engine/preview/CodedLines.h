#pragma once

#include "engine/preview/EditList.h"
#include "engine/preview/FilePreview.h"

#include <QByteArray>
#include <QString>

struct DisplayCharset;

// The stretches that a run of edits [at, stop) changed on one side of a diff
// (the text as read, or as it would be written), taken in order.
struct MarkCursor {
    const Edit *at = nullptr;
    const Edit *stop = nullptr;
    bool newSide = false;

    qint64 startOf(const Edit &edit) const { return newSide ? edit.newStart : edit.oldStart; }
    qint64 endOf(const Edit &edit) const { return newSide ? edit.newEnd : edit.oldEnd; }
};

// The line structure of one buffer in its coding (1..4): a line ends after a
// line feed unit. Positions are byte offsets at unit boundaries; a byte-order
// mark of `bomLength` bytes comes before the first line.
class CodedLines
{
public:
    CodedLines(const QByteArray &text, int encoding, int bomLength,
               const DisplayCharset *ansiCharset);

    int unit() const { return m_unit; }
    qint64 textStart() const { return m_bom; }

    bool lineFeedAt(qint64 p) const;
    bool atLineStart(qint64 p) const { return p <= m_bom || lineFeedAt(p - m_unit); }
    qint64 lineStart(qint64 p) const;
    // The end (after the line feed) of the line that holds p.
    qint64 lineEnd(qint64 p) const;
    qint64 linesBack(qint64 p, int count) const;
    qint64 linesForward(qint64 p, int count) const;
    qint64 countLineFeeds(qint64 from, qint64 to) const;
    // The lines that [from, to) touches.
    qint64 countLines(qint64 from, qint64 to) const;

    // The line [from, to) without its break and a carriage return before it,
    // decoded, with the stretches `marks` (sorted byte ranges, not
    // overlapping) marked where they meet the text. The marks that end at or
    // before `from` are passed over and not looked at again, so that walking a
    // long run of lines is linear in them and their marks.
    DiffLine line(DiffLine::Kind kind, qint64 from, qint64 to, MarkCursor &marks) const;

private:
    bool unitIs(qint64 p, char ascii) const;
    QString decode(qint64 from, qint64 to) const;

    const char *m_data;
    qint64 m_length;
    int m_encoding;
    int m_unit;
    int m_bom;
    const DisplayCharset *m_ansiCharset;
};
