#include "app/BreakSignals.h"
#include "engine/run/RunState.h"
#include "support/ProgramFolders.h"
#include "support/ProgramRun.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using Outcome = ProgramRun::Outcome;

QProcessEnvironment programEnvironment(const QString &config)
{
    return ProgramRun::environment(config);
}

Outcome runProgram(const QStringList &arguments, const QString &config)
{
    return ProgramRun::run(SARVONEX_PROGRAM, arguments, config);
}

class ConsoleRunTest : public ProgramFoldersTest
{
protected:
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
        {"no string pairs", data.toUtf8(), "", "No \"Find what/Replace with\" strings specified."},
        {"no folders", "", onePair("old", "new"), "No search folder specified."},
    };
    for (const auto &c : cases) {
        const QString job = writeJob(c.folder, c.strings);
        if (c.folder.isEmpty()) // an empty folder cell is no folder entry
            TestFiles::write(job, TestFiles::read(job).replace("GridHeight=1\r\nValue1=\r\n",
                                                               "GridHeight=0\r\n"));
        const Outcome outcome = runProgram({"-f" + job, "-r", "-s"}, config);
        EXPECT_EQ(outcome.exitCode, 1) << c.name;
        EXPECT_TRUE(outcome.errors.contains(c.expectedError))
            << c.name << outcome.errors.toStdString();
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

TEST_F(ConsoleRunTest, UnusableSettingsFilesAreReportedAndExitWithOne)
{
    TestFiles::write(data + "/a.txt", "old");
    const QString job = writeJob(data.toUtf8(), onePair("old", "new"));
    const QString folder = dir.filePath("folder.ini");
    QDir().mkpath(folder);
    const struct {
        const char *name;
        QString settingsFile;
        QByteArray versionLine;
        QString expectedError;
    } cases[] = {
        // A refused file leaves the job empty, which then has no folder.
        {"newer version", job, "Version=2.4", "Version of the file being loaded: 2.4\n"},
        {"a folder", folder, "Version=2.2", "Unable to read " + folder},
    };
    for (const auto &c : cases) {
        TestFiles::write(job, TestFiles::read(job).replace("Version=2.2", c.versionLine));
        const Outcome outcome = runProgram({"-f" + c.settingsFile, "-r", "-s"}, config);
        EXPECT_EQ(outcome.exitCode, 1) << c.name;
        EXPECT_TRUE(outcome.errors.contains(c.expectedError))
            << c.name << ": " << outcome.errors.toStdString();
        TestFiles::write(job, TestFiles::read(job).replace(c.versionLine, "Version=2.2"));
    }
    EXPECT_EQ(TestFiles::read(data + "/a.txt"), "old");
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

ino_t inodeOf(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// A break signal in the middle of a long run: every file is wholly old or
// wholly new, the files written form a prefix of the processing order, no
// temporary file is left behind and the program ends with 128 + the
// signal's number.
TEST_F(ConsoleRunTest, BreakSignalStopsTheRunBetweenWholeFiles)
{
    constexpr int fileCount = 300;
    const QByteArray oldText = QByteArray("an old line\n").repeated(12000);
    const QByteArray newText = QByteArray("an new line\n").repeated(12000);
    QStringList paths;
    for (int i = 0; i < fileCount; ++i) {
        paths.append(QStringLiteral("%1/f%2.txt").arg(data).arg(i, 4, 10, QLatin1Char('0')));
        TestFiles::write(paths.last(), oldText);
    }
    const QString job = writeJob(data.toUtf8(), onePair("old", "new"));

    for (const int signalNumber : {SIGINT, SIGTERM}) {
        for (const QString &path : paths)
            TestFiles::write(path, oldText);
        // The first file is replaced by a rename once it has been written.
        const ino_t firstInode = inodeOf(paths.first());
        QProcess process;
        process.setProcessEnvironment(programEnvironment(config));
        process.start(SARVONEX_PROGRAM, {"-f" + job, "-r", "-s"});
        ASSERT_TRUE(process.waitForStarted());
        while (inodeOf(paths.first()) == firstInode && process.state() == QProcess::Running)
            QThread::yieldCurrentThread();
        ::kill(pid_t(process.processId()), signalNumber);
        ASSERT_TRUE(process.waitForFinished(120000));

        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << signalNumber;
        EXPECT_EQ(process.exitCode(), 128 + signalNumber);
        int written = 0;
        while (written < fileCount && TestFiles::read(paths[written]) == newText)
            ++written;
        EXPECT_GE(written, 1) << signalNumber;
        EXPECT_LT(written, fileCount) << "the run ended before the signal came";
        for (int i = written; i < fileCount; ++i)
            ASSERT_EQ(TestFiles::read(paths[i]), oldText) << signalNumber << " file " << i;
        EXPECT_EQ(QDir(data).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                      .size(),
                  fileCount);
    }
}

TEST(BreakSignals, InterruptRequestsABreak)
{
    RunState state;
    BreakSignals::install(state);
    BreakSignals::setProcessing(true);
    std::raise(SIGINT);
    EXPECT_TRUE(state.breakRequested());
    EXPECT_TRUE(BreakSignals::received());
    // An impatient second Ctrl+C must not kill the process in the middle of
    // writing a file in place (a file with more than one hard link).
    std::raise(SIGINT);
    std::raise(SIGTERM);
    EXPECT_TRUE(state.breakRequested());

    state.BreakRequested = false; // a run resets the flag when it starts processing
    BreakSignals::reassert();
    EXPECT_TRUE(state.breakRequested());
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

} // namespace
