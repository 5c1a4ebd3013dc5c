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

// A hunk in unified diff form; line numbers count from 1.
struct DiffHunk {
    qint64 oldStart = 0;
    qint64 oldCount = 0;
    qint64 newStart = 0;
    qint64 newCount = 0;
    QList<DiffLine> lines;
};

// What a run would do to one file.
struct FilePreview {
    QString path;
    QString codingName;
    qint64 occurrences = 0;
    qint64 replacements = 0;
    QList<DiffHunk> hunks;
};

// Receives a preview run's findings instead of files being written.
class PreviewReceiver
{
public:
    virtual ~PreviewReceiver() = default;
    virtual void fileWouldChange(FilePreview file) = 0;
    // `reason`: "binary", "unreadable", "too large", "read-only", or "would
    // ask" for a file the run would ask the user about (binary or read-only).
    virtual void fileSkipped(const QString &path, const QString &reason) = 0;
};
