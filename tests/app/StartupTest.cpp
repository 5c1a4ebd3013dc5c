#include "support/ProgramFolders.h"
#include "support/ProgramRun.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

// Which program does the work: runs that show no window stay in sarvonex and
// never load the window-system libraries; a run that shows one goes on in the
// window program.
namespace {

struct Finished {
    int exitCode = -1;  // -1 when it did not end normally
    QString errors;     // standard error, with the dynamic loader's log
};

class StartupTest : public ProgramFoldersTest
{
protected:
    QString job;

    void SetUp() override
    {
        ProgramFoldersTest::SetUp();
        TestFiles::write(data + "/note.txt", "old colour\n");
        job = dir.filePath("job.ini");
        const Finished saved = start(SARVONEX_PROGRAM,
                                     {"replace", "--save-job", job, "old", "new", data}, false);
        ASSERT_EQ(saved.exitCode, 0) << saved.errors.toStdString();
    }

    // Runs `program` with its preferences and journals in the temporary
    // folder, the libraries it loads logged to standard error, and with the
    // off-screen platform as its display when `display` is set.
    Finished start(const QString &program, const QStringList &arguments, bool display)
    {
        QProcessEnvironment environment = ProgramRun::environment(config);
        if (display)
            environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("LD_DEBUG", "libs");
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.path());
        process.start(program, arguments);
        process.closeWriteChannel();
        Finished finished;
        if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
            finished.exitCode = process.exitCode();
        finished.errors = QString::fromLocal8Bit(process.readAllStandardError());
        return finished;
    }
};

// Whether the dynamic loader's log names `library` ("libQt6Gui") as loaded.
bool loaded(const Finished &finished, const char *library)
{
    const QRegularExpression initialised(QStringLiteral("calling init: \\S*/%1\\.so")
                                             .arg(QLatin1String(library)));
    return finished.errors.contains(initialised);
}

TEST_F(StartupTest, RunsWithoutAWindowLoadNoWindowSystemLibraries)
{
    const struct {
        QStringList arguments;
        bool alsoWithDisplay;  // the command never shows a window
    } runs[] = {
        {{"--version"}, false},
        {{"--help"}, false},
        {{"/CheckInternet"}, false},
        {{"replace", "--help"}, true},
        {{"-f" + job, "--preview"}, true},
        {{"--undo"}, true},
        {{"replace", "old", "new", "data"}, true},
        {{"-f" + job, "-r", "-s"}, false},
    };
    for (const auto &run : runs) {
        for (const bool display : {false, true}) {
            if (display && !run.alsoWithDisplay)
                continue;
            const Finished finished = start(SARVONEX_PROGRAM, run.arguments, display);
            const std::string name = run.arguments.join(' ').toStdString() + (display ? " (display)" : "");
            EXPECT_NE(finished.exitCode, -1) << name;
            EXPECT_TRUE(loaded(finished, "libQt6Core")) << name << finished.errors.toStdString();
            EXPECT_FALSE(loaded(finished, "libQt6Gui")) << name;
            EXPECT_FALSE(loaded(finished, "libQt6Widgets")) << name;
        }
    }
    EXPECT_EQ(TestFiles::read(data + "/note.txt"), "new colour\n");
}

TEST_F(StartupTest, WithADisplayTheWindowProgramRunsTheJob)
{
    const Finished finished = start(SARVONEX_PROGRAM, {"-f" + job, "-r", "-s"}, true);
    EXPECT_EQ(finished.exitCode, 0) << finished.errors.toStdString();
    EXPECT_TRUE(loaded(finished, "libQt6Widgets"));
    EXPECT_EQ(TestFiles::read(data + "/note.txt"), "new colour\n");
}

TEST_F(StartupTest, AMissingWindowProgramIsReportedButRunsWithoutAWindowWork)
{
    const QString alone = dir.filePath("bin/sarvonex");
    QDir().mkpath(dir.filePath("bin"));
    ASSERT_TRUE(QFile::copy(SARVONEX_PROGRAM, alone));

    const Finished window = start(alone, {"-f" + job, "-r", "-s"}, true);
    EXPECT_EQ(window.exitCode, 1);
    EXPECT_TRUE(window.errors.contains("sarvonex: cannot open a window: the window program is missing")
                && window.errors.contains(dir.filePath("bin/sarvonex-window")))
        << window.errors.toStdString();
    EXPECT_EQ(TestFiles::read(data + "/note.txt"), "old colour\n");

    const Finished console = start(alone, {"-f" + job, "-r", "-s"}, false);
    EXPECT_EQ(console.exitCode, 0) << console.errors.toStdString();
    EXPECT_EQ(TestFiles::read(data + "/note.txt"), "new colour\n");
}

} // namespace
