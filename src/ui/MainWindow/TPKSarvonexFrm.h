#pragma once

#include "ui_TPKSarvonexFrm.h"

#include "engine/run/BatchRun.h"
#include "engine/run/RunState.h"
#include "services/CommandLine.h"
#include "settings/Job.h"
#include "ui/MainWindow/WindowRunHost.h"

#include <QButtonGroup>
#include <QLabel>
#include <QMainWindow>
#include <memory>

class TEditDirsFrm;
class TEditFileTypeFrm;
class TEditStringsFrm;
class TFileHistory;
class TFileListFrm;
class TPreviewFrm;
class TReplaceConfirmFrm;
class TStatisticsFrm;
class TWizardFrm;

// The main window: the one job on four pages, the settings document it
// belongs to, and the Find & Replace run. It lives from start to end of the
// program and owns the dialogs, which are made once and reused.
// Thrown to end a command quietly: the user cancelled a step it needs.
struct RunNotStarted {
};

class TPKSarvonexFrm : public QMainWindow, public Ui::TPKSarvonexFrm
{
    Q_OBJECT
public:
    // `startup` is what the command line asks for at the first activation.
    explicit TPKSarvonexFrm(const StartupRequest &startup = StartupRequest(),
                            QWidget *parent = nullptr);
    ~TPKSarvonexFrm() override;

    Job &job() { return m_job; }
    RunState &runState() { return m_runState; }
    // Questions and messages, placed where the user sees them.
    WindowRunHost &runHost() { return m_host; }
    TFileHistory &recentFiles() { return *RecentFiles; }

    // The dialogs, for the run host and for tests.
    TEditDirsFrm &editDirsFrm() { return *EditDirsFrm; }
    TEditFileTypeFrm &editFileTypeFrm() { return *EditFileTypeFrm; }
    TEditStringsFrm &editStringsFrm() { return *EditStringsFrm; }
    TFileListFrm &fileListFrm() { return *FileListFrm; }
    TReplaceConfirmFrm &replaceConfirmFrm() { return *ReplaceConfirmFrm; }
    TStatisticsFrm &statisticsFrm() { return *StatisticsFrm; }
    TWizardFrm &wizardFrm() { return *WizardFrm; }
    TPreviewFrm &previewFrm() { return *PreviewFrm; }

    // Document state.
    QString SettingsFileName;
    bool Modified = false;
    bool Loading = false;
    bool Activated = false;
    bool RunActive() const { return m_batch.RunActive(); }
    bool Processing() const { return m_batch.Processing(); }

    // The exit code the program ends with (an unattended run may set 1).
    int exitCode() const { return m_exitCode; }
    void setExitCode(int code) { m_exitCode = code; }

    // Settings documents.
    void SetModified(bool modified);
    bool QuerySaveChanges();
    void ClearJob();
    void OpenSettingsFile(const QString &path);
    void NewMnuClick();
    void OpenMnuClick();
    // True when the job was written (false: cancelled).
    bool SaveMnuClick();
    bool SaveAsMnuClick();
    void HistoryClick(QAction *item);
    // The folder of the user's saved jobs; nothing creates it.
    static QString JobsFolder();

    // The run.
    void FindAndReplaceMnuClick();
    void BreakProcessBtnClick();
    // What a run would change, shown before anything is written; the
    // preview's "Find && Replace" starts the run.
    void PreviewMnuClick();
    // Puts back the files of the last run after asking.
    void UndoLastRunMnuClick();

    void UpdateCommandStates();
    void FormResize();

    // The list commands.
    void AddDirBtnClick();
    void EditDirBtnClick();
    void DeleteDirBtnClick();
    void AddTypeBtnClick();
    void EditTypeBtnClick();
    void CopyTypeBtnClick();
    void DeleteTypeBtnClick();
    void AddExclFileBtnClick();
    void EditExclFileBtnClick();
    void CopyExclFileBtnClick();
    void DeleteExclFileBtnClick();
    void AddStringsBtnClick();
    void EditStringsBtnClick();
    void CopyBtnClick();
    void DeleteStringsBtnClick();
    void MoveUpBtnClick();
    void MoveDownBtnClick();

    // The data row (from 1) selected in a grid; 1 when none is.
    static int selectedRow(const QTableView *grid);

    // The options page.
    void OptionsToControls();
    void BinaryFilesRdoClick();
    void CheckBackUp();

    void Help1Click();
    void SpeedButton3Click(const QString &pageCaption);
    void AboutMnuClick();
    void Wizard1Click();
    void hideWizard();
    void ReplaceinOneFile1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createDialogs();
    void connectCommands();
    void connectListCommands();
    void connectOptions();
    void setUpGrids();
    void setToolBarIcons();
    void FormActivate();
    void StartupActions();
    bool FormCloseQuery();
    void enableMenuItems(QMenu *menu);
    // Whether the last run can be undone: its journal is read when the
    // window opens and when a run or an undo ends, not at every change.
    void readLastRun();
    void setDesignedColumnWidths();
    // A column of the string pairs grid was resized: a drag of the find or
    // replace column sets the shares they keep.
    void keepTextShares(int column);
    // Enter, F2, Insert and Delete in a grid, and a double click on it.
    bool gridCommand(QObject *watched, QEvent *event);
    void ReadOnlyFilesRdoClick();
    void selectRow(QTableView *grid, int row);
    TextTable::Row fileTypeRow(bool included) const;
    TextTable::Row stringPairRow() const;
    void addFileType(QTableView *grid, bool included);
    void editFileType(QTableView *grid, bool included);
    void copyEntry(QTableView *grid, bool skipEmpty);
    void deleteEntry(QTableView *grid);
    RunOptions ControlsToOptions() const;
    // An option control was changed by the user.
    void optionsEdited();
    void enableBackUpFields();
    void showSettingsError(const QString &message);
    // Runs a command whose settings-file errors end it with their message.
    void guarded(const std::function<void()> &command);

    Job m_job;
    RunState m_runState;
    WindowRunHost m_host;
    RunContext m_run;
    std::unique_ptr<PathTable> m_files;
    std::unique_ptr<PathTable> m_statistics;
    BatchRun m_batch;
    StartupRequest m_startup;
    int m_exitCode = 0;
    // The window closes without questions (the end of a command-line run,
    // or a close the user confirmed during a run).
    bool m_ending = false;
    bool m_closeWhenRunEnds = false;
    bool m_undoable = false;
    // The find column's share of the width the two text columns fill.
    double m_findShare = 0.5;
    bool m_fittingColumns = false;

    // The application title, the text the task bar shows; an unattended run
    // shows its progress there.
    QString m_title;
    QLabel *ProgressPanel = nullptr;
    QLabel *StatusPanel = nullptr;

    TFileHistory *RecentFiles = nullptr;
    TEditDirsFrm *EditDirsFrm = nullptr;
    TEditFileTypeFrm *EditFileTypeFrm = nullptr;
    TEditStringsFrm *EditStringsFrm = nullptr;
    TFileListFrm *FileListFrm = nullptr;
    TReplaceConfirmFrm *ReplaceConfirmFrm = nullptr;
    TStatisticsFrm *StatisticsFrm = nullptr;
    TWizardFrm *WizardFrm = nullptr;
    TPreviewFrm *PreviewFrm = nullptr;

    QButtonGroup m_binaryFiles;
    QButtonGroup m_readOnlyFiles;
    QButtonGroup m_backUpMode;

    friend class WindowRunHost;
};
