#include "ui/Wizard/TWizardFrm.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int LastSetUpStage = 7;
constexpr int LastStage = 10;

// The stage texts, 1 to 10 (an ampersand is a plain character here).
const char *const StageTexts[LastStage] = {
    "This is the Wizard that will help you to make all the necessary settings and start the batch "
    "process. Click Next to continue, or Close to escape",
    "You will be replacing strings in files. It is necessary to define the folders in which the files "
    "will be searched for.\nAt least one folder must be specifed.\nClick the [Add] button on the tab "
    "Folders to add a folder.",
    "It is necessary to specify in what files the replacements will happen. You can use wild cards (* "
    "and ?) to specify files, e.g. *.htm selects all HTML files.\nClick the [Add] button on the tab "
    "Files to add a new definition. If you want to exclude some files, add their definitions to the "
    "section Exclude Files.",
    "Next, specify the strings (texts) that you want to find, and strings (texts) that will replace the "
    "found ones. Consider that the texts can be multi-line.\nClick [Add] button on the tab Strings to "
    "add a new pair of strings.",
    "Finally, define some more options for the find & replace process. However, we strongly recommend "
    "not to change the default values in order you have the full control above the process and you can "
    "return to previous state from back-ups that the application automatically creates.",
    "Now it's the best time to save your settings so that you can load them and use next time. Select "
    "File | Save As from the main menu, and save the settings to a file.",
    "You are now ready to start the find & replace process. Select Action | Find & Replace from the main "
    "menu to begin.",
    "This is the list of files that were found in the specified folders and comply to the specified "
    "types.\nClick [Remove from List] to exclude one file.\nClick [Continue] to start with the find & "
    "replace process.",
    "This dialog shows the found string (red) and the string for replacement (green).\nClick [Yes] to do "
    "this replacement and continue.\nClick [Yes to All] to replace this and all the following ones "
    "without prompting.\nClick [No] to skip this replacement and continue.\nClick [Cancel] not to "
    "replacement anything and break the batch.",
    "The find & replace process is finished.\nThe table shows files in which the searched strings were "
    "found and the replacements made.\nWe recommend you now to check how the result looks like. If it is "
    "not what was expected you can restore modified files from BACKUP folders",
};

// The main window page each stage turns to; -1 leaves the page as it is.
constexpr int StagePages[LastStage] = {-1, 0, 1, 2, 3, 3, -1, -1, -1, -1};

constexpr int ScreenMargin = 5;

} // namespace

TWizardFrm::TWizardFrm(QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint), MainTmr(new QTimer(this)),
      m_mainWindow(mainWindow)
{
    setupUi(this);
    setAttribute(Qt::WA_ShowWithoutActivating);

    // Tooltip colours; a disabled link keeps the palette's disabled text.
    QPalette hint = MainPnl->palette();
    hint.setColor(QPalette::Window, hint.color(QPalette::ToolTipBase));
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        hint.setColor(group, QPalette::WindowText, hint.color(group, QPalette::ToolTipText));
    MainPnl->setPalette(hint);

    for (QWidget *body : {static_cast<QWidget *>(MainPnl), static_cast<QWidget *>(MainTextTxt)})
        body->installEventFilter(this);
    for (QLabel *link : {PrevLbl, NextLbl, CancelLbl})
        link->installEventFilter(this);

    MainTmr->setInterval(250);
    connect(MainTmr, &QTimer::timeout, this, &TWizardFrm::MainTmrTimer);
    fitTallestText();
    DisplayStage();
}

// The window keeps its designed width and one height for all stages; the
// height grows beyond the designed one when the font would cut the longest
// text off.
void TWizardFrm::fitTallestText()
{
    int height = minimumHeight();
    for (const char *text : StageTexts) {
        MainTextTxt->setText(QString::fromLatin1(text));
        // The panel's layout caches its height for a width until invalidated.
        PanelLayout->invalidate();
        height = std::max(height, MainPnl->heightForWidth(width()));
    }
    setFixedHeight(height);
}

void TWizardFrm::SetStage(int n)
{
    if (n < 1 || n > LastStage)
        return;
    m_stage = n;
    DisplayStage();
}

void TWizardFrm::SetLinksVisible(bool on)
{
    m_linksVisible = on;
    UpdateLinks();
}

void TWizardFrm::MainTmrTimer()
{
    const QWidget *active = QApplication::activeWindow();
    SetLinksVisible(active && (active == this || active == m_mainWindow));
}

void TWizardFrm::UpdateLinks()
{
    const bool setUpStage = m_stage <= LastSetUpStage;
    PrevLbl->setEnabled(m_stage > 1);
    NextLbl->setEnabled(m_stage < LastSetUpStage);
    PrevLbl->setVisible(setUpStage && m_linksVisible);
    NextLbl->setVisible(setUpStage && m_linksVisible);
    CancelLbl->setVisible(m_linksVisible);
}

void TWizardFrm::DisplayStage()
{
    UpdateLinks();
    ProgressLbl->setText(m_stage <= LastSetUpStage ? QStringLiteral("%1/%2").arg(m_stage).arg(LastSetUpStage)
                                                   : QString());
    if (const int page = StagePages[m_stage - 1]; page >= 0)
        emit pageRequested(page);
    MainTextTxt->setText(QString::fromLatin1(StageTexts[m_stage - 1]));
}

void TWizardFrm::PrevLblClick()
{
    if (m_stage > 1)
        SetStage(m_stage - 1);
}

void TWizardFrm::NextLblClick()
{
    if (m_stage < LastSetUpStage)
        SetStage(m_stage + 1);
}

void TWizardFrm::CancelLblClick()
{
    hide();
}

// Every showing starts over at stage 1 in the top right corner of the screen.
void TWizardFrm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    const QScreen *screen = m_mainWindow ? m_mainWindow->screen() : this->screen();
    const QRect area = screen->availableGeometry();
    move(area.x() + area.width() - width() - ScreenMargin, area.y() + ScreenMargin);
    m_dragging = false;
    SetStage(1);
    MainTmr->start();
}

void TWizardFrm::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        MainTmr->stop();
}

bool TWizardFrm::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    auto *link = qobject_cast<QLabel *>(watched);
    if (link == PrevLbl || link == NextLbl || link == CancelLbl) {
        // The link takes its own presses, so they neither drag the window nor
        // reach the panel; a release over the link is the click.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton
            && link->rect().contains(mouse->position().toPoint())) {
            if (link == PrevLbl)
                PrevLblClick();
            else if (link == NextLbl)
                NextLblClick();
            else
                CancelLblClick();
        }
        return true;
    }
    drag(*static_cast<QMouseEvent *>(event));
    return true;
}

// Moves the window with the mouse while a button is held on its body.
void TWizardFrm::drag(const QMouseEvent &event)
{
    const QPoint global = event.globalPosition().toPoint();
    switch (event.type()) {
    case QEvent::MouseButtonPress:
        m_dragging = true;
        m_dragOrigin = global;
        m_dragWindowPos = pos();
        break;
    case QEvent::MouseMove:
        if (m_dragging)
            move(m_dragWindowPos + global - m_dragOrigin);
        break;
    default:
        m_dragging = false;
        break;
    }
}
