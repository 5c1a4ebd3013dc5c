#include "ui/ReplaceConfirm/TReplaceConfirmFrm.h"

#include "engine/text/CodePage.h"
#include "services/ProgramInfo.h"
#include "ui/ReplaceConfirm/ShortenPathToWidth.h"
#include "widgets/AnswerKeys.h"
#include "widgets/TSizeGrip.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>

namespace {

constexpr int UpdateSelectionInterval = 250;
constexpr int PlacementOffset = 100;
// The replacement is highlighted in a colour of its own, so it is not taken
// for the text that was found.
const QColor ReplacementHighlight(0x00, 0x80, 0x00);

struct AnswerButton {
    QPushButton *Ui_TReplaceConfirmFrm::*button;
    int result;
    ReplaceAnswer answer;
};

constexpr int CancelResult = 2;

constexpr AnswerButton AnswerButtons[] = {
    {&Ui_TReplaceConfirmFrm::YesBtn, 6, ReplaceAnswer::Yes},
    {&Ui_TReplaceConfirmFrm::YesToAllThisFileBtn, 4, ReplaceAnswer::YesToAllInFile},
    {&Ui_TReplaceConfirmFrm::YesToAllBtn, 10, ReplaceAnswer::YesToAllFiles},
    {&Ui_TReplaceConfirmFrm::NoBtn, 7, ReplaceAnswer::No},
    {&Ui_TReplaceConfirmFrm::NoToAllThisFileBtn, 9, ReplaceAnswer::NoToAllInFile},
    {&Ui_TReplaceConfirmFrm::CancelBtn, CancelResult, ReplaceAnswer::Cancel},
};

ReplaceAnswer answerFor(int result)
{
    for (const AnswerButton &a : AnswerButtons)
        if (a.result == result)
            return a.answer;
    return ReplaceAnswer::Cancel;
}

// The selection is drawn in the same colour whether the memo has the focus or
// not: the highlight is the point of the memo, not a sign of focus.
void setHighlightColour(QTextEdit *memo, const QColor &colour)
{
    QPalette palette = memo->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, colour);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    memo->setPalette(palette);
}

// Selects without scrolling: restoring the highlight must not pull back a
// memo the user scrolled to read more of the context.
void select(QTextEdit *edit, int start, int length)
{
    QScrollBar *vertical = edit->verticalScrollBar();
    QScrollBar *horizontal = edit->horizontalScrollBar();
    const int top = vertical->value();
    const int left = horizontal->value();
    QTextCursor cursor(edit->document());
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    vertical->setValue(top);
    horizontal->setValue(left);
}

// Scrolls the memo so that the line holding `position` sits in the middle of
// the visible lines.
void centreOn(QTextEdit *edit, int position)
{
    QTextCursor cursor(edit->document());
    cursor.setPosition(position);
    const int lineMiddle = edit->cursorRect(cursor).center().y();
    QScrollBar *bar = edit->verticalScrollBar();
    bar->setValue(bar->value() + lineMiddle - edit->viewport()->height() / 2);
}

bool isLeftClick(const QEvent *event)
{
    return event->type() == QEvent::MouseButtonRelease
        && static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton;
}

} // namespace

TReplaceConfirmFrm::TReplaceConfirmFrm(QWidget *parent)
    : QDialog(parent),
      UpdateSelectionTmr(new QTimer(this)),
      m_charset(&DisplayCharsetOrDefault("Default")),
      m_foundMemo{nullptr},
      m_replacementMemo{nullptr}
{
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    new TSizeGrip(this); // owned by the dialog, drawn over its corner
    m_foundMemo.edit = FoundWhatEdt;
    m_replacementMemo.edit = ReplaceWithEdt;

    EmptyStringLbl->hide();
    FindWhatEdt->hide();
    QPalette findWhatPalette = FindWhatEdt->palette();
    findWhatPalette.setColor(QPalette::Base, findWhatPalette.color(QPalette::Button));
    findWhatPalette.setColor(QPalette::Text, Qt::black);
    FindWhatEdt->setPalette(findWhatPalette);
    setHighlightColour(FoundWhatEdt, palette().color(QPalette::Active, QPalette::Highlight));
    setHighlightColour(ReplaceWithEdt, ReplacementHighlight);
    applyWrapMode();

    for (const AnswerButton &a : AnswerButtons)
        connect(this->*a.button, &QPushButton::clicked, this, [this, a] { done(a.result); });
    // Enter in a memo the user clicked into must not replace, nor Escape
    // cancel the batch: only the focused button, or the close box, answers.
    KeepKeysFromAnswering(this);
    for (QWidget *watched : {static_cast<QWidget *>(ShowFindWhatLbl), static_cast<QWidget *>(RedInfoLbl),
                             static_cast<QWidget *>(CharsetLbl), static_cast<QWidget *>(ShowWrappedLbl),
                             FoundWhatEdt->viewport(), ReplaceWithEdt->viewport()})
        watched->installEventFilter(this);

    UpdateSelectionTmr->setObjectName(QStringLiteral("UpdateSelectionTmr"));
    UpdateSelectionTmr->setInterval(UpdateSelectionInterval);
    connect(UpdateSelectionTmr, &QTimer::timeout, this, &TReplaceConfirmFrm::UpdateSelectionTmrTimer);
}

void TReplaceConfirmFrm::SetDisplayCharset(const QByteArray &name)
{
    m_charset = &DisplayCharsetOrDefault(name);
    fillMemos();
}

void TReplaceConfirmFrm::SetEquidistantFont(bool equidistant)
{
    m_equidistant = equidistant;
}

void TReplaceConfirmFrm::SetOccurrence(const QString &before, const QString &found,
                                       const QString &after, const QString &replacement,
                                       const QString &findText)
{
    m_before = before;
    m_found = found;
    m_after = after;
    m_replacement = replacement;
    m_findText = findText;
    EmptyStringLbl->setVisible(replacement.isEmpty());
    fillMemos();
    centreOccurrence();
}

void TReplaceConfirmFrm::SetFileName(const QString &path)
{
    m_fileName = path;
    shortenFileName();
}

ReplaceAnswer TReplaceConfirmFrm::Confirm(const ReplaceConfirmation &match)
{
    RedInfoLbl->setText(CodePage::toQString(match.codingName));
    InfoText = match.codingReport;
    SetDisplayCharset(match.displayCharset);
    SetEquidistantFont(match.equidistantFont);
    SetOccurrence(match.contextBefore, match.foundText, match.contextAfter, match.replacement,
                  match.findText);
    SetFileName(match.path);
    return answerFor(exec());
}

void TReplaceConfirmFrm::setVisible(bool visible)
{
    // The first showing goes up and left of the main window; later showings
    // keep wherever the user left the dialog.
    if (visible && !m_placed) {
        m_placed = true;
        if (QWidget *owner = parentWidget()) {
            const QPoint corner = owner->window()->pos();
            move(qMax(0, corner.x() - PlacementOffset), qMax(0, corner.y() - PlacementOffset));
        }
    }
    QDialog::setVisible(visible);
}

void TReplaceConfirmFrm::reject()
{
    done(CancelResult);
}

bool TReplaceConfirmFrm::eventFilter(QObject *watched, QEvent *event)
{
    for (HighlightedMemo *memo : {&m_foundMemo, &m_replacementMemo}) {
        if (watched != memo->edit->viewport())
            continue;
        if (event->type() == QEvent::MouseButtonPress)
            memo->mouseHeld = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            memo->mouseHeld = static_cast<QMouseEvent *>(event)->buttons() != Qt::NoButton;
        return false;
    }
    if (isLeftClick(event)) {
        if (watched == ShowFindWhatLbl)
            ShowFindWhatLblClick();
        else if (watched == RedInfoLbl)
            RedInfoLblClick();
        else if (watched == CharsetLbl)
            CharsetLblClick();
        else if (watched == ShowWrappedLbl)
            ShowWrappedLblClick();
    }
    return QDialog::eventFilter(watched, event);
}

void TReplaceConfirmFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    applyWrapMode();
    centreOccurrence();
    shortenFileName();
    YesBtn->setFocus();
    UpdateSelectionTmr->start();
}

void TReplaceConfirmFrm::hideEvent(QHideEvent *event)
{
    UpdateSelectionTmr->stop();
    QDialog::hideEvent(event);
}

void TReplaceConfirmFrm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    centreOccurrence();
    shortenFileName();
}

void TReplaceConfirmFrm::ShowFindWhatLblClick()
{
    m_showFindWhat = !m_showFindWhat;
    FindWhatEdt->setVisible(m_showFindWhat);
    ShowFindWhatLbl->setText(m_showFindWhat ? QStringLiteral("Hide Find-what string")
                                            : QStringLiteral("Show Find-what string"));
    layout()->activate();
    fillMemos();
    centreOccurrence();
}

void TReplaceConfirmFrm::RedInfoLblClick()
{
    QMessageBox::information(this, QString::fromLatin1(ApplicationTitle), InfoText);
}

void TReplaceConfirmFrm::CharsetLblClick()
{
    QMessageBox::information(this, QString::fromLatin1(ApplicationTitle),
                             QStringLiteral("What you see is:\n")
                                 + QString::fromLatin1(m_charset->name));
}

void TReplaceConfirmFrm::ShowWrappedLblClick()
{
    m_wrapped = !m_wrapped;
    applyWrapMode();
    fillMemos();
    centreOccurrence();
}

// A click into a memo removes its highlight; it comes back unless the user
// holds a mouse button there (selecting text to copy) or left a selection.
void TReplaceConfirmFrm::UpdateSelectionTmrTimer()
{
    for (const HighlightedMemo *memo : {&m_foundMemo, &m_replacementMemo})
        if (!memo->mouseHeld && !memo->edit->textCursor().hasSelection())
            select(memo->edit, memo->start, memo->length);
}

// The text with each CR LF as one line break, so that a highlight position
// counts what the memo holds.
QString TReplaceConfirmFrm::displayed(const QString &text)
{
    return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void TReplaceConfirmFrm::fillMemos()
{
    FindWhatEdt->setPlainText(displayed(m_findText));
    FindWhatEdt->moveCursor(QTextCursor::Start);

    const QFont font = m_equidistant ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                                     : QApplication::font();
    FoundWhatEdt->setFont(font);
    ReplaceWithEdt->setFont(font);
    const QString before = displayed(m_before);
    const QString after = displayed(m_after);
    fill(m_foundMemo, before, displayed(m_found), after);
    fill(m_replacementMemo, before, displayed(m_replacement), after);
}

void TReplaceConfirmFrm::fill(HighlightedMemo &memo, const QString &before, const QString &middle,
                              const QString &after)
{
    memo.edit->setPlainText(before + middle + after);
    memo.start = int(before.size());
    memo.length = int(middle.size());
    select(memo.edit, memo.start, memo.length);
}

void TReplaceConfirmFrm::applyWrapMode()
{
    for (QTextEdit *memo : {FindWhatEdt, FoundWhatEdt, ReplaceWithEdt}) {
        memo->setLineWrapMode(m_wrapped ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
        memo->setHorizontalScrollBarPolicy(m_wrapped ? Qt::ScrollBarAlwaysOff
                                                     : Qt::ScrollBarAsNeeded);
    }
    ShowWrappedLbl->setText(m_wrapped ? QStringLiteral("Show plain")
                                      : QStringLiteral("Show wrapped"));
}

void TReplaceConfirmFrm::centreOccurrence()
{
    for (const HighlightedMemo *memo : {&m_foundMemo, &m_replacementMemo})
        centreOn(memo->edit, memo->start);
}

void TReplaceConfirmFrm::shortenFileName()
{
    FileNameLbl->setText(ShortenPathToWidth(m_fileName, FileNameLbl->width(), FileNameLbl->font()));
}
