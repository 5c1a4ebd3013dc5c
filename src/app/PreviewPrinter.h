#pragma once

#include "engine/preview/FilePreview.h"

#include <QList>
#include <QString>
#include <cstdio>
#include <utility>

// Prints a preview as unified diffs, one file as soon as it is known and
// each line as soon as it is drawn, and a summary at the end. With colour the
// lines carry ANSI escapes: removed red, added green, and the found text and
// its replacement in reverse video.
class PreviewPrinter : public PreviewReceiver, private HunkReceiver
{
public:
    PreviewPrinter(std::FILE *out, bool color) : m_out(out), m_color(color) {}

    void fileWouldChange(const FilePreview &file, const UnifiedDiff &diff) override;
    void fileSkipped(const QString &path, const QString &reason) override;

    void printSummary();

    // Whether "--color=`when`" (auto, always or never) colours a preview
    // printed to standard output: auto does on a terminal.
    static bool colorWanted(const QString &when);

private:
    void hunkBegan(const HunkRange &hunk) override;
    void hunkLine(const DiffLine &line) override;
    void print(const QString &text, const char *style = nullptr);

    std::FILE *m_out;
    bool m_color;
    qint64 m_files = 0;
    qint64 m_replacements = 0;
    QList<std::pair<QString, QString>> m_skipped;
};
