#pragma once

// The preview library answers "what would change?": the list of edits a run
// made in a buffer and the unified diff hunks drawn from it, without writing
// anything. It uses the text library only.

#include "engine/preview/CodedLines.h"
#include "engine/preview/EditList.h"
#include "engine/preview/FilePreview.h"

struct DisplayCharset;

// The hunks (three lines of context) that turn `before` into `after`, both
// `encoding` 1..4 with a byte-order mark of `bomLength` bytes, given the edits
// between them. Lines end at a line feed of the coding; only the text around
// the edits is read, apart from one count of line feeds for the line numbers,
// and the time taken is linear in that text and the edits. ANSI text is read
// through `ansiCharset` (Windows-1252 when none is given). The diff refers to
// its arguments, which must outlive it.
class UnifiedDiff
{
public:
    UnifiedDiff(const QByteArray &before, const QByteArray &after, int encoding, int bomLength,
                const QList<Edit> &edits, const DisplayCharset *ansiCharset = nullptr);

    // Draws the hunks into `receiver`, holding no more than one line at once.
    void write(HunkReceiver &receiver) const;
    // Every hunk, for a receiver that keeps them all.
    QList<DiffHunk> hunks() const;

private:
    struct Block;
    struct HunkExtent;

    Block blockFrom(qsizetype firstEdit) const;
    HunkExtent walkHunk(qsizetype firstEdit, HunkReceiver *receiver) const;
    qint64 walkLines(DiffLine::Kind kind, qint64 from, qint64 to, MarkCursor marks,
                     HunkReceiver *receiver) const;

    CodedLines m_old;
    CodedLines m_new;
    const QList<Edit> &m_edits;
};
