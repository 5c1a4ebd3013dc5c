#include "app/BreakSignals.h"
#include "engine/RunState.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString errors;
};

// Runs the program without a display, with its preferences in `config`.
Outcome runProgram(const QStringList &arguments, const QString &config)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    env.insert("XDG_CONFIG_HOME", config);
    process.setProcessEnvironment(env);
    process.start(SARVONEX_PROGRAM, arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
}

class ConsoleRunTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString data;
    QString config;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        data = dir.filePath("data");
        config = dir.filePath("config");
    }

    QString writeJob(const QByteArray &folder, const QByteArray &strings,
                     const QByteArray &extraOptions = "")
    {
        const QString path = dir.filePath("job.ini");
        TestFiles::write(path, "[Sarvonex]\r\nVersion=2.2\r\n"
                               "[Directories]\r\nGridWidth=3\r\nGridHeight=1\r\nValue1="
                                   + folder
                                   + "\r\nValue2=All levels\r\nValue3=-B\r\n"
                                     "[FileTypes]\r\nGridWidth=3\r\nGridHeight=1\r\n"
                                     "Value1=*.txt\r\nValue2=Auto\r\nValue3=\r\n"
                                   + strings + "[Options]\r\nBackup=1\r\n" + extraOptions);
        return path;
    }

    static QByteArray onePair(const QByteArray &find, const QByteArray &replace)
    {
        return "[Strings]\r\nGridWidth=3\r\nGridHeight=1\r\nValue1=" + find + "\r\nValue2="
            + replace + "\r\nValue3=(--)[Default]\r\n";
    }
};

TEST_F(ConsoleRunTest, RunsTheJobAndExitsWithZero)
{
    TestFiles::write(data + "/a.txt", "one old line\n");
    TestFiles::write(data + "/sub/b.txt", "old\r\nold\r\n");
    const QString job = writeJob(data.toUtf8(), onePair("old", "new"));
    const Outcome outcome = runProgram({"-f" + job, "-r", "-s"}, config);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_EQ(TestFiles::read(data + "/a.txt"), "one new line\n");
    EXPECT_EQ(TestFiles::read(data + "/sub/b.txt"), "new\r\nnew\r\n");
}

TEST_F(ConsoleRunTest, SwitchFormsAreEquivalent)
{
    TestFiles::write(data + "/a.txt", "old");
    const QString job = writeJob(data.toUtf8(), onePair("old", "new"));
    EXPECT_EQ(runProgram({"/F:" + job, "/R", "-S"}, config).exitCode, 0);
    EXPECT_EQ(TestFiles::read(data + "/a.txt"), "new");
}

TEST_F(ConsoleRunTest, FailuresExitWithOne)
{
    TestFiles::write(data + "/a.txt", "old");
    const struct {
        const char *name;
        QByteArray folder;
        QByteArray strings;
        QString expectedError;
    } cases[] = {
        {"no string pairs", data.toUtf8(), "", ""},
        {"no folders", "", onePair("old", "new"), ""},
    };
    for (const auto &c : cases) {
        const QString job = writeJob(c.folder, c.strings);
        if (c.folder.isEmpty()) // an empty folder cell is no folder entry
            TestFiles::write(job, TestFiles::read(job).replace("GridHeight=1\r\nValue1=\r\n",
                                                               "GridHeight=0\r\n"));
        const Outcome outcome = runProgram({"-f" + job, "-r", "-s"}, config);
        EXPECT_EQ(outcome.exitCode, 1) << c.name;
        EXPECT_TRUE(outcome.errors.isEmpty()) << c.name << outcome.errors.toStdString();
    }
    EXPECT_EQ(TestFiles::read(data + "/a.txt"), "old");
}

TEST_F(ConsoleRunTest, MissingSettingsFileIsReportedAndExitsWithOne)
{
    const QString missing = dir.filePath("missing.ini");
    const Outcome outcome = runProgram({"-f:" + missing, "-r", "-s"}, config);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.errors.contains("File \"" + missing
                                        + "\" specified on the command line doesn't exist."));
}

TEST_F(ConsoleRunTest, ReadOnlyFileIsSkippedAndTheQuestionReported)
{
    const QString file = data + "/a.txt";
    TestFiles::write(file, "old");
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup);
    const QString job = writeJob(data.toUtf8(), onePair("old", "new"), "ReadOnlyFiles=1\r\n");
    const Outcome outcome = runProgram({"-f" + job, "-r", "-s"}, config);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.errors.contains("can't be open for writing")) << outcome.errors.toStdString();
    EXPECT_TRUE(outcome.errors.contains("-> Skip this File"));
    EXPECT_EQ(TestFiles::read(file), "old");
}

TEST_F(ConsoleRunTest, NoFilesFoundIsReportedUnlessSuppressed)
{
    const QString job = writeJob(data.toUtf8(), onePair("old", "new"));
    QDir().mkpath(data);
    Outcome outcome = runProgram({"-f" + job, "-r", "-s"}, config);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.errors.contains("No files found."));

    TestFiles::write(config + "/Plimwick/Sarvonex2.conf",
                     "[Common]\nSarvonex.PKSarvonexFrm:nofilesfound.=\n");
    outcome = runProgram({"-f" + job, "-r", "-s"}, config);
    EXPECT_FALSE(outcome.errors.contains("No files found.")) << outcome.errors.toStdString();
}

TEST_F(ConsoleRunTest, OtherInvocations)
{
    const struct {
        QStringList arguments;
        int exitCode;
    } cases[] = {
        {{}, 2},
        {{"-fjob.ini"}, 2},
        {{"-fjob.ini", "-r"}, 2}, // needs the window
        {{"--help"}, 0},
        {{"--version"}, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(runProgram(c.arguments, config).exitCode, c.exitCode)
            << c.arguments.join(' ').toStdString();
}

TEST(BreakSignals, InterruptRequestsABreak)
{
    RunState state;
    BreakSignals::install(state);
    std::raise(SIGINT);
    EXPECT_TRUE(state.breakRequested());
    EXPECT_TRUE(BreakSignals::received());

    state.BreakRequested = false; // a run resets the flag when it starts processing
    BreakSignals::reassert();
    EXPECT_TRUE(state.breakRequested());
    std::signal(SIGINT, SIG_DFL);
}

} // namespace
