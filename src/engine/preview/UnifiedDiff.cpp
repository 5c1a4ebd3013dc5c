#include "engine/preview/UnifiedDiff.h"

namespace {

constexpr int ContextLines = 3;

// Keeps every hunk it is given.
class HunkCollector : public HunkReceiver
{
public:
    QList<DiffHunk> hunks;

    void hunkBegan(const HunkRange &range) override { hunks.append({range, {}}); }
    void hunkLine(const DiffLine &line) override { hunks.last().lines.append(line); }
};

} // namespace

// Whole lines that differ: old [oldStart, oldEnd) became new [newStart,
// newEnd) through the edits [firstEdit, endEdit).
struct UnifiedDiff::Block {
    qint64 oldStart, oldEnd, newStart, newEnd;
    qsizetype firstEdit, endEdit;
};

// A hunk's lines from `from` of the old text, and the edit after it.
struct UnifiedDiff::HunkExtent {
    qint64 from = 0;
    qint64 oldCount = 0;
    qint64 newCount = 0;
    qsizetype endEdit = 0;
};

UnifiedDiff::UnifiedDiff(const QByteArray &before, const QByteArray &after, int encoding,
                         int bomLength, const QList<Edit> &edits,
                         const DisplayCharset *ansiCharset)
    : m_old(before, encoding, bomLength, ansiCharset),
      m_new(after, encoding, bomLength, ansiCharset),
      m_edits(edits)
{
}

// The block ends at a line start or at the end of the text. The end of the
// line last searched for is kept, so that many edits on one long line search
// it once.
UnifiedDiff::Block UnifiedDiff::blockFrom(qsizetype firstEdit) const
{
    const int u = m_old.unit();
    const Edit &first = m_edits[firstEdit];
    const qint64 start = m_old.lineStart(first.oldStart);
    Block block{start, start, start + (first.newStart - first.oldStart), 0, firstEdit, firstEdit};
    qint64 searchedFrom = 0;
    qint64 foundEnd = -1;
    for (qsizetype i = firstEdit; i < m_edits.size(); ++i) {
        const Edit &edit = m_edits[i];
        // A later edit belongs to the block when it starts on one of its
        // lines, the unfinished last line of the text included.
        if (i > firstEdit && edit.oldStart >= block.oldEnd
            && (edit.oldStart > block.oldEnd || m_old.atLineStart(edit.oldStart)))
            break;
        // An edit that ends with a line break on both sides ends its lines
        // there; otherwise the rest of the line is part of the change.
        const bool endsLines = edit.oldEnd > edit.oldStart && edit.newEnd > edit.newStart
            && m_old.lineFeedAt(edit.oldEnd - u) && m_new.lineFeedAt(edit.newEnd - u);
        if (!endsLines && !(edit.oldEnd >= searchedFrom && edit.oldEnd < foundEnd)) {
            searchedFrom = edit.oldEnd;
            foundEnd = m_old.lineEnd(edit.oldEnd);
        }
        block.oldEnd = endsLines ? edit.oldEnd : foundEnd;
        block.newEnd = block.oldEnd + (edit.newEnd - edit.oldEnd);
        block.endEdit = i + 1;
    }
    return block;
}

// The lines of [from, to) as `kind`: how many, and with a receiver drawn.
qint64 UnifiedDiff::walkLines(DiffLine::Kind kind, qint64 from, qint64 to, MarkCursor marks,
                              HunkReceiver *receiver) const
{
    const CodedLines &text = kind == DiffLine::Added ? m_new : m_old;
    if (!receiver)
        return text.countLines(from, to);
    qint64 count = 0;
    while (from < to) {
        const qint64 end = qMin(text.lineEnd(from), to);
        receiver->hunkLine(text.line(kind, from, end, marks));
        from = end;
        ++count;
    }
    return count;
}

// Goes through the hunk that begins with the block of `firstEdit`: blocks
// join while their context lines meet.
UnifiedDiff::HunkExtent UnifiedDiff::walkHunk(qsizetype firstEdit, HunkReceiver *receiver) const
{
    Block block = blockFrom(firstEdit);
    HunkExtent extent;
    extent.from = m_old.linesBack(block.oldStart, ContextLines);
    qint64 at = extent.from;
    for (;;) {
        const Edit *edits = m_edits.constData();
        const MarkCursor oldMarks{edits + block.firstEdit, edits + block.endEdit, false};
        const MarkCursor newMarks{edits + block.firstEdit, edits + block.endEdit, true};
        const qint64 context = walkLines(DiffLine::Context, at, block.oldStart, {}, receiver);
        const qint64 removed =
            walkLines(DiffLine::Removed, block.oldStart, block.oldEnd, oldMarks, receiver);
        const qint64 added =
            walkLines(DiffLine::Added, block.newStart, block.newEnd, newMarks, receiver);
        extent.oldCount += context + removed;
        extent.newCount += context + added;
        at = block.oldEnd;
        const qint64 contextEnd = m_old.linesForward(at, ContextLines);
        const qsizetype next = block.endEdit;
        if (next < m_edits.size()
            && m_old.linesBack(m_old.lineStart(m_edits[next].oldStart), ContextLines)
                <= contextEnd) {
            block = blockFrom(next);
            continue;
        }
        const qint64 trailing = walkLines(DiffLine::Context, at, contextEnd, {}, receiver);
        extent.oldCount += trailing;
        extent.newCount += trailing;
        extent.endEdit = next;
        return extent;
    }
}

// Each hunk is walked twice: once to count its lines for its header, then to
// draw them.
void UnifiedDiff::write(HunkReceiver &receiver) const
{
    qint64 countedTo = m_old.textStart();
    qint64 lineNumber = 1; // of countedTo in the old text
    qint64 lineShift = 0;  // new line number - old line number
    for (qsizetype first = 0; first < m_edits.size();) {
        const HunkExtent extent = walkHunk(first, nullptr);
        lineNumber += m_old.countLineFeeds(countedTo, extent.from);
        countedTo = extent.from;
        // An empty side names the line before it, as diff and patch expect.
        receiver.hunkBegan({lineNumber - (extent.oldCount == 0), extent.oldCount,
                            lineNumber + lineShift - (extent.newCount == 0), extent.newCount});
        walkHunk(first, &receiver);
        lineShift += extent.newCount - extent.oldCount;
        first = extent.endEdit;
    }
}

QList<DiffHunk> UnifiedDiff::hunks() const
{
    HunkCollector collector;
    write(collector);
    return collector.hunks;
}
