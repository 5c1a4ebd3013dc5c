#include "engine/preview/UnifiedDiff.h"

#include "engine/text/CodePage.h"
#include "settings/DisplayCharsets.h"
#include "settings/FileEncoding.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int ContextLines = 3;

// Line structure of one buffer in its coding: a line ends after a line feed
// unit. Positions are byte offsets at unit boundaries.
class Lines
{
public:
    Lines(const QByteArray &text, int encoding, int bomLength, const DisplayCharset *ansiCharset)
        : m_data(text.constData()),
          m_length(text.size()),
          m_encoding(encoding),
          m_unit(encoding == EncodingUnicode || encoding == EncodingUnicodeBigEndian ? 2 : 1),
          m_bom(bomLength),
          m_ansiCharset(ansiCharset)
    {
    }

    qint64 length() const { return m_length; }
    int unit() const { return m_unit; }

    bool lineFeedAt(qint64 p) const
    {
        if (p < m_bom || p + m_unit > m_length)
            return false;
        if (m_unit == 1)
            return m_data[p] == '\n';
        const char low = m_encoding == EncodingUnicode ? m_data[p] : m_data[p + 1];
        const char high = m_encoding == EncodingUnicode ? m_data[p + 1] : m_data[p];
        return low == '\n' && high == 0;
    }

    bool endsLine(qint64 p) const { return p == m_length || lineFeedAt(p - m_unit); }

    qint64 lineStart(qint64 p) const
    {
        while (p > m_bom && !lineFeedAt(p - m_unit))
            p -= m_unit;
        return qMax(p, qint64(m_bom));
    }

    // The end (after the line feed) of the line that holds p.
    qint64 lineEnd(qint64 p) const
    {
        for (; p + m_unit <= m_length; p += m_unit) {
            if (lineFeedAt(p))
                return p + m_unit;
        }
        return m_length;
    }

    qint64 linesBack(qint64 p, int count) const
    {
        for (; count > 0 && p > m_bom; --count)
            p = lineStart(p - m_unit);
        return p;
    }

    qint64 linesForward(qint64 p, int count) const
    {
        for (; count > 0 && p < m_length; --count)
            p = lineEnd(p);
        return p;
    }

    qint64 countLineFeeds(qint64 from, qint64 to) const
    {
        if (m_unit == 1)
            return std::count(m_data + from, m_data + to, '\n');
        qint64 count = 0;
        for (qint64 p = from; p + 2 <= to; p += 2)
            count += lineFeedAt(p);
        return count;
    }

    // The text of [from, to), and where each mark starts and ends in it.
    QString decode(qint64 from, qint64 to) const
    {
        const char *bytes = m_data + from;
        const qsizetype count = qsizetype(to - from);
        switch (m_encoding) {
        case EncodingUtf8:
            return QString::fromUtf8(bytes, count);
        case EncodingUnicode:
        case EncodingUnicodeBigEndian: {
            QString text(count / 2, Qt::Uninitialized);
            for (qsizetype i = 0; i < count / 2; ++i) {
                const auto b0 = static_cast<unsigned char>(bytes[2 * i]);
                const auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
                text[i] = QChar(m_encoding == EncodingUnicode ? char16_t(b0 | b1 << 8)
                                                              : char16_t(b0 << 8 | b1));
            }
            return text;
        }
        default: {
            const QByteArray ansi = QByteArray::fromRawData(bytes, count);
            return m_ansiCharset ? DecodeInCharset(ansi, *m_ansiCharset) : CodePage::toQString(ansi);
        }
        }
    }

    // The line [from, to) without its break; `marks` are byte ranges.
    DiffLine line(DiffLine::Kind kind, qint64 from, qint64 to,
                  const QList<std::pair<qint64, qint64>> &marks) const
    {
        DiffLine line;
        line.kind = kind;
        qint64 textEnd = to;
        if (lineFeedAt(to - m_unit)) {
            textEnd -= m_unit;
            if (textEnd - m_unit >= from && isCarriageReturn(textEnd - m_unit))
                textEnd -= m_unit;
        } else {
            line.missingNewline = true;
        }
        qint64 at = from;
        for (const auto &[start, end] : marks) {
            const qint64 markStart = qBound(from, start, textEnd);
            const qint64 markEnd = qBound(from, end, textEnd);
            if (markEnd <= markStart || markStart < at)
                continue;
            line.text += decode(at, markStart);
            const QString marked = decode(markStart, markEnd);
            line.marks.append({int(line.text.size()), int(marked.size())});
            line.text += marked;
            at = markEnd;
        }
        line.text += decode(at, textEnd);
        return line;
    }

private:
    bool isCarriageReturn(qint64 p) const
    {
        if (m_unit == 1)
            return m_data[p] == '\r';
        const char low = m_encoding == EncodingUnicode ? m_data[p] : m_data[p + 1];
        const char high = m_encoding == EncodingUnicode ? m_data[p + 1] : m_data[p];
        return low == '\r' && high == 0;
    }

    const char *m_data;
    qint64 m_length;
    int m_encoding;
    int m_unit;
    int m_bom;
    const DisplayCharset *m_ansiCharset;
};

// Whole lines that differ: old [oldStart, oldEnd) became new [newStart,
// newEnd), with the edits inside.
struct Block {
    qint64 oldStart, oldEnd, newStart, newEnd;
    QList<std::pair<qint64, qint64>> oldMarks, newMarks;
};

QList<Block> changedBlocks(const Lines &before, const Lines &after, const QList<Edit> &edits)
{
    QList<Block> blocks;
    const int u = before.unit();
    for (const Edit &edit : edits) {
        const qint64 start = before.lineStart(edit.oldStart);
        // An edit that ends with a line break on both sides ends its lines
        // there; otherwise the rest of the line is part of the change.
        const bool endsLines = edit.oldEnd > edit.oldStart && edit.newEnd > edit.newStart
            && before.lineFeedAt(edit.oldEnd - u) && after.lineFeedAt(edit.newEnd - u);
        const qint64 end = endsLines ? edit.oldEnd : before.lineEnd(edit.oldEnd);
        const qint64 newEnd = end + (edit.newEnd - edit.oldEnd);
        if (!blocks.isEmpty() && start < blocks.last().oldEnd) {
            // Ends only grow, and the new end goes with the old one.
            blocks.last().oldEnd = end;
            blocks.last().newEnd = newEnd;
        } else {
            blocks.append({start, end, start + (edit.newStart - edit.oldStart), newEnd, {}, {}});
        }
        blocks.last().oldMarks.append({edit.oldStart, edit.oldEnd});
        blocks.last().newMarks.append({edit.newStart, edit.newEnd});
    }
    return blocks;
}

// Appends the lines of [from, to) of `text` as `kind`; returns how many.
qint64 appendLines(DiffHunk &hunk, const Lines &text, DiffLine::Kind kind, qint64 from,
                   qint64 to, const QList<std::pair<qint64, qint64>> &marks = {})
{
    qint64 count = 0;
    while (from < to) {
        const qint64 end = qMin(text.lineEnd(from), to);
        hunk.lines.append(text.line(kind, from, end, marks));
        from = end;
        ++count;
    }
    return count;
}

} // namespace

QList<DiffHunk> MakeHunks(const QByteArray &before, const QByteArray &after, int encoding,
                          int bomLength, const QList<Edit> &edits,
                          const DisplayCharset *ansiCharset)
{
    const Lines oldText(before, encoding, bomLength, ansiCharset);
    const Lines newText(after, encoding, bomLength, ansiCharset);
    const QList<Block> blocks = changedBlocks(oldText, newText, edits);

    QList<DiffHunk> hunks;
    qint64 countedTo = bomLength;
    qint64 lineNumber = 1;    // of countedTo in the old text
    qint64 lineShift = 0;     // new line number - old line number
    for (qsizetype i = 0; i < blocks.size();) {
        DiffHunk hunk;
        const qint64 from = oldText.linesBack(blocks[i].oldStart, ContextLines);
        lineNumber += oldText.countLineFeeds(countedTo, from);
        countedTo = from;
        hunk.oldStart = lineNumber;
        hunk.newStart = lineNumber + lineShift;

        qint64 at = from;
        qint64 oldCount = 0;
        qint64 newCount = 0;
        for (;;) {
            const Block &block = blocks[i];
            const qint64 context = appendLines(hunk, oldText, DiffLine::Context, at, block.oldStart);
            const qint64 removed = appendLines(hunk, oldText, DiffLine::Removed, block.oldStart,
                                               block.oldEnd, block.oldMarks);
            const qint64 added = appendLines(hunk, newText, DiffLine::Added, block.newStart,
                                             block.newEnd, block.newMarks);
            oldCount += context + removed;
            newCount += context + added;
            lineShift += added - removed;
            at = block.oldEnd;
            ++i;
            const qint64 contextEnd = oldText.linesForward(at, ContextLines);
            if (i < blocks.size() && oldText.linesBack(blocks[i].oldStart, ContextLines) <= contextEnd)
                continue;
            const qint64 context2 = appendLines(hunk, oldText, DiffLine::Context, at, contextEnd);
            oldCount += context2;
            newCount += context2;
            break;
        }
        hunk.oldCount = oldCount;
        hunk.newCount = newCount;
        // An empty side names the line before it, as diff and patch expect.
        hunk.oldStart -= oldCount == 0;
        hunk.newStart -= newCount == 0;
        hunks.append(std::move(hunk));
    }
    return hunks;
}
