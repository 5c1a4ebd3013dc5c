#include "ui/MainWindow/MainWindowFixture.h"

#include "ui/EditStrings/TEditStringsFrm.h"
#include "ui/FileList/TFileListFrm.h"
#include "ui/MainWindow/TFileHistory.h"
#include "ui/ReplaceConfirm/TReplaceConfirmFrm.h"
#include "ui/Statistics/TStatisticsFrm.h"
#include "ui/Wizard/TWizardFrm.h"
#include "widgets/TStickyForm.h"

#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include "settings/SettingsFile.h"

namespace {

class MainWindowRunTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        QDir().mkpath(path("data"));
        TestFiles::write(path("data/a.txt"), "one cat, two cats\r\n");
        TestFiles::write(path("data/b.txt"), "no match here\r\n");
        TestFiles::write(path("data/c.log"), "cat\r\n");
        Job &job = window->job();
        job.folders().AppendRow({path("data").toUtf8(), "None", "-B"});
        job.fileTypes().AppendRow({"*.txt", "Auto", ""});
        job.stringPairs().AppendRow({"cat", "dog", "(--)[Default]"});
    }

    // Answers the replace confirmation with the button of that name.
    void answerMatch(const char *button, std::function<void()> check = {})
    {
        expect<TReplaceConfirmFrm>([button, check](TReplaceConfirmFrm &d) {
            if (check)
                check();
            auto *b = d.findChild<QPushButton *>(button);
            ASSERT_TRUE(b) << button;
            b->click();
        });
    }
};

TEST_F(MainWindowRunTest, AWholeRunThroughTheWindowWritesTheAnsweredReplacements)
{
    expect<TFileListFrm>([](TFileListFrm &d) {
        EXPECT_EQ(d.windowTitle(), "Files found: 2");
        d.OkBtn->click();
    });
    answerMatch("NoBtn", [this] {
        // While files are processed only Break Process works.
        EXPECT_TRUE(window->Processing());
        EXPECT_FALSE(window->RunBtn->isEnabled());
        EXPECT_FALSE(window->PageControl1->isEnabled());
        EXPECT_TRUE(window->BreakProcessBtn->isEnabled());
        for (QAction *item : window->FileMnu->actions())
            EXPECT_FALSE(item->isEnabled()) << qPrintable(item->text());
        EXPECT_TRUE(window->BreakProcessMnu->isEnabled());
        EXPECT_FALSE(window->FindAndReplaceMnu->isEnabled());
    });
    answerMatch("YesBtn");
    expect<TStatisticsFrm>([](TStatisticsFrm &d) { d.CloseBtn->click(); });

    window->RunBtn->trigger();

    EXPECT_TRUE(driver.done());
    EXPECT_EQ(TestFiles::read(path("data/a.txt")), "one cat, two dogs\r\n");
    EXPECT_EQ(TestFiles::read(path("data/b.txt")), "no match here\r\n");
    EXPECT_EQ(TestFiles::read(path("data/c.log")), "cat\r\n");
    EXPECT_EQ(TestFiles::read(path("data/_BACKUP_/a.txt")), "one cat, two cats\r\n");
    EXPECT_FALSE(window->Processing());
    EXPECT_TRUE(window->RunBtn->isEnabled());
    EXPECT_FALSE(window->BreakProcessBtn->isEnabled());
}

TEST_F(MainWindowRunTest, TheWizardExplainsTheRunsDialogsAndHidesWhenTheRunEnds)
{
    window->Wizard1Click();
    TWizardFrm &wizard = window->wizardFrm();
    ASSERT_TRUE(wizard.isVisible());
    expect<TFileListFrm>([&](TFileListFrm &d) {
        EXPECT_EQ(wizard.stage(), 8);
        d.OkBtn->click();
    });
    answerMatch("YesToAllBtn", [&] {
        EXPECT_EQ(wizard.stage(), 9);
        wizard.MainTmrTimer(); // a modal dialog of the run is active: only the text shows
        EXPECT_FALSE(wizard.CancelLbl->isVisible());
        EXPECT_FALSE(wizard.NextLbl->isVisible());
    });
    expect<TStatisticsFrm>([&](TStatisticsFrm &d) {
        EXPECT_EQ(wizard.stage(), 10);
        d.CloseBtn->click();
    });
    window->RunBtn->trigger();
    EXPECT_TRUE(driver.done());
    EXPECT_FALSE(wizard.isVisible());
}

TEST_F(MainWindowRunTest, NoStringPairsShowsTheStringsPageAfterTheFileList)
{
    window->job().stringPairs().ClearGrid();
    window->PromptEachReplaceChk->click();
    expect<TFileListFrm>([](TFileListFrm &d) { d.OkBtn->click(); });
    driver.answer(QMessageBox::Ok);
    window->FindAndReplaceMnu->trigger();
    EXPECT_TRUE(driver.messages().value(0).startsWith("No \"Find what/Replace with\" strings"));
    EXPECT_EQ(window->PageControl1->currentWidget(), window->StringsPage);
}

TEST_F(MainWindowRunTest, AutomaticSaveWithoutAFileAsksForOneAndCancelStartsNoRun)
{
    window->SaveSettingsAutomaticallyChk->click();
    chooseFile("");
    window->RunBtn->trigger();
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(TestFiles::read(path("data/a.txt")), "one cat, two cats\r\n");
    EXPECT_TRUE(window->Modified);
}

TEST_F(MainWindowRunTest, BreakProcessAnsweredNoChangesNothingYesStopsAfterTheFile)
{
    window->ShowFileListChk->click();
    // Break Process from inside the confirmation: first answered No, then Yes.
    answerMatch("YesBtn", [this] {
        window->BreakProcessBtn->trigger();
        window->BreakProcessMnu->trigger();
    });
    driver.answer(QMessageBox::No);
    driver.answer(QMessageBox::Yes);
    expect<TStatisticsFrm>([](TStatisticsFrm &d) { d.CloseBtn->click(); });
    window->RunBtn->trigger();
    EXPECT_TRUE(driver.done());
    // The file whose pairs were under way is left as it was.
    EXPECT_EQ(TestFiles::read(path("data/a.txt")), "one cat, two cats\r\n");
}

TEST_F(MainWindowRunTest, StartUpWithASettingsFileOpensItAndAddsItToTheRecentFiles)
{
    const QString file = path("job.ini");
    WriteSettingsFile(file, window->job());
    StartupRequest request = StartupRequest::fromArguments({"-f:" + file});
    TPKSarvonexFrm started(request);
    started.show();
    QTRY_VERIFY(started.Activated);
    EXPECT_EQ(started.SettingsFileName, file);
    EXPECT_EQ(started.recentFiles().paths().value(0), file);
    EXPECT_EQ(started.job().stringPairs().cell(1, 0), "cat");
}

TEST_F(MainWindowRunTest, ARelativeSettingsFileIsKeptUnderItsFullPathAndAFolderIsNoFile)
{
    const QString file = path("job.ini");
    WriteSettingsFile(file, window->job());
    const QString before = QDir::currentPath();
    QDir::setCurrent(path(""));
    const auto back = qScopeGuard([&] { QDir::setCurrent(before); });
    TPKSarvonexFrm started(StartupRequest::fromArguments({"-fjob.ini"}));
    started.show();
    QTRY_VERIFY(started.Activated);
    EXPECT_EQ(started.SettingsFileName, file);
    EXPECT_EQ(started.recentFiles().paths().value(0), file);

    QDir().mkdir(path("folder.ini"));
    driver.answer(QMessageBox::Ok);
    TPKSarvonexFrm folder(StartupRequest::fromArguments({"-ffolder.ini"}));
    folder.show();
    QTRY_VERIFY(folder.Activated);
    EXPECT_EQ(driver.messages(),
              QStringList{"File \"folder.ini\" specified on the command line doesn't exist."});
    EXPECT_TRUE(folder.SettingsFileName.isEmpty());
}

TEST_F(MainWindowRunTest, TheTipComesOnlyWithoutArgumentsUntilTheUserTicksItAway)
{
    const auto start = [](const QStringList &arguments) {
        TPKSarvonexFrm started(StartupRequest::fromArguments(arguments));
        started.show();
        QTRY_VERIFY(started.Activated);
    };
    expect<TStickyForm>([](TStickyForm &tip) {
        EXPECT_TRUE(tip.MessageLbl->text().startsWith("The easiest way"));
        tip.DontShowChk->setChecked(true);
        tip.OkBtn->click();
    });
    start({});
    EXPECT_TRUE(driver.done());
    // Ticked away: no tip at the next start (a window would be left waiting).
    start({});
    // A missing command-line file is reported; any argument keeps the tip away.
    driver.answer(QMessageBox::Ok);
    start({"-f" + path("missing.ini")});
    EXPECT_EQ(driver.messages().value(0),
              "File \"" + path("missing.ini") + "\" specified on the command line doesn't exist.");
}

TEST_F(MainWindowRunTest, ClosingAModifiedJobAsksFirst)
{
    window->show();
    window->SetModified(true);
    driver.answer(QMessageBox::Cancel);
    window->Exit1->trigger();
    EXPECT_TRUE(window->isVisible());
    driver.answer(QMessageBox::No);
    window->Exit1->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(driver.done());
}

TEST_F(MainWindowRunTest, ClosingDuringARunAsksAndYesStopsTheRunAndThenCloses)
{
    window->show();
    window->ShowFileListChk->click();
    window->SetModified(false);
    answerMatch("YesBtn", [this] {
        window->close();
        EXPECT_TRUE(window->isVisible());
    });
    driver.answer(QMessageBox::No); // keep the window and the run
    answerMatch("YesBtn", [this] { window->close(); });
    driver.answer(QMessageBox::Yes); // terminate anyway
    window->RunBtn->trigger();
    EXPECT_TRUE(driver.done());
    EXPECT_FALSE(window->isVisible());
    // The file under way when the run broke off is left as it was.
    EXPECT_EQ(TestFiles::read(path("data/a.txt")), "one cat, two cats\r\n");
}

TEST_F(MainWindowRunTest, UnattendedStartUpRunsTheJobOffTheScreenAndSetsTheExitCode)
{
    const QString file = path("job.ini");
    WriteSettingsFile(file, window->job());
    TPKSarvonexFrm started(StartupRequest::fromArguments({"-f" + file, "-r", "-s"}));
    EXPECT_LT(started.x(), -10000);
    started.show();
    QTRY_VERIFY(started.Activated);
    QTRY_VERIFY(!started.isVisible());
    EXPECT_EQ(started.exitCode(), 0);
    EXPECT_EQ(TestFiles::read(path("data/a.txt")), "one dog, two dogs\r\n");
}

TEST_F(MainWindowRunTest, SimpleReplacementBuildsAOneFileJobAndRunsIt)
{
    driver.answer(QMessageBox::No); // the job of SetUp is not saved
    chooseFile(path("data/a.txt"));
    expect<TEditStringsFrm>([](TEditStringsFrm &d) {
        d.setFindText("cat");
        d.setReplaceText("dog");
        d.OkBtn->click();
    });
    driver.answer(QMessageBox::Yes);
    answerMatch("YesToAllThisFileBtn");
    expect<TStatisticsFrm>([](TStatisticsFrm &d) { d.CloseBtn->click(); });
    window->SetModified(true);
    window->Wizard1Click();
    window->SimpleReplacementBtn->trigger();
    EXPECT_FALSE(window->wizardFrm().isVisible());

    EXPECT_TRUE(driver.done());
    EXPECT_EQ(driver.messages().value(1), "Start with the replacing now?");
    EXPECT_EQ(window->job().folders().entries(),
              (QList<TextTable::Row>{{path("data").toUtf8(), "None", ""}}));
    EXPECT_EQ(window->job().fileTypes().entries(), (QList<TextTable::Row>{{"a.txt", "", ""}}));
    EXPECT_EQ(TestFiles::read(path("data/a.txt")), "one dog, two dogs\r\n");
    EXPECT_TRUE(window->Modified);
}

TEST_F(MainWindowRunTest, ARussianPairTypedWithTheRussianCharsetReplacesInAWindows1251File)
{
    TestFiles::write(path("data/a.txt"), "\xCF\xF0\xE8\xE2\xE5\xF2, cat\r\n"); // "Привет" in 1251
    window->job().stringPairs().ClearGrid();
    window->PromptEachReplaceChk->click();
    window->ShowFileListChk->click();
    window->ShowFinalStatsChk->click();
    expect<TEditStringsFrm>([](TEditStringsFrm &d) {
        d.CharsetCBx->setCurrentText("Russian");
        d.CaseSensitiveChk->setChecked(true);
        d.FindWhatMmo->setPlainText(QString::fromUtf8("Привет"));
        d.ReplaceWithMmo->setPlainText(QString::fromUtf8("Пока"));
        d.OkBtn->click();
    });
    window->AddStringsBtn->click();
    EXPECT_EQ(window->job().stringPairs().cell(1, 2), "c(--)[Russian]");
    window->RunBtn->trigger();
    EXPECT_EQ(TestFiles::read(path("data/a.txt")), "\xCF\xEE\xEA\xE0, cat\r\n");
}

TEST_F(MainWindowRunTest, SimpleReplacementStopsWhereTheUserCancels)
{
    // A file in the root folder; the string pair dialog cancelled.
    chooseFile("/sarvonex-no-such-file.txt");
    driver.then([](QWidget *w) { static_cast<QDialog *>(w)->reject(); });
    window->ReplaceinOneFile1Click();
    EXPECT_EQ(window->job().folders().entries(), (QList<TextTable::Row>{{"/", "None", ""}}));
    EXPECT_EQ(window->job().fileTypes().cell(1, 0), "sarvonex-no-such-file.txt");
    EXPECT_FALSE(window->Modified);

    // No at the start question: the whole one-file job stays, nothing runs.
    chooseFile(path("data/a.txt"));
    expect<TEditStringsFrm>([](TEditStringsFrm &d) {
        d.setFindText("cat");
        d.OkBtn->click();
    });
    driver.answer(QMessageBox::No);
    window->ReplaceinOneFile1Click();
    EXPECT_EQ(window->job().stringPairs().cell(1, 0), "cat");
    EXPECT_EQ(window->job().fileTypes().cell(1, 0), "a.txt");
    EXPECT_EQ(TestFiles::read(path("data/a.txt")), "one cat, two cats\r\n");

    // Cancel at the save question: no file dialog, the job as it was.
    window->SetModified(true);
    driver.answer(QMessageBox::Cancel);
    window->ReplaceinOneFile1Click();
    EXPECT_EQ(window->job().fileTypes().cell(1, 0), "a.txt");
    EXPECT_TRUE(driver.done());
}

TEST_F(MainWindowRunTest, AnUnattendedRunWithoutItsSettingsFileEndsWithExitCodeOne)
{
    driver.answer(QMessageBox::Ok);
    TPKSarvonexFrm started(StartupRequest::fromArguments({"-f" + path("missing.ini"), "-r", "-s"}));
    started.show();
    QTRY_VERIFY(started.Activated);
    QTRY_VERIFY(!started.isVisible());
    EXPECT_EQ(started.exitCode(), 1);
    EXPECT_TRUE(driver.done());
}

} // namespace
