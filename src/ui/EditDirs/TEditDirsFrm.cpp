#include "ui/EditDirs/TEditDirsFrm.h"

#include "services/ProgramInfo.h"
#include "settings/Job.h"
#include "ui/EditDirs/TDirectoryBrowseFrm.h"
#include "ui/EntryText.h"
#include "widgets/TSizeGrip.h"

#include <QFileInfo>
#include <QMessageBox>

namespace {

constexpr int DesignedMinimumWidth = 300;

} // namespace

TEditDirsFrm::TEditDirsFrm(const Job &job, QWidget *parent) : QDialog(parent), m_job(job)
{
    setupUi(this);
    new TSizeGrip(this); // owned by the dialog, drawn over its corner
    // The two boxes stand for the entry's one skip flag.
    connect(IgnoreBackupDirsChk, &QCheckBox::toggled, IgnoreBackupFilesChk, &QCheckBox::setChecked);
    connect(IgnoreBackupFilesChk, &QCheckBox::toggled, IgnoreBackupDirsChk, &QCheckBox::setChecked);
    connect(LevelsCBx, &QComboBox::currentIndexChanged, this, &TEditDirsFrm::LevelsCBxChange);
    connect(Button1, &QPushButton::clicked, this, &TEditDirsFrm::Button1Click);
}

void TEditDirsFrm::showEvent(QShowEvent *event)
{
    SetBackupCaptions();
    // No narrower than its labels and captions need (the captions just
    // changed: the layout measures them afresh).
    layout()->invalidate();
    layout()->activate();
    setMinimumWidth(qMax(DesignedMinimumWidth, layout()->totalMinimumSize().width()));
    LevelsCBxChange();
    // Each use starts in the path, whatever had the focus last time.
    DirEdt->setFocus();
    QDialog::showEvent(event);
}

// A box is enabled only where its kind of back-up exists and subfolders are
// searched; a disabled box keeps its state, which the caller still stores.
void TEditDirsFrm::LevelsCBxChange()
{
    const bool subfolders = LevelsCBx->currentIndex() > 0;
    const int mode = m_job.options().backupMode;
    IgnoreBackupDirsChk->setEnabled(subfolders && mode == BackupToSubfolder);
    IgnoreBackupFilesChk->setEnabled(subfolders && mode == BackupRename);
}

void TEditDirsFrm::SetBackupCaptions()
{
    const RunOptions &options = m_job.options();
    const QString folder = TrimmedEntryText(options.backupFolder);
    const QString prefix = TrimmedEntryText(options.backupPrefix);
    // A caption reads "&" as a mnemonic mark; the names show theirs as typed.
    const auto literal = [](QString text) { return text.replace(QLatin1Char('&'), QLatin1String("&&")); };
    IgnoreBackupDirsChk->setText(QStringLiteral("Skip over backup folders '%1'").arg(literal(folder)));
    IgnoreBackupFilesChk->setText(QStringLiteral("Skip over backup files '%1*'").arg(literal(prefix)));
}

void TEditDirsFrm::Button1Click()
{
    TDirectoryBrowseFrm browser(this);
    browser.SetStartFolder(DirEdt->text());
    if (browser.exec() == QDialog::Accepted)
        DirEdt->setText(browser.SelectedPath());
}

void TEditDirsFrm::done(int result)
{
    const QString path = TrimEntryText(DirEdt);
    if (result == QDialog::Accepted && !AcceptFolder(path))
        return;
    QDialog::done(result);
}

bool TEditDirsFrm::AcceptFolder(const QString &path)
{
    if (path.isEmpty()) {
        QMessageBox::information(this, ApplicationTitle,
                                 "No folder inputted. Please specify an existing folder to look for "
                                 "files into.");
        return false;
    }
    if (QFileInfo(path).isDir())
        return true;
    return QMessageBox::question(this, ApplicationTitle,
                                 "Folder \"" + path
                                     + "\" doesn't exists.\n\nDo you want to continue anyway?",
                                 QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}
