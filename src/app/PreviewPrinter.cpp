#include "app/PreviewPrinter.h"

#include "engine/preview/UnifiedDiff.h"

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

// Written whole, so that a line holding a null character is not cut there.
void PreviewPrinter::print(const QString &text, const char *style)
{
    const QByteArray bytes = text.toUtf8();
    const bool styled = m_color && style;
    if (styled)
        std::fprintf(m_out, "\x1b[%sm", style);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
    std::fputs(styled ? "\x1b[m\n" : "\n", m_out);
}

void PreviewPrinter::hunkBegan(const HunkRange &hunk)
{
    print(QStringLiteral("@@ -%1,%2 +%3,%4 @@")
              .arg(hunk.oldStart)
              .arg(hunk.oldCount)
              .arg(hunk.newStart)
              .arg(hunk.newCount),
          HunkStyle);
}

void PreviewPrinter::hunkLine(const DiffLine &line)
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

void PreviewPrinter::fileWouldChange(const FilePreview &file, const UnifiedDiff &diff)
{
    ++m_files;
    m_replacements += file.replacements;
    print(file.path + QStringLiteral(" (") + file.codingName + QStringLiteral(", ")
              + plural(file.replacements, QStringLiteral("replacement")) + u')',
          Bold);
    print(QStringLiteral("--- ") + file.path, Bold);
    print(QStringLiteral("+++ ") + file.path, Bold);
    diff.write(*this);
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
