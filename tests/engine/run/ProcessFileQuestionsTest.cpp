#include "support/ProcessFileFixture.h"

namespace {

// How one file came out of a question, or out of an option that settles it.
struct Expected {
    bool asked;
    bool written;
    bool askAgain;
    bool breaks;
};

class ProcessFileQuestions : public ProcessFileFixture
{
protected:
    // `counted`: the pairs ran, so the file has its statistics row whether
    // written or not.
    void expectOutcome(const QString &file, const Expected &e, bool memory, bool counted,
                       const char *what)
    {
        EXPECT_EQ(host.questions.size(), e.asked ? 1 : 0) << what;
        EXPECT_EQ(TestFiles::read(file).startsWith("new"), e.written) << what;
        EXPECT_EQ(memory, e.askAgain) << what;
        EXPECT_EQ(state.breakRequested(), e.breaks) << what;
        EXPECT_EQ(statistics->DataRowCount(), counted ? 1 : 0) << what;
        if (counted) {
            EXPECT_EQ(statisticsRow(1), (PathTable::Row{file, "1", "1"})) << what;
        }
    }

    void reset(ContinueAnswer answer)
    {
        startNextRun();
        host.questions.clear();
        host.captions.clear();
        host.continueAnswers = {answer};
    }
};

TEST_F(ProcessFileQuestions, ReadOnlyFileByOptionAndAnswer)
{
    const struct {
        const char *what;
        int option;
        ContinueAnswer answer;
        Expected expected;
    } cases[] = {
        {"skip", ReadOnlySkip, ContinueAnswer::Yes, {false, false, true, false}},
        {"modify anyway", ReadOnlyModifyAnyway, ContinueAnswer::Yes, {false, true, true, false}},
        {"ask, yes", ReadOnlyAsk, ContinueAnswer::Yes, {true, true, true, false}},
        {"ask, all", ReadOnlyAsk, ContinueAnswer::All, {true, true, false, false}},
        {"ask, no", ReadOnlyAsk, ContinueAnswer::No, {true, false, true, false}},
        {"ask, cancel", ReadOnlyAsk, ContinueAnswer::Cancel, {true, false, true, true}},
    };
    changeOptions([](RunOptions &o) { o.backupMode = BackupNone; });
    const QString file = dir.filePath("locked.txt");
    for (const auto &c : cases) {
        TestFiles::write(file, "old");
        setMode(file, 0444);
        changeOptions([&](RunOptions &o) { o.readOnlyFiles = c.option; });
        reset(c.answer);
        process(file);

        expectOutcome(file, c.expected, state.AskReadOnly, true, c.what);
        EXPECT_EQ(modeOf(file), mode_t(0444)) << c.what << ": read-only again afterwards";
        if (c.expected.asked) {
            EXPECT_EQ(host.questions[0],
                      "File \"" + file + "\" can't be open for writing. File is probably marked as "
                      "read-only, or you don't have sufficient network rights.\n\nDo you want to "
                      "replace strings in this file?");
            EXPECT_EQ(host.captions[0][1], "Replace in All Read-Only Files") << c.what;
        }
        setMode(file, 0644);
    }
}

TEST_F(ProcessFileQuestions, ReadOnlyFileSkippedStillGetsItsBackup)
{
    changeOptions([](RunOptions &o) { o.readOnlyFiles = ReadOnlySkip; });
    const QString file = makeFile("locked.txt", "old");
    setMode(file, 0400);
    process(file);
    EXPECT_EQ(TestFiles::read(file), "old");
    EXPECT_EQ(TestFiles::read(dir.filePath("_BACKUP_/locked.txt")), "old");
    EXPECT_EQ(modeOf(file), mode_t(0400));
}

TEST_F(ProcessFileQuestions, BinaryLookingFileByOptionAndAnswer)
{
    const struct {
        const char *what;
        int option;
        bool unattended;
        ContinueAnswer answer;
        Expected expected;
    } cases[] = {
        {"skip", BinarySkip, false, ContinueAnswer::Yes, {false, false, true, false}},
        {"as text", BinaryTreatAsText, false, ContinueAnswer::Yes, {false, true, true, false}},
        {"ask, yes", BinaryAsk, false, ContinueAnswer::Yes, {true, true, true, false}},
        {"ask, all", BinaryAsk, false, ContinueAnswer::All, {true, true, false, false}},
        {"ask, no", BinaryAsk, false, ContinueAnswer::No, {true, false, true, false}},
        {"ask, cancel", BinaryAsk, false, ContinueAnswer::Cancel, {true, false, true, true}},
        {"unattended, ask", BinaryAsk, true, ContinueAnswer::No, {false, true, true, false}},
        {"unattended, skip", BinarySkip, true, ContinueAnswer::Yes, {false, false, true, false}},
    };
    changeOptions([](RunOptions &o) { o.backupMode = BackupNone; });
    const QString file = dir.filePath("data.bin");
    for (const auto &c : cases) {
        TestFiles::write(file, QByteArray("old\x01\x02 rest", 10));
        changeOptions([&](RunOptions &o) { o.binaryFiles = c.option; });
        state.unattended = c.unattended;
        reset(c.answer);
        process(file);

        // The question comes before the pairs: a skipped file was not searched.
        expectOutcome(file, c.expected, state.AskBinary, c.expected.written, c.what);
        if (c.expected.asked) {
            EXPECT_EQ(host.questions[0],
                      "File \"" + file + "\" contains non-printable characters. \nIt is not a "
                      "text-only file or a wrong file coding was selected.\n\nModifying a binary "
                      "file can lead to an unpredictable results.\n\nDo you want to replace strings "
                      "in this file?");
            EXPECT_EQ(host.captions[0], (std::array<QString, 4>{"Replace in this File",
                                                                "Replace in All Binary Files",
                                                                "Skip this File", "Cancel All"}));
        }
    }
}

TEST_F(ProcessFileQuestions, UnattendedRunStillAsksAboutReadOnlyFiles)
{
    state.unattended = true;
    host.continueAnswers = {ContinueAnswer::No};
    const QString file = makeFile("locked.txt", "old");
    setMode(file, 0444);
    process(file);
    EXPECT_EQ(host.questions.size(), 1);
    EXPECT_EQ(TestFiles::read(file), "old");
}

TEST_F(ProcessFileQuestions, BreakDuringThePairsLeavesTheFileUnwrittenButCounted)
{
    job.stringPairs().AppendRow({"new", "newer", ""});
    state.PromptEachReplacement = true;
    host.replaceAnswers = {ReplaceAnswer::Cancel};
    const QString file = makeFile("notes.txt", "old old");
    process(file);
    EXPECT_TRUE(state.breakRequested());
    EXPECT_EQ(TestFiles::read(file), "old old");
    EXPECT_FALSE(QFile::exists(dir.filePath("_BACKUP_")));
    EXPECT_EQ(statisticsRow(1)[0], file);
}

} // namespace
