// The program itself against what an attacker or bad luck brings: damaged job
// files, files under several names, a file-size limit, a full disk under the
// run journal, back-up names that point elsewhere, and kills at random
// moments.
#include "support/UnattendedJobTest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <csignal>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

using DamagedInputTest = UnattendedJobTest;

TEST_F(DamagedInputTest, DamagedJobFileNeitherCrashesNorHangs)
{
    TestFiles::write(data + "/a.txt", "old");
    const struct {
        const char *what;
        QByteArray excludedTypes;
        bool refused;
    } cases[] = {
        {"the highest key number",
         "GridWidth=3\r\nGridHeight=1\r\nValue9223372036854775807=x\r\n", false},
        {"a wild height and a high key",
         "GridWidth=3\r\nGridHeight=2147483647\r\nValue100000000=x\r\n", true},
    };
    for (const auto &c : cases) {
        TestFiles::write(data + "/a.txt", "old");
        writeJob({data}, "old", "new", "Backup=1\r\n", "[ExcludeFileTypes]\r\n" + c.excludedTypes);
        const ProgramRun::Outcome outcome = run();
        EXPECT_FALSE(outcome.crashed) << c.what;
        EXPECT_EQ(outcome.exitCode, c.refused ? 1 : 0) << c.what << outcome.errors.toStdString();
        EXPECT_EQ(outcome.errors.contains(job), c.refused) << c.what;
        EXPECT_EQ(TestFiles::read(data + "/a.txt"), c.refused ? "old" : "new") << c.what;
    }
}

TEST_F(DamagedInputTest, FileReachedUnderSeveralNamesIsReplacedOnce)
{
    TestFiles::write(data + "/a.txt", "a foo b");
    ASSERT_TRUE(QFile::link(data + "/a.txt", data + "/symbolic.txt"));
    ASSERT_EQ(::link(QFile::encodeName(data + "/a.txt").constData(),
                     QFile::encodeName(data + "/hard.txt").constData()),
              0);
    ASSERT_TRUE(QFile::link(data, dir.filePath("linked")));
    writeJob({data, dir.filePath("linked")}, "foo", "foo2");
    const ProgramRun::Outcome outcome = run();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_EQ(TestFiles::read(data + "/a.txt"), "a foo2 b");
}

// The write fails with EFBIG and takes its failure path: a message, exit code
// 1, the original whole and nothing left beside it; also for a hard-linked
// file, which is written in place.
TEST_F(DamagedInputTest, FileSizeLimitFailsTheWriteCleanly)
{
    const QByteArray original = "old " + QByteArray(3000, '.');
    for (const bool hardLinked : {false, true}) {
        QDir(data).removeRecursively();
        TestFiles::write(data + "/a.txt", original);
        if (hardLinked) {
            ASSERT_EQ(::link(QFile::encodeName(data + "/a.txt").constData(),
                             QFile::encodeName(data + "/other.dat").constData()),
                      0);
        }
        writeJob({data}, "old", QByteArray(2000, 'n'));
        const ProgramRun::Outcome outcome = run([] {
            const rlimit limit{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        EXPECT_FALSE(outcome.crashed) << hardLinked;
        EXPECT_EQ(outcome.exitCode, 1) << hardLinked;
        EXPECT_TRUE(outcome.errors.contains("Unexpected error while saving the file"))
            << hardLinked << outcome.errors.toStdString();
        EXPECT_EQ(TestFiles::read(data + "/a.txt"), original) << hardLinked;
        EXPECT_TRUE(leftovers(data).isEmpty()) << hardLinked;
    }
}

// A file over the 2 GB limit of every file is skipped as too large, not for
// want of memory.
TEST_F(DamagedInputTest, FileOverTheSizeLimitIsCalledTooLarge)
{
    TestFiles::write(data + "/big.txt", "old");
    ASSERT_EQ(::truncate(QFile::encodeName(data + "/big.txt").constData(), (qint64(1) << 31) + 10),
              0);
    writeJob({data}, "old", "new");
    const ProgramRun::Outcome outcome = run();
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.errors.contains("big.txt is larger than 2 GB"))
        << outcome.errors.toStdString();
    EXPECT_FALSE(outcome.errors.contains("Not enough memory"));
}

// The disk under the run journal is full from the start, or fills in the
// middle of a run that records each file (a tmpfs of two pages, in a mount
// namespace of the test's own): every file is still replaced, standard error
// says once that the run cannot be undone, the exit code is 3, and --undo
// takes back neither a part of the run nor the run before it. A run without
// back-up copies could never be undone: it says nothing and ends with 0.
TEST_F(DamagedInputTest, FullJournalDiskLeavesARunThatCannotBeUndone)
{
    const QString runs = config + "/data/Sarvonex/runs";
    ASSERT_TRUE(QDir().mkpath(runs));
    const QByteArray mountPoint = QFile::encodeName(runs);
    if (::unshare(CLONE_NEWNS) != 0
        || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        GTEST_SKIP() << "no mount namespace of its own (needs root)";
    const struct {
        const char *what;
        bool fullFromStart;
        QByteArray backup;
        int exitCode;
        qsizetype messages;
    } cases[] = {
        {"full from the start", true, "Backup=3\r\n", 3, 1},
        {"fills in the middle", false, "Backup=3\r\n", 3, 1},
        {"full, no back-ups", true, "Backup=1\r\n", 0, 0},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=8k"), 0);
        const auto unmount = qScopeGuard([&] { ::umount2(mountPoint.constData(), MNT_DETACH); });
        QDir(data).removeRecursively();
        writeJob({data}, "old", "new", c.backup);
        TestFiles::write(data + "/earlier.txt", "old");
        ASSERT_EQ(run().exitCode, 0); // its journal takes one page
        if (c.fullFromStart)
            TestFiles::write(runs + "/filler", QByteArray(4096, '.'));
        for (int i = 0; i < 60; ++i)
            TestFiles::write(data + QStringLiteral("/f%1.txt").arg(i), "old");

        const ProgramRun::Outcome outcome = run();
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.what << outcome.errors.toStdString();
        EXPECT_EQ(outcome.errors.count("(No space left on device), so this run cannot be undone"),
                  c.messages)
            << c.what << outcome.errors.toStdString();
        const QStringList journals =
            QDir(runs).entryList({"*.journal"}, QDir::Files, QDir::Name);
        ASSERT_EQ(journals.size(), 2) << c.what;
        EXPECT_EQ(QFileInfo(runs + '/' + journals.last()).size(), 0) << c.what;

        const ProgramRun::Outcome undo = ProgramRun::run(SARVONEX_PROGRAM, {"--undo"}, config);
        EXPECT_EQ(undo.output, "Nothing to undo.\n") << c.what;
        for (int i = 0; i < 60; ++i)
            EXPECT_EQ(TestFiles::read(data + QStringLiteral("/f%1.txt").arg(i)), "new")
                << c.what << " file " << i;
        EXPECT_EQ(TestFiles::read(data + "/earlier.txt"), "new") << c.what;
    }
}

// A prefix that names another folder is refused like a failed back-up: the
// file is skipped, nothing is written elsewhere and the run fails.
TEST_F(DamagedInputTest, BackupNamesThatLeaveTheFolderAreRefused)
{
    for (const QByteArray &names : {QByteArray("BackupPrefix=../\r\n"),
                                    QByteArray("BackupPrefix=~\r\nBackupSuffix=/x\r\n"),
                                    QByteArray("BackupPrefix=..\r\n")}) {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        TestFiles::write(data + "/a.txt", "old");
        writeJob({data}, "old", "new", "Backup=3\r\n" + names);
        const ProgramRun::Outcome outcome = run();
        EXPECT_EQ(outcome.exitCode, 1) << names.constData() << outcome.errors.toStdString();
        EXPECT_TRUE(outcome.errors.contains("Back-up failed!")) << names.constData();
        EXPECT_EQ(TestFiles::read(data + "/a.txt"), "old") << names.constData();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"job.ini"})
            << names.constData();
    }
}

// A smaller version of scripts/kill-loop: whatever moment a kill hits, every
// file is wholly old or wholly new and no temporary file stays.
TEST_F(DamagedInputTest, KillsAtRandomMomentsLeaveEveryFileWholeAndNoTemporaryFile)
{
    const QByteArray oldContent = QByteArray("old line\n").repeated(2000);
    const QByteArray newContent = QByteArray("new line\n").repeated(2000);
    for (int i = 0; i < 200; ++i)
        TestFiles::write(data + QStringLiteral("/f%1.txt").arg(i), oldContent);
    writeJob({data}, "old", "new");
    for (int kill = 0; kill < 5; ++kill) {
        QProcess process;
        process.setProcessEnvironment(ProgramRun::environment(config));
        // A session of its own, so that the program's helper processes can
        // be waited for as a group.
        process.setChildProcessModifier([] { ::setsid(); });
        process.start(SARVONEX_PROGRAM, {"-f" + job, "-r", "-s"});
        ASSERT_TRUE(process.waitForStarted());
        const pid_t group = pid_t(process.processId());
        std::this_thread::sleep_for(
            std::chrono::microseconds(QRandomGenerator::global()->bounded(200000)));
        ::kill(group, SIGKILL);
        process.waitForFinished();
        // The watcher that removes a temporary file named at the moment of
        // the kill ends right after the program.
        for (int wait = 0; wait < 500 && ::kill(-group, 0) == 0; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        for (int i = 0; i < 200; ++i) {
            const QByteArray content = TestFiles::read(data + QStringLiteral("/f%1.txt").arg(i));
            EXPECT_TRUE(content == oldContent || content == newContent) << "file " << i;
        }
        EXPECT_EQ(leftovers(data), QStringList());
        // The next kill starts from old files again.
        for (int i = 0; i < 200; ++i)
            TestFiles::write(data + QStringLiteral("/f%1.txt").arg(i), oldContent);
    }
}

} // namespace
