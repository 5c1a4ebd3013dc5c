#pragma once

#include <QList>
#include <QString>
#include <utility>

// One line of a hunk, decoded from the file's coding, without its line break.
struct DiffLine {
    enum Kind : char { Context = ' ', Removed = '-', Added = '+' };
    Kind kind = Context;
    QString text;
    // Stretches of `text` (start, length) that a replacement removed (in a
    // removed line) or put in (in an added line).
    QList<std::pair<int, int>> marks;
    bool missingNewline = false; // the last line of a file without a final break
};

// Where a hunk in unified diff form lies; line numbers count from 1.
struct HunkRange {
    qint64 oldStart = 0;
    qint64 oldCount = 0;
    qint64 newStart = 0;
    qint64 newCount = 0;
};

struct DiffHunk : HunkRange {
    QList<DiffLine> lines;
};

// Takes a file's hunks in order as they are drawn, one line at a time, so
// that a long diff need not be held whole.
class HunkReceiver
{
public:
    virtual ~HunkReceiver() = default;
    virtual void hunkBegan(const HunkRange &range) = 0;
    virtual void hunkLine(const DiffLine &line) = 0;
};

class UnifiedDiff;

// What a run would do to one file, apart from its hunks.
struct FilePreview {
    QString path;
    QString codingName;
    qint64 occurrences = 0;
    qint64 replacements = 0;
};

// Receives a preview run's findings instead of files being written, each
// file as soon as it is done.
class PreviewReceiver
{
public:
    virtual ~PreviewReceiver() = default;
    // `diff` draws the file's hunks while the call lasts; the receiver takes
    // from it what it keeps.
    virtual void fileWouldChange(const FilePreview &file, const UnifiedDiff &diff) = 0;
    // `reason`: "binary", "unreadable", "too large", "read-only", or "would
    // ask" for a file the run would ask the user about (binary or read-only).
    virtual void fileSkipped(const QString &path, const QString &reason) = 0;
};
