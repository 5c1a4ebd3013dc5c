#include "ui/MainWindow/TPKSarvonexFrm.h"

#include "engine/journal/RunJournal.h"
#include "engine/journal/RunUndo.h"
#include "engine/run/FileCollector.h"
#include "engine/run/FileProcessor.h"
#include "services/ProgramInfo.h"
#include "services/WorkerThreads.h"
#include "settings/SettingsFileError.h"
#include "ui/EditDirs/TEditDirsFrm.h"
#include "ui/EditFileType/TEditFileTypeFrm.h"
#include "ui/EditStrings/TEditStringsFrm.h"
#include "ui/FileList/TFileListFrm.h"
#include "ui/MainWindow/StringOptionsDelegate.h"
#include "ui/MainWindow/TFileHistory.h"
#include "ui/Preview/TPreviewFrm.h"
#include "ui/ReplaceConfirm/TReplaceConfirmFrm.h"
#include "ui/Statistics/TStatisticsFrm.h"
#include "ui/Wizard/TWizardFrm.h"
#include "widgets/AboutBox.h"
#include "widgets/HelpFile.h"
#include "widgets/TStickyForm.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <functional>

namespace {

// The client area the window opens with; it is also its smallest size.
constexpr int CreationWidth = 656;
constexpr int CreationHeight = 435;
constexpr int StatusPanelWidth = 50;
constexpr int MaxCaption = 255;
// Off every screen, for a run that asks nothing of the user.
constexpr int OffScreenLeft = -30000;

const char tipMessage[] = "The easiest way to make all the settings is to use the Wizard.\n\n"
                          "Select File | New | Wizard... from the main menu to start it.";
const char closeDuringRunQuestion[] =
    "Application can't be terminated.\nBreak the find & replace process first.\n\n"
    "Do you want to terminate it anyway (not recommended)?";

} // namespace

TPKSarvonexFrm::TPKSarvonexFrm(const StartupRequest &startup, QWidget *parent)
    : QMainWindow(parent),
      m_host(*this),
      m_run{m_host, m_runState, m_job},
      m_files(newFileListTable()),
      m_statistics(newStatisticsTable()),
      m_batch(m_run, *m_files, *m_statistics),
      m_startup(startup),
      m_title(QString::fromLatin1(ApplicationTitle))
{
    setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_runState.unattended = startup.unattended;
    m_runState.workerThreads = WorkerThreadsFromEnvironment();

    ProgressPanel = new QLabel(this);
    ProgressPanel->setMinimumWidth(StatusPanelWidth);
    StatusPanel = new QLabel(this);
    StatusPanel->setMinimumWidth(StatusPanelWidth);
    StatusBar->addWidget(ProgressPanel);
    StatusBar->addWidget(StatusPanel, 1);

    setToolBarIcons();
    setUpGrids();
    createDialogs();

    RecentFiles = new TFileHistory(this);
    RecentFiles->setImage(style()->standardIcon(QStyle::SP_FileIcon));
    RecentFiles->Attach(FileMnu, 4, [this](QAction *item) { HistoryClick(item); });

    connectCommands();
    connectListCommands();
    connectOptions();
    m_batch.setAutomaticSave([this] {
        // Without a file the job is saved as the Save command would: the
        // user names one, and a cancelled Save As stops the run.
        if (!SaveMnuClick())
            throw RunNotStarted();
    });
    OptionsToControls();
    readLastRun();

    const int menuHeight = menuBar()->sizeHint().height();
    resize(QSize(CreationWidth, CreationHeight + menuHeight).expandedTo(minimumSizeHint()));
    setMinimumSize(size());
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    if (m_runState.unattended)
        move(OffScreenLeft, y());
    UpdateCommandStates();
}

TPKSarvonexFrm::~TPKSarvonexFrm() = default;

void TPKSarvonexFrm::setToolBarIcons()
{
    const auto icon = [this](const char *themeName, QStyle::StandardPixmap fallback) {
        return QIcon::fromTheme(QLatin1String(themeName), style()->standardIcon(fallback));
    };
    NewBtn->setIcon(icon("document-new", QStyle::SP_FileIcon));
    NewWizardBtn->setIcon(icon("tools-wizard", QStyle::SP_FileDialogContentsView));
    SimpleReplacementBtn->setIcon(icon("edit-find-replace", QStyle::SP_FileDialogDetailedView));
    OpenBtn->setIcon(icon("document-open", QStyle::SP_DialogOpenButton));
    SaveBtn->setIcon(icon("document-save", QStyle::SP_DialogSaveButton));
    RunBtn->setIcon(icon("media-playback-start", QStyle::SP_MediaPlay));
    BreakProcessBtn->setIcon(icon("process-stop", QStyle::SP_BrowserStop));
    MainHelpBtn->setIcon(icon("help-contents", QStyle::SP_DialogHelpButton));
    OpenMnu->setIcon(OpenBtn->icon());
    SaveMnu->setIcon(SaveBtn->icon());
    FindAndReplaceMnu->setIcon(RunBtn->icon());
    BreakProcessMnu->setIcon(BreakProcessBtn->icon());
    Help1->setIcon(MainHelpBtn->icon());
}

void TPKSarvonexFrm::setUpGrids()
{
    const std::pair<QTableView *, TextTable *> grids[] = {
        {DirsGrd, &m_job.folders()},
        {FileTypesGrd, &m_job.fileTypes()},
        {ExclFileTypesGrd, &m_job.excludedFileTypes()},
        {StringsGrd, &m_job.stringPairs()},
    };
    for (const auto &[grid, table] : grids) {
        grid->setModel(table);
        grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
        grid->horizontalHeader()->setStretchLastSection(false);
        // Tab leaves the grid for its buttons, as in every other list.
        grid->setTabKeyNavigation(false);
        grid->installEventFilter(this);
        grid->viewport()->installEventFilter(this);
        selectRow(grid, 1);
    }
    StringsGrd->setItemDelegateForColumn(2, new StringOptionsDelegate(StringsGrd));
    setDesignedColumnWidths();
}

void TPKSarvonexFrm::createDialogs()
{
    EditDirsFrm = new TEditDirsFrm(m_job, this);
    EditFileTypeFrm = new TEditFileTypeFrm(this);
    EditStringsFrm = new TEditStringsFrm(this);
    FileListFrm = new TFileListFrm(this);
    ReplaceConfirmFrm = new TReplaceConfirmFrm(this);
    StatisticsFrm = new TStatisticsFrm(this);
    WizardFrm = new TWizardFrm(this);
    PreviewFrm = new TPreviewFrm(this);
    connect(WizardFrm, &TWizardFrm::pageRequested, PageControl1, &QTabWidget::setCurrentIndex);

    // The two dialogs switch their option off (or on again) at once, as a
    // change on the Options page would.
    connect(FileListFrm, &TFileListFrm::showFileListChanged, this, [this](bool show) {
        ShowFileListChk->setChecked(show);
        optionsEdited();
    });
    connect(StatisticsFrm, &TStatisticsFrm::showFinalStatsChanged, this, [this](bool show) {
        ShowFinalStatsChk->setChecked(show);
        optionsEdited();
    });
}

void TPKSarvonexFrm::connectCommands()
{
    const auto command = [this](QAction *action, auto handler) {
        connect(action, &QAction::triggered, this,
                [this, handler] { guarded([=, this] { std::invoke(handler, this); }); });
    };
    command(NewBtn, &TPKSarvonexFrm::NewMnuClick);
    command(ClearListsMnu, &TPKSarvonexFrm::NewMnuClick);
    command(NewWizardBtn, &TPKSarvonexFrm::Wizard1Click);
    command(Wizard1, &TPKSarvonexFrm::Wizard1Click);
    command(SimpleReplacementBtn, &TPKSarvonexFrm::ReplaceinOneFile1Click);
    command(ReplaceinOneFile1, &TPKSarvonexFrm::ReplaceinOneFile1Click);
    command(OpenBtn, &TPKSarvonexFrm::OpenMnuClick);
    command(OpenMnu, &TPKSarvonexFrm::OpenMnuClick);
    command(SaveBtn, &TPKSarvonexFrm::SaveMnuClick);
    command(SaveMnu, &TPKSarvonexFrm::SaveMnuClick);
    command(SaveAsMnu, &TPKSarvonexFrm::SaveAsMnuClick);
    command(RunBtn, &TPKSarvonexFrm::FindAndReplaceMnuClick);
    command(FindAndReplaceMnu, &TPKSarvonexFrm::FindAndReplaceMnuClick);
    command(BreakProcessBtn, &TPKSarvonexFrm::BreakProcessBtnClick);
    command(BreakProcessMnu, &TPKSarvonexFrm::BreakProcessBtnClick);
    command(PreviewMnu, &TPKSarvonexFrm::PreviewMnuClick);
    command(UndoLastRunMnu, &TPKSarvonexFrm::UndoLastRunMnuClick);
    command(MainHelpBtn, &TPKSarvonexFrm::Help1Click);
    command(Help1, &TPKSarvonexFrm::Help1Click);
    command(AboutMnu, &TPKSarvonexFrm::AboutMnuClick);
    connect(Exit1, &QAction::triggered, this, &QWidget::close);

    for (QToolButton *help : {FoldersHelpBtn, FilesHelpBtn, StringsHelpBtn, OptionsHelpBtn}) {
        help->setIcon(MainHelpBtn->icon());
        connect(help, &QToolButton::clicked, this,
                [this, help] { SpeedButton3Click(help->toolTip()); });
    }
    for (QMenu *menu : {FileMnu, ActionMnu, HelpMnu})
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { enableMenuItems(menu); });
    // F10 opens the menu, as Alt with a menu's underlined letter does.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(FileMnu->menuAction()); });
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { FormResize(); });
}

void TPKSarvonexFrm::guarded(const std::function<void()> &command)
{
    try {
        command();
    } catch (const SettingsFileError &error) {
        showSettingsError(error.message());
    } catch (const RunNotStarted &) {
    }
}

void TPKSarvonexFrm::showSettingsError(const QString &message)
{
    QMessageBox::critical(m_host.dialogParent(), m_title, message);
}

void TPKSarvonexFrm::UpdateCommandStates()
{
    // The caption is cut to its longest length after each of its steps.
    QString caption = (QString::fromLatin1(ApplicationTitle) + QLatin1String(" [")).left(MaxCaption);
    if (Modified)
        caption = (caption + QLatin1Char('*')).left(MaxCaption);
    caption = (caption + QFileInfo(SettingsFileName).fileName()).left(MaxCaption);
    caption = (caption + QLatin1Char(']')).left(MaxCaption);
    // While an unattended run shows its progress as the program's title, the
    // window (the task bar entry) shows that instead.
    // Qt reads "[*]" in a title as the place of its own modified mark and
    // drops it; "[*][*]" is how a title shows the text "[*]" itself.
    QString title = m_title == QLatin1String(ApplicationTitle) ? caption : m_title;
    setWindowTitle(title.replace(QLatin1String("[*]"), QLatin1String("[*][*]")));

    const bool idle = !Processing();
    for (QAction *command : {NewBtn, NewWizardBtn, SimpleReplacementBtn, OpenBtn, SaveBtn, RunBtn,
                             MainHelpBtn})
        command->setEnabled(idle);
    PageControl1->setEnabled(idle);
    BreakProcessBtn->setEnabled(!idle);
    // Menu shortcuts work without the menu being opened: their items follow
    // at once as well.
    for (QMenu *menu : {FileMnu, ActionMnu, HelpMnu})
        enableMenuItems(menu);
}

void TPKSarvonexFrm::enableMenuItems(QMenu *menu)
{
    const bool idle = !Processing();
    for (QAction *item : menu->actions()) {
        item->setEnabled(idle);
        if (QMenu *submenu = item->menu())
            enableMenuItems(submenu);
    }
    if (menu == ActionMnu) {
        BreakProcessMnu->setEnabled(!idle);
        UndoLastRunMnu->setEnabled(idle && m_undoable);
    }
}

void TPKSarvonexFrm::readLastRun()
{
    m_undoable = LastUndoableRun(RunJournal::defaultFolder()).has_value();
}

void TPKSarvonexFrm::setDesignedColumnWidths()
{
    // The designed widths, but never below what a heading needs in the
    // desktop's font. From here on a width the user drags stays.
    const auto designed = [](QTableView *grid, int column, int width) {
        grid->setColumnWidth(column, qMax(width, grid->horizontalHeader()->sectionSizeHint(column)));
    };
    designed(DirsGrd, 1, 80);
    designed(DirsGrd, 2, 64);
    for (QTableView *grid : {FileTypesGrd, ExclFileTypesGrd}) {
        designed(grid, 0, 100);
        designed(grid, 1, 100);
    }
    designed(StringsGrd, 2, 121);
    connect(StringsGrd->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column) { keepTextShares(column); });
}

void TPKSarvonexFrm::FormResize()
{
    // One column fills what the others leave of the grid's visible width;
    // the others keep their widths, also a width the user dragged.
    const auto rest = [](const QTableView *grid, int firstOther, int secondOther) {
        const QHeaderView *header = grid->horizontalHeader();
        return qMax(header->minimumSectionSize(), grid->viewport()->width()
                                                      - grid->columnWidth(firstOther)
                                                      - grid->columnWidth(secondOther));
    };
    DirsGrd->setColumnWidth(0, rest(DirsGrd, 1, 2));
    for (QTableView *grid : {FileTypesGrd, ExclFileTypesGrd})
        grid->setColumnWidth(2, rest(grid, 0, 1));
    // The two texts share what column 2 leaves: halves, or the shares the
    // user gave them by dragging.
    const int texts = qMax(0, StringsGrd->viewport()->width() - StringsGrd->columnWidth(2));
    const int find = qRound(texts * m_findShare);
    const QScopedValueRollback fitting(m_fittingColumns, true);
    StringsGrd->setColumnWidth(0, find);
    StringsGrd->setColumnWidth(1, texts - find);
}

void TPKSarvonexFrm::keepTextShares(int column)
{
    const int both = StringsGrd->columnWidth(0) + StringsGrd->columnWidth(1);
    if (!m_fittingColumns && column < 2 && both > 0)
        m_findShare = double(StringsGrd->columnWidth(0)) / both;
}

void TPKSarvonexFrm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TPKSarvonexFrm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!Activated) {
        PageControl1->setCurrentIndex(int(JobPage::Folders));
        UpdateCommandStates();
        FormResize();
        // A window kept off the screen, or one under a desktop without a
        // window manager, may never be made active: the start-up actions
        // then run once the window is shown.
        QTimer::singleShot(0, this, [this] { FormActivate(); });
    }
}

void TPKSarvonexFrm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TPKSarvonexFrm::FormActivate()
{
    if (Activated)
        return;
    // Set first: the window becomes active again while the actions run (after
    // each dialog), and that must not start them a second time.
    Activated = true;
    StartupActions();
}

void TPKSarvonexFrm::StartupActions()
{
    if (m_startup.noArguments)
        ShowStickyMessage(QString::fromLatin1(tipMessage), this);

    const QString path = m_startup.settingsFile;
    bool found = false;
    if (!path.isEmpty()) {
        // A folder is no settings file. The job is kept under its full path,
        // so that the recent files, Save and the run journal still name it
        // when the program is next started from another folder.
        const QFileInfo file(path);
        found = file.isFile();
        if (found) {
            guarded([&] { OpenSettingsFile(file.absoluteFilePath()); });
        } else {
            m_host.showMessage("File \"" + path + "\" specified on the command line doesn't exist.");
        }
    }
    if (!found && m_runState.unattended) {
        // Nobody can close a window kept off the screen: the run that cannot
        // start ends the program, with the exit code of a failed validation.
        m_exitCode = 1;
        m_ending = true;
        close();
        return;
    }
    if (!found || !m_startup.run)
        return;

    guarded([this] { FindAndReplaceMnuClick(); });
    if (m_runState.unattended)
        m_exitCode = UnattendedExitCode(m_exitCode, m_runState);
    // The run was what the program was started for: it ends without the
    // closing questions, as the last window closes.
    m_ending = true;
    close();
}

void TPKSarvonexFrm::FindAndReplaceMnuClick()
{
    RunJournal journal(RunJournal::defaultFolder(), SettingsFileName);
    m_runState.journal = &journal;
    {
        const auto forget = qScopeGuard([this] { m_runState.journal = nullptr; });
        m_batch.FindAndReplaceMnuClick();
    }
    readLastRun();
    UpdateCommandStates();
    if (m_closeWhenRunEnds) {
        m_ending = true;
        close();
    }
}

void TPKSarvonexFrm::BreakProcessBtnClick()
{
    m_batch.BreakProcessBtnClick();
}

void TPKSarvonexFrm::closeEvent(QCloseEvent *event)
{
    bool mayClose = m_ending;
    if (!mayClose)
        guarded([&] { mayClose = FormCloseQuery(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    event->accept();
    RecentFiles->store();
}

bool TPKSarvonexFrm::FormCloseQuery()
{
    const bool running = RunActive() || Processing();
    if (running && !m_host.confirm(QString::fromLatin1(closeDuringRunQuestion)))
        return false;
    if (!QuerySaveChanges())
        return false;
    if (!running)
        return true;
    // The run is still on the call stack: it stops after the current file,
    // which is left unwritten, and the window closes when the run returns.
    m_closeWhenRunEnds = true;
    m_runState.requestBreak();
    return false;
}

void TPKSarvonexFrm::Help1Click()
{
    OpenHelpTopic(this, QString());
}

void TPKSarvonexFrm::SpeedButton3Click(const QString &pageCaption)
{
    OpenHelpTopic(this, pageCaption + QLatin1String(".htm"));
}

void TPKSarvonexFrm::AboutMnuClick()
{
    ShowAboutBox(this);
}

void TPKSarvonexFrm::Wizard1Click()
{
    WizardFrm->show();
}

void TPKSarvonexFrm::hideWizard()
{
    WizardFrm->hide();
}
