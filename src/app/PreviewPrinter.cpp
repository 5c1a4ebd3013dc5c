#include "app/PreviewPrinter.h"

#include <unistd.h>

namespace {

const char Bold[] = "1";
const char HunkStyle[] = "36";
const char RemovedStyle[] = "31";
const char AddedStyle[] = "32";

QString plural(qint64 count, const QString &word)
{
    return QString::number(count) + u' ' + word + (count == 1 ? QString() : QStringLiteral("s"));
}

} // namespace

void PreviewPrinter::print(const QString &text, const char *style)
{
    const QByteArray bytes = text.toUtf8();
    if (m_color && style)
        std::fprintf(m_out, "\x1b[%sm%s\x1b[m\n", style, bytes.constData());
    else
        std::fprintf(m_out, "%s\n", bytes.constData());
}

void PreviewPrinter::printLine(const DiffLine &line)
{
    const char *style = line.kind == DiffLine::Removed ? RemovedStyle
        : line.kind == DiffLine::Added                 ? AddedStyle
                                                       : nullptr;
    QString text = QChar(line.kind);
    if (m_color && style) {
        // Marks in reverse video; the line colour stays on around them.
        int at = 0;
        for (const auto &[start, length] : line.marks) {
            text += line.text.mid(at, start - at) + QStringLiteral("\x1b[7m")
                + line.text.mid(start, length) + QStringLiteral("\x1b[27m");
            at = start + length;
        }
        text += line.text.mid(at);
    } else {
        text += line.text;
    }
    print(text, style);
    if (line.missingNewline)
        print(QStringLiteral("\\ No newline at end of file"));
}

void PreviewPrinter::fileWouldChange(FilePreview file)
{
    ++m_files;
    m_replacements += file.replacements;
    print(file.path + QStringLiteral(" (") + file.codingName + QStringLiteral(", ")
              + plural(file.replacements, QStringLiteral("replacement")) + u')',
          Bold);
    print(QStringLiteral("--- ") + file.path, Bold);
    print(QStringLiteral("+++ ") + file.path, Bold);
    for (const DiffHunk &hunk : file.hunks) {
        print(QStringLiteral("@@ -%1,%2 +%3,%4 @@")
                  .arg(hunk.oldStart)
                  .arg(hunk.oldCount)
                  .arg(hunk.newStart)
                  .arg(hunk.newCount),
              HunkStyle);
        for (const DiffLine &line : hunk.lines)
            printLine(line);
    }
    std::fflush(m_out);
}

void PreviewPrinter::fileSkipped(const QString &path, const QString &reason)
{
    m_skipped.append({path, reason});
}

void PreviewPrinter::printSummary()
{
    print(QString());
    print(plural(m_files, QStringLiteral("file")) + QStringLiteral(" would change, ")
          + plural(m_replacements, QStringLiteral("replacement")) + u'.');
    if (!m_skipped.isEmpty()) {
        print(plural(m_skipped.size(), QStringLiteral("file")) + QStringLiteral(" would be skipped:"));
        for (const auto &[path, reason] : m_skipped)
            print(QStringLiteral("  ") + path + QStringLiteral(" (") + reason + u')');
    }
    std::fflush(m_out);
}

bool PreviewPrinter::colorWanted(const QString &when)
{
    return when == QStringLiteral("always")
        || (when == QStringLiteral("auto") && ::isatty(STDOUT_FILENO));
}
