// The settings document of the main window: new, open, save, save as, the
// recent files and the question before unsaved changes would be lost.
#include "ui/MainWindow/TPKSarvonexFrm.h"

#include "engine/text/CodePage.h"
#include "services/ProgramInfo.h"
#include "services/ShellFolders.h"
#include "settings/SettingsFile.h"
#include "ui/MainWindow/TFileHistory.h"
#include "ui/MainWindow/WindowRunHost.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

const char saveChangesQuestion[] =
    "The settings were modified but the changes have not been saved.\n\n"
    "Do you want to save the settings now?";
const QStringList settingsFilters = {QStringLiteral("Definition files (*.ini)"),
                                     QStringLiteral("All files (*)")};

// Reading a job into the window: the window's document answers.
class WindowSettingsHost : public SettingsFileHost
{
public:
    explicit WindowSettingsHost(TPKSarvonexFrm &window) : m_window(window) {}

    bool mayReplaceJob() override { return m_window.QuerySaveChanges(); }
    void setLoading(bool loading) override { m_window.Loading = loading; }
    void showInformation(const QString &message) override
    {
        m_window.runHost().showMessage(message);
    }
    void addRecentFile(const QString &path) override { m_window.recentFiles().Add(path); }
    void markNotModified() override { m_window.SetModified(false); }

private:
    TPKSarvonexFrm &m_window;
};

QString existingFolder(const QString &folder)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

} // namespace

QString TPKSarvonexFrm::JobsFolder()
{
    return AppDataFolder() + QLatin1String("Plimwick/") + ProductKey();
}

void TPKSarvonexFrm::SetModified(bool modified)
{
    Modified = modified;
    UpdateCommandStates();
}

bool TPKSarvonexFrm::QuerySaveChanges()
{
    if (!Modified)
        return true;
    const auto answer = QMessageBox::question(
        this, QString::fromLatin1(ApplicationTitle), QString::fromLatin1(saveChangesQuestion),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::No)
        return true;
    if (answer != QMessageBox::Yes)
        return false;
    // A cancelled Save As, or a failed save, stops the action that asked.
    SaveMnuClick();
    return !Modified;
}

void TPKSarvonexFrm::ClearJob()
{
    m_job.ClearJob();
    SettingsFileName.clear();
    OptionsToControls();
    SetModified(false);
}

void TPKSarvonexFrm::NewMnuClick()
{
    if (QuerySaveChanges())
        ClearJob();
}

void TPKSarvonexFrm::OpenSettingsFile(const QString &path)
{
    WindowSettingsHost host(*this);
    if (ReadSettingsFile(path, m_job, host)) {
        SettingsFileName = path;
        OptionsToControls();
        for (QTableView *grid : {DirsGrd, FileTypesGrd, ExclFileTypesGrd, StringsGrd})
            selectRow(grid, 1);
    }
    PageControl1->setCurrentIndex(int(JobPage::Folders));
    UpdateCommandStates();
}

void TPKSarvonexFrm::OpenMnuClick()
{
    QString start = existingFolder(JobsFolder());
    if (start.isEmpty() && !SettingsFileName.isEmpty())
        start = QFileInfo(SettingsFileName).absolutePath();
    if (start.isEmpty())
        start = DesktopFolder();

    QFileDialog dialog(this, QStringLiteral("Open"), start);
    dialog.setNameFilters(settingsFilters);
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    OpenSettingsFile(dialog.selectedFiles().constFirst());
}

void TPKSarvonexFrm::HistoryClick(QAction *item)
{
    // A recent file that no longer exists loads as an empty job and becomes
    // the current file, as any missing settings file does.
    const QString path = RecentFiles->PathOf(item);
    if (!path.isEmpty())
        guarded([&] { OpenSettingsFile(path); });
}

bool TPKSarvonexFrm::SaveMnuClick()
{
    if (SettingsFileName.isEmpty())
        return SaveAsMnuClick();
    WriteSettingsFile(SettingsFileName, m_job);
    SetModified(false);
    return true;
}

bool TPKSarvonexFrm::SaveAsMnuClick()
{
    QString start;
    if (!SettingsFileName.isEmpty())
        start = QFileInfo(SettingsFileName).absolutePath();
    if (start.isEmpty())
        start = existingFolder(JobsFolder());
    if (start.isEmpty())
        start = DesktopFolder();

    QFileDialog dialog(this, QStringLiteral("Save As"), start);
    dialog.setNameFilters(settingsFilters);
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The overwrite question is the program's own, below.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(SettingsFileName.isEmpty() ? QStringLiteral("Untitled")
                                                 : QFileInfo(SettingsFileName).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;

    const QString path = QDir::cleanPath(dialog.selectedFiles().constFirst());
    if (QFileInfo::exists(path)) {
        const QString question =
            "File \"" + path + "\" already exits.\n\n" + "Do you want to overwrite it?";
        if (QMessageBox::question(this, QString::fromLatin1(ApplicationTitle), question,
                                  QMessageBox::Yes | QMessageBox::No)
            != QMessageBox::Yes)
            return false;
    }
    // The job belongs to the new file only once it is written there.
    WriteSettingsFile(path, m_job);
    SettingsFileName = path;
    SetModified(false);
    return true;
}
