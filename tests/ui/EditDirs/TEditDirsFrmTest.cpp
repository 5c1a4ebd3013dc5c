#include "settings/Job.h"
#include "ui/EditDirs/TDirectoryBrowseFrm.h"
#include "ui/EditDirs/TEditDirsFrm.h"
#include "ui/support/ModalDriver.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString NoFolderMessage =
    "No folder inputted. Please specify an existing folder to look for files into.";

class EditDirsFrm : public ::testing::Test
{
protected:
    void setBackupMode(int mode)
    {
        RunOptions options = job.options();
        options.backupMode = mode;
        job.setOptions(options);
    }

    // Queues a click on one of the dialog's buttons for its next showing. The
    // click is posted so that a message box it opens is driven as well; so a
    // driver serves one showing of the reused dialog.
    void press(QPushButton *Ui::TEditDirsFrm::*button, ModalDriver &showing)
    {
        showing.then([this, button](QWidget *) {
            QMetaObject::invokeMethod(dlg.*button, &QPushButton::click, Qt::QueuedConnection);
        });
    }

    QTemporaryDir temp;
    Job job;
    TEditDirsFrm dlg{job};
    ModalDriver driver;
};

TEST_F(EditDirsFrm, ThePathIsTrimmedOnOkAndOnCancel)
{
    for (auto button : {&Ui::TEditDirsFrm::OkBtn, &Ui::TEditDirsFrm::CancelBtn}) {
        dlg.DirEdt->setText(" \t" + temp.path() + "  ");
        ModalDriver driver;
        press(button, driver);
        const int result = dlg.exec();
        EXPECT_EQ(result, button == &Ui::TEditDirsFrm::OkBtn ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(dlg.DirEdt->text(), temp.path());
        EXPECT_TRUE(driver.messages().isEmpty());
    }
}

TEST_F(EditDirsFrm, AnEmptyPathIsRefusedAndTheDialogStaysOpen)
{
    dlg.DirEdt->setText("   ");
    press(&Ui::TEditDirsFrm::OkBtn, driver);
    driver.answer(QMessageBox::Ok);
    press(&Ui::TEditDirsFrm::CancelBtn, driver);
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    EXPECT_EQ(driver.messages(), QStringList{NoFolderMessage});
    EXPECT_TRUE(driver.done());
}

TEST_F(EditDirsFrm, AMissingFolderIsKeptOnlyWhenTheUserSaysYes)
{
    const QString missing = temp.filePath("not yet");
    const QString question =
        "Folder \"" + missing + "\" doesn't exists.\n\nDo you want to continue anyway?";

    dlg.DirEdt->setText(missing);
    press(&Ui::TEditDirsFrm::OkBtn, driver);
    driver.answer(QMessageBox::No);
    press(&Ui::TEditDirsFrm::OkBtn, driver);
    driver.answer(QMessageBox::Yes);
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(driver.messages(), QStringList({question, question}));
    EXPECT_EQ(dlg.DirEdt->text(), missing);
}

TEST_F(EditDirsFrm, AFolderInAnyScriptIsAccepted)
{
    const QString cyrillic = temp.filePath(QString::fromUtf8("Отчёты"));
    ASSERT_TRUE(QDir().mkdir(cyrillic));
    dlg.DirEdt->setText(cyrillic);
    press(&Ui::TEditDirsFrm::OkBtn, driver);
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_TRUE(driver.messages().isEmpty());
    EXPECT_EQ(dlg.DirEdt->text(), cyrillic);
}

TEST_F(EditDirsFrm, TheTwoSkipBoxesAreAlwaysEqual)
{
    dlg.IgnoreBackupFilesChk->setChecked(true); // as the caller sets both
    EXPECT_TRUE(dlg.IgnoreBackupDirsChk->isChecked());
    dlg.IgnoreBackupFilesChk->click();
    EXPECT_FALSE(dlg.IgnoreBackupDirsChk->isChecked());
    dlg.IgnoreBackupDirsChk->click();
    EXPECT_TRUE(dlg.IgnoreBackupFilesChk->isChecked());
}

struct EnableCase {
    int backupMode;
    int depth;
    bool dirsEnabled;
    bool filesEnabled;
};

TEST_F(EditDirsFrm, SkipBoxesAreEnabledByDepthAndBackupModeAndKeepTheirState)
{
    const EnableCase cases[] = {
        {BackupToSubfolder, 0, false, false}, {BackupToSubfolder, 1, true, false},
        {BackupToSubfolder, 2, true, false},  {BackupRename, 0, false, false},
        {BackupRename, 2, false, true},       {BackupNone, 1, false, false},
        {BackupNone, 2, false, false},
    };
    for (const EnableCase &c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.backupMode << " depth " << c.depth);
        setBackupMode(c.backupMode);
        dlg.LevelsCBx->setCurrentIndex(0);
        dlg.IgnoreBackupDirsChk->setChecked(false);
        dlg.show(); // the back-up mode is read at each showing
        dlg.LevelsCBx->setCurrentIndex(c.depth);
        EXPECT_EQ(dlg.IgnoreBackupDirsChk->isEnabled(), c.dirsEnabled);
        EXPECT_EQ(dlg.IgnoreBackupFilesChk->isEnabled(), c.filesEnabled);
        EXPECT_FALSE(dlg.IgnoreBackupDirsChk->isChecked());
        EXPECT_FALSE(dlg.IgnoreBackupFilesChk->isChecked());
        dlg.hide();
    }
}

TEST_F(EditDirsFrm, SkipCaptionsNameTheJobsTrimmedBackupNames)
{
    dlg.show();
    EXPECT_EQ(dlg.IgnoreBackupDirsChk->text(), "Skip over backup folders '_BACKUP_'");
    EXPECT_EQ(dlg.IgnoreBackupFilesChk->text(), "Skip over backup files '~*'");
    dlg.hide();

    RunOptions options = job.options();
    options.backupFolder = QString::fromUtf8(" oldé ");
    options.backupPrefix = "\tbak_ ";
    job.setOptions(options);
    dlg.show();
    EXPECT_EQ(dlg.IgnoreBackupDirsChk->text(), QString::fromUtf8("Skip over backup folders 'oldé'"));
    EXPECT_EQ(dlg.IgnoreBackupFilesChk->text(), "Skip over backup files 'bak_*'");
    dlg.hide();

    // An ampersand shows as typed, not as the underline of a mnemonic.
    options.backupFolder = "R&D";
    options.backupPrefix = "&";
    job.setOptions(options);
    dlg.show();
    EXPECT_EQ(dlg.IgnoreBackupDirsChk->text(), "Skip over backup folders 'R&&D'");
    EXPECT_EQ(dlg.IgnoreBackupFilesChk->text(), "Skip over backup files '&&*'");
    dlg.hide();
}

TEST_F(EditDirsFrm, BrowseStartsAtTheTypedFolderAndPutsThePickedOneInTheBox)
{
    const QString start = temp.filePath("start");
    ASSERT_TRUE(QDir().mkdir(start));
    dlg.DirEdt->setText(start);
    QString shownAtStart;
    driver.then([&](QWidget *window) {
        auto *browser = qobject_cast<TDirectoryBrowseFrm *>(window);
        ASSERT_NE(browser, nullptr);
        shownAtStart = browser->SelectedPath();
        browser->SetStartFolder(temp.path());
        browser->OkBtn->click();
    });
    dlg.Button1->click();
    EXPECT_EQ(shownAtStart, start);
    EXPECT_EQ(dlg.DirEdt->text(), temp.path());
}

TEST_F(EditDirsFrm, AtItsSmallestWidthNoLabelOrCaptionIsCut)
{
    dlg.show();
    dlg.resize(dlg.minimumWidth(), dlg.height());
    dlg.layout()->activate();
    EXPECT_GE(dlg.minimumWidth(), 300);
    for (QWidget *w : {static_cast<QWidget *>(dlg.FolderLbl), static_cast<QWidget *>(dlg.LevelsLbl),
                       static_cast<QWidget *>(dlg.IgnoreBackupDirsChk),
                       static_cast<QWidget *>(dlg.IgnoreBackupFilesChk)})
        EXPECT_GE(w->width(), w->sizeHint().width()) << qPrintable(w->objectName());
    dlg.hide();
}

} // namespace
