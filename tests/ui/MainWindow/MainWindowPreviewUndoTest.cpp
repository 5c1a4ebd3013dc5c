#include "ui/MainWindow/MainWindowFixture.h"

#include "engine/journal/RunJournal.h"
#include "ui/Preview/TPreviewFrm.h"
#include "ui/ReplaceConfirm/TReplaceConfirmFrm.h"

#include <QDir>
#include <QPushButton>

namespace {

class MainWindowPreviewUndoTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // Journals of earlier tests in this program must not count.
        QDir(RunJournal::defaultFolder()).removeRecursively();
        TestFiles::write(path("data/a.txt"), "one cat\r\ntwo\r\n");
        TestFiles::write(path("data/b.txt"), "no match here\r\n");
        Job &job = window->job();
        job.folders().AppendRow({path("data").toUtf8(), "None", "-B"});
        job.fileTypes().AppendRow({"*.txt", "Auto", ""});
        job.stringPairs().AppendRow({"cat", "dog", "(--)[Default]"});
        RunOptions options = job.options();
        options.showFileList = false;
        options.showFinalStats = false;
        job.setOptions(options);
    }
};

TEST_F(MainWindowPreviewUndoTest, PreviewThenRunFromItThenUndo)
{
    EXPECT_FALSE(window->UndoLastRunMnu->isEnabled());
    expect<TPreviewFrm>([this](TPreviewFrm &d) {
        EXPECT_EQ(TestFiles::read(path("data/a.txt")), "one cat\r\ntwo\r\n");
        ASSERT_EQ(d.files().DataRowCount(), 1);
        EXPECT_EQ(d.files().row(1), (PathTable::Row{path("data/a.txt"), "ANSI", "1"}));
        EXPECT_EQ(d.HunksMmo->toPlainText(), "@@ -1,2 +1,2 @@\n-one cat\n+one dog\n two\n");
        EXPECT_EQ(d.SummaryLbl->text(), "1 file(s) would change, 1 replacement(s), 0 skipped.");
        d.FindAndReplaceBtn->click();
    });
    // The run the preview starts asks as a run does; meanwhile the two new
    // commands are disabled like the rest.
    expect<TReplaceConfirmFrm>([this](TReplaceConfirmFrm &d) {
        EXPECT_FALSE(window->PreviewMnu->isEnabled());
        EXPECT_FALSE(window->UndoLastRunMnu->isEnabled());
        d.findChild<QPushButton *>("YesBtn")->click();
    });
    window->PreviewMnu->trigger();
    ASSERT_TRUE(driver.done());
    EXPECT_EQ(TestFiles::read(path("data/a.txt")), "one dog\r\ntwo\r\n");
    EXPECT_TRUE(QDir(path("data/_BACKUP_")).exists());
    EXPECT_TRUE(window->UndoLastRunMnu->isEnabled());

    driver.answer(QMessageBox::Yes);
    driver.answer(QMessageBox::Ok);
    window->UndoLastRunMnu->trigger();
    ASSERT_TRUE(driver.done());
    EXPECT_EQ(driver.messages(),
              (QStringList{"Restore 1 file(s) of the last run from their back-up copies?",
                           "1 file(s) restored."}));
    EXPECT_EQ(TestFiles::read(path("data/a.txt")), "one cat\r\ntwo\r\n");
    EXPECT_FALSE(window->UndoLastRunMnu->isEnabled());
}

TEST_F(MainWindowPreviewUndoTest, ClosingThePreviewChangesNothing)
{
    expect<TPreviewFrm>([](TPreviewFrm &d) { d.CloseBtn->click(); });
    window->PreviewMnu->trigger();
    ASSERT_TRUE(driver.done());
    EXPECT_EQ(TestFiles::read(path("data/a.txt")), "one cat\r\ntwo\r\n");
    EXPECT_FALSE(QDir(path("data/_BACKUP_")).exists());
    EXPECT_FALSE(window->UndoLastRunMnu->isEnabled());
}

TEST_F(MainWindowPreviewUndoTest, AWindowOpenedAfterARunCanUndoIt)
{
    RunOptions options = window->job().options();
    options.promptEachReplace = false;
    window->job().setOptions(options);
    window->FindAndReplaceMnu->trigger();
    ASSERT_EQ(TestFiles::read(path("data/a.txt")), "one dog\r\ntwo\r\n");

    TPKSarvonexFrm later;
    EXPECT_TRUE(later.UndoLastRunMnu->isEnabled());
}

} // namespace
