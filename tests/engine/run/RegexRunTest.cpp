#include "engine/run/BatchRun.h"
#include "support/RunFixture.h"

namespace {

class RegexRunTest : public BatchRunFixture
{
protected:
    void SetUp() override
    {
        RunFixture::SetUp();
        useOldToNewJob();
        state.unattended = true;
    }

    void usePair(const QByteArray &find, const QByteArray &replacement)
    {
        job.stringPairs().ClearGrid();
        job.stringPairs().AppendRow({find, replacement, "cr(--)[Default]"});
    }
};

// A pattern that backtracks without end on one file leaves that file as it
// was, names it and the pair, counts it as failed, and the run goes on.
TEST_F(RegexRunTest, RunawayPatternFailsItsFileOnly)
{
    const QByteArray runaway = QByteArray(40, 'a') + "c b";
    const QString a = makeFile("a.txt", "ab " + runaway);
    const QString b = makeFile("b.txt", "aab");
    usePair("(a+)+b", "#");
    batch.FindAndReplaceMnuClick();

    EXPECT_EQ(TestFiles::read(a), "ab " + runaway);
    EXPECT_EQ(TestFiles::read(b), "#");
    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_EQ(host.messages[0],
              "The regular expression \"(a+)+b\" of string pair 1 reached the limit of the "
              "regular-expression engine in file \"" + a + "\" (too much backtracking).\n"
              "The file was left as it is.");
    EXPECT_EQ(statistics->row(1),
              (PathTable::Row{a, "search limit reached", "search limit reached"}));
    EXPECT_EQ(UnattendedExitCode(host.exitCode, state), 1);
}

// An invalid pattern or a reference to a missing group in a job file stops
// the run before any file is collected.
TEST_F(RegexRunTest, UnusablePairIsRefusedBeforeTheRun)
{
    const QString a = makeFile("a.txt", "get_x()");
    const struct {
        QByteArray find;
        QByteArray replacement;
        QString message;
    } cases[] = {
        {"get_(\\w+", "$1",
         "String pair 1 (\"get_(\\w+\") cannot be used:\nThe regular expression is not valid: "
         "missing closing parenthesis at offset 8.\n\nNothing was replaced."},
        {"get_(\\w+)", "${name}",
         "String pair 1 (\"get_(\\w+)\") cannot be used:\nThe replacement text refers to the "
         "group \"name\", which the regular expression does not have.\n\nNothing was replaced."},
    };
    for (const auto &c : cases) {
        host.messages.clear();
        host.exitCode = 0;
        usePair(c.find, c.replacement);
        batch.FindAndReplaceMnuClick();
        EXPECT_EQ(host.messages, QList<QString>{c.message});
        EXPECT_EQ(host.exitCode, 1);
        EXPECT_EQ(host.pages.last(), JobPage::Strings);
        EXPECT_EQ(files->DataRowCount(), 0);
        EXPECT_EQ(TestFiles::read(a), "get_x()");
    }
}

} // namespace
