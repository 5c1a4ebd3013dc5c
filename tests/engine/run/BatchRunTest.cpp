#include "engine/run/BatchRun.h"
#include "engine/run/FileCollector.h"
#include "engine/run/FileProcessor.h"
#include "support/RunFixture.h"

#include <memory>

namespace {

class BatchRunTest : public BatchRunFixture
{
protected:
    void SetUp() override
    {
        RunFixture::SetUp();
        useOldToNewJob();
    }
};

TEST_F(BatchRunTest, ProcessesEveryListedFileAndShowsStatistics)
{
    const QString a = makeFile("a.txt", "old old");
    const QString b = makeFile("b.txt", "nothing here");
    const QString c = makeFile("c.txt", "old");
    batch.FindAndReplaceMnuClick();

    EXPECT_EQ(TestFiles::read(a), "new new");
    EXPECT_EQ(TestFiles::read(b), "nothing here");
    EXPECT_EQ(TestFiles::read(c), "new");
    EXPECT_EQ(host.fileListShown, 1);
    EXPECT_EQ(host.statisticsShown, 1);
    ASSERT_EQ(statistics->DataRowCount(), 2); // only files with occurrences
    EXPECT_EQ(statistics->row(1), (PathTable::Row{a, "2", "2"}));
    EXPECT_EQ(statistics->row(2), (PathTable::Row{c, "1", "1"}));
    EXPECT_EQ(host.progress, (QList<QString>{"1/3", "2/3", "3/3", ""}));
    EXPECT_FALSE(batch.RunActive());
    EXPECT_FALSE(batch.Processing());
    EXPECT_TRUE(host.wizardStages.contains(10));
}

TEST_F(BatchRunTest, NoStringPairsIsReportedAfterTheFileList)
{
    const QString a = makeFile("a.txt", "old");
    job.stringPairs().ClearGrid();
    batch.FindAndReplaceMnuClick();

    EXPECT_EQ(host.fileListShown, 1);
    EXPECT_EQ(host.messages,
              (QList<QString>{"No \"Find what/Replace with\" strings specified. At least one pair "
                              "of strings must be specified."}));
    EXPECT_EQ(host.pages, (QList<JobPage>{JobPage::Strings}));
    EXPECT_EQ(host.statisticsShown, 0);
    EXPECT_EQ(TestFiles::read(a), "old");
}

TEST_F(BatchRunTest, UnattendedValidationFailuresSetTheExitCodeSilently)
{
    state.unattended = true;
    makeFile("a.txt", "old");
    job.stringPairs().ClearGrid();
    batch.FindAndReplaceMnuClick();
    EXPECT_EQ(host.exitCode, 1);
    EXPECT_TRUE(host.messages.isEmpty());

    host.exitCode = 0;
    job.folders().ClearGrid();
    batch.FindAndReplaceMnuClick();
    EXPECT_EQ(host.exitCode, 1);
    EXPECT_TRUE(host.messages.isEmpty());
}

TEST_F(BatchRunTest, CancelInTheFileListProcessesNothing)
{
    const QString a = makeFile("a.txt", "old");
    host.fileListContinues = false;
    batch.FindAndReplaceMnuClick();
    EXPECT_EQ(TestFiles::read(a), "old");
    EXPECT_EQ(host.statisticsShown, 0);
}

TEST_F(BatchRunTest, UnattendedRunShowsNoDialogsAndNumbersTheTitle)
{
    state.unattended = true;
    makeFile("a.txt", "old");
    makeFile("b.txt", "old");
    // An unattended run replaces without asking.
    changeOptions([](RunOptions &o) { o.promptEachReplace = true; });
    batch.FindAndReplaceMnuClick();

    EXPECT_EQ(host.fileListShown, 0);
    EXPECT_EQ(host.statisticsShown, 0);
    EXPECT_TRUE(host.confirmations.isEmpty());
    EXPECT_EQ(host.titles, (QList<QString>{"SVX [1/2]", "SVX [2/2]", "Sarvonex"}));
    EXPECT_EQ(statistics->DataRowCount(), 2);
}

TEST_F(BatchRunTest, CancelAllStopsAfterTheCurrentFileAndStillShowsStatistics)
{
    const QString a = makeFile("a.txt", "old");
    const QString b = makeFile("b.txt", "old");
    changeOptions([](RunOptions &o) { o.promptEachReplace = true; });
    host.replaceAnswers = {ReplaceAnswer::Cancel};
    batch.FindAndReplaceMnuClick();

    EXPECT_EQ(TestFiles::read(a), "old");
    EXPECT_EQ(TestFiles::read(b), "old");
    EXPECT_EQ(host.confirmations.size(), 1);
    EXPECT_EQ(host.statisticsShown, 1);
    ASSERT_EQ(statistics->DataRowCount(), 1);
    EXPECT_EQ(statistics->row(1), (PathTable::Row{a, "1", "0"}));
}

TEST_F(BatchRunTest, RunStateIsResetForEachRun)
{
    makeFile("a.txt", "old");
    state.BreakRequested = true;
    state.AskBinary = state.AskReadOnly = state.AskBackUpFailure = false;
    state.BackUpFolders = {"/stale"};
    statistics->AppendRow({"/stale", "1", "1"});
    batch.FindAndReplaceMnuClick();

    EXPECT_TRUE(state.AskBinary && state.AskReadOnly && state.AskBackUpFailure);
    EXPECT_FALSE(state.breakRequested());
    EXPECT_TRUE(state.BackUpFolders.isEmpty());
    ASSERT_EQ(statistics->DataRowCount(), 1);
    EXPECT_NE(statistics->cell(1, 0), "/stale");
}

TEST_F(BatchRunTest, BreakProcessAsksFirst)
{
    host.confirmAnswers = {false, true};
    batch.BreakProcessBtnClick();
    EXPECT_FALSE(state.breakRequested());
    batch.BreakProcessBtnClick();
    EXPECT_TRUE(state.breakRequested());
    EXPECT_EQ(host.confirmQuestions.first(),
              "Are you sure to break the find & replace process?\n(changes in the current file "
              "will be discarded)");
}

TEST_F(BatchRunTest, AutomaticSaveRunsBeforeCollectionEvenWhenNothingIsFound)
{
    int saves = 0;
    batch.setAutomaticSave([&] { ++saves; });
    batch.FindAndReplaceMnuClick(); // no files: "No files found."
    EXPECT_EQ(saves, 0);            // option off

    changeOptions([](RunOptions &o) { o.saveSettingsAutomatically = true; });
    batch.FindAndReplaceMnuClick();
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(host.stickyMessages.size(), 2);
}

TEST_F(BatchRunTest, EmptiedFileListRunsAnEmptyLoopAndStillShowsStatistics)
{
    statistics->AppendRow({"/earlier run", "1", "1"});
    files->ClearGrid(); // every row removed in the file list
    batch.ProcessFileList();
    EXPECT_EQ(host.statisticsShown, 1);
    EXPECT_EQ(statistics->DataRowCount(), 0);
    EXPECT_TRUE(host.messages.isEmpty());
    EXPECT_FALSE(batch.Processing());
}

TEST_F(BatchRunTest, RowWithEmptyCodingIsProcessedAsAuto)
{
    const QString a = makeFile("a.txt", QByteArray("\xFF\xFE", 2) + QByteArray("o\0l\0d\0", 6));
    files->resetRows({{a, "", ""}});
    batch.ProcessFileList();
    EXPECT_EQ(TestFiles::read(a), QByteArray("\xFF\xFE", 2) + QByteArray("n\0e\0w\0", 6));
}

} // namespace
