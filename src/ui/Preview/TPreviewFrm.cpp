#include "ui/Preview/TPreviewFrm.h"

#include "engine/preview/UnifiedDiff.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QTextCursor>

namespace {

// The colours of the replace confirmation: the found text in the system's
// highlight colour, the replacement in green, both in white letters.
const QColor ReplacementHighlight(0x00, 0x80, 0x00);

void appendLine(QTextCursor &cursor, const DiffLine &line, const QColor &foundColour)
{
    QTextCharFormat plain;
    QTextCharFormat marked;
    marked.setForeground(Qt::white);
    marked.setBackground(line.kind == DiffLine::Added ? ReplacementHighlight : foundColour);
    cursor.insertText(QString(QChar(line.kind)), plain);
    int at = 0;
    for (const auto &[start, length] : line.marks) {
        cursor.insertText(line.text.mid(at, start - at), plain);
        cursor.insertText(line.text.mid(start, length), marked);
        at = start + length;
    }
    cursor.insertText(line.text.mid(at) + u'\n', plain);
}

} // namespace

TPreviewFrm::TPreviewFrm(QWidget *parent)
    : QDialog(parent),
      m_table({QStringLiteral("File name"), QStringLiteral("Coding"),
               QStringLiteral("Replacements")})
{
    setupUi(this);
    setSizeGripEnabled(true);
    FilesGrd->setModel(&m_table);
    FilesGrd->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    FilesGrd->verticalHeader()->hide();
    HunksMmo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(FilesGrd->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TPreviewFrm::FilesGrdSelectionChanged);
    connect(FindAndReplaceBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TPreviewFrm::clear()
{
    m_table.ClearGrid();
    m_hunks.clear();
    m_replacements = 0;
    m_skipped = 0;
    HunksMmo->clear();
}

void TPreviewFrm::fileWouldChange(const FilePreview &file, const UnifiedDiff &diff)
{
    m_replacements += file.replacements;
    m_table.AppendRow({file.path, file.codingName, QString::number(file.replacements)});
    m_hunks.append(diff.hunks());
}

void TPreviewFrm::fileSkipped(const QString &path, const QString &reason)
{
    ++m_skipped;
    m_table.AppendRow({path, QString(), QStringLiteral("skipped (%1)").arg(reason)});
    m_hunks.append(QList<DiffHunk>()); // keeps rows and hunks in step
}

bool TPreviewFrm::ShowPreview()
{
    SummaryLbl->setText(QStringLiteral("%1 file(s) would change, %2 replacement(s), %3 skipped.")
                            .arg(m_hunks.size() - m_skipped)
                            .arg(m_replacements)
                            .arg(m_skipped));
    HunksMmo->clear();
    if (!m_hunks.isEmpty())
        FilesGrd->selectRow(0);
    return exec() == QDialog::Accepted;
}

void TPreviewFrm::FilesGrdSelectionChanged()
{
    HunksMmo->clear();
    const int row = FilesGrd->currentIndex().row();
    if (row < 0 || row >= m_hunks.size())
        return;
    const QColor found = palette().color(QPalette::Active, QPalette::Highlight);
    QTextCursor cursor(HunksMmo->document());
    for (const DiffHunk &hunk : m_hunks[row]) {
        cursor.insertText(QStringLiteral("@@ -%1,%2 +%3,%4 @@\n")
                              .arg(hunk.oldStart)
                              .arg(hunk.oldCount)
                              .arg(hunk.newStart)
                              .arg(hunk.newCount));
        for (const DiffLine &line : hunk.lines)
            appendLine(cursor, line, found);
    }
    HunksMmo->moveCursor(QTextCursor::Start);
}
