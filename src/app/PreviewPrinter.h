#pragma once

#include "engine/preview/FilePreview.h"

#include <QList>
#include <QString>
#include <cstdio>
#include <utility>

// Prints a preview as unified diffs, one file as soon as it is known, and a
// summary at the end. With colour the lines carry ANSI escapes: removed red,
// added green, and the found text and its replacement in reverse video.
class PreviewPrinter : public PreviewReceiver
{
public:
    PreviewPrinter(std::FILE *out, bool color) : m_out(out), m_color(color) {}

    void fileWouldChange(FilePreview file) override;
    void fileSkipped(const QString &path, const QString &reason) override;

    void printSummary();

    // Whether "--color=`when`" (auto, always or never) colours a preview
    // printed to standard output: auto does on a terminal.
    static bool colorWanted(const QString &when);

private:
    void print(const QString &text, const char *style = nullptr);
    void printLine(const DiffLine &line);

    std::FILE *m_out;
    bool m_color;
    qint64 m_files = 0;
    qint64 m_replacements = 0;
    QList<std::pair<QString, QString>> m_skipped;
};
