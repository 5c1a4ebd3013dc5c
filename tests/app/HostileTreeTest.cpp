// The program over a tree that someone else can write to: names and folders
// swapped for links while it runs, set-user-ID files, links that lead out of
// the job's folders, crafted run journals, special files as the job, signals
// and jobs that cannot run.
#include "support/UnattendedJobTest.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

struct stat statOf(const QString &path)
{
    struct stat info {};
    ::lstat(native(path).constData(), &info);
    return info;
}

// Exchanges each pair of names, over and over, until it is destroyed: every
// open the program makes may meet either.
class NameSwapper
{
public:
    explicit NameSwapper(const QList<std::pair<QString, QString>> &pairs)
        : m_thread([this, pairs] {
              while (!m_stop) {
                  for (const auto &[a, b] : pairs)
                      ::renameat2(AT_FDCWD, native(a).constData(), AT_FDCWD, native(b).constData(),
                                  RENAME_EXCHANGE);
              }
          })
    {
    }
    ~NameSwapper()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

class HostileTreeTest : public UnattendedJobTest
{
protected:
    QString outside = dir.filePath("outside");
    QString secret = outside + "/secret.txt";

    void SetUp() override
    {
        UnattendedJobTest::SetUp();
        TestFiles::write(secret, "old secret\n");
        ::chmod(native(secret).constData(), 0600);
    }

    void expectOutsideUntouched(const char *when)
    {
        EXPECT_EQ(TestFiles::read(secret), "old secret\n") << when;
        EXPECT_EQ(statOf(secret).st_mode & 07777, 0600u) << when;
        EXPECT_EQ(QDir(outside).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{"secret.txt"})
            << when;
    }

    QStringList journals() const
    {
        QStringList found;
        QDirIterator it(config, {"*.journal"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found.append(it.next());
        return found;
    }

    ProgramRun::Outcome undo()
    {
        return ProgramRun::run(SARVONEX_PROGRAM, {"--undo"}, config);
    }
};

// Every name the run opens (plain files, hard-linked ones written in place,
// read-only ones whose mode is changed, subfolders) is swapped for a link to
// a root-only file or folder outside, again and again, while back-up copies
// are made: nothing outside changes, gains a file or loses its mode. Each
// kind comes several times in a run, so that a step that follows a link is
// met by a swap within a few rounds.
TEST_F(HostileTreeTest, NamesSwappedForLinksNeverLeadOutside)
{
    constexpr int Copies = 4;
    writeJob({data}, "old", "new", "Backup=2\r\nReadOnlyFiles=2\r\n");
    for (int round = 0; round < 20; ++round) {
        QDir(data).removeRecursively();
        QList<std::pair<QString, QString>> pairs;
        const auto swapped = [&](const QString &name, const QString &target) {
            const QString link = data + "/.swap-" + QString(name).replace('/', '-');
            QFile::link(target, link);
            pairs.append({data + '/' + name, link});
        };
        for (int copy = 0; copy < Copies; ++copy) {
            const QString n = QString::number(copy);
            for (const QString &name : {"a" + n + ".txt", "hard" + n + ".txt", "ro" + n + ".txt",
                                        "sub" + n + "/b.txt"})
                TestFiles::write(data + '/' + name, "old " + name.toUtf8() + '\n');
            ::link(native(data + "/hard" + n + ".txt").constData(),
                   native(data + "/.second" + n).constData());
            ::chmod(native(data + "/ro" + n + ".txt").constData(), 0444);
            for (const QString &name : {"a" + n + ".txt", "hard" + n + ".txt", "ro" + n + ".txt"})
                swapped(name, secret);
            swapped("sub" + n, outside);
        }
        {
            const NameSwapper swapper(pairs);
            const ProgramRun::Outcome outcome = run();
            ASSERT_FALSE(outcome.crashed);
        }
        expectOutsideUntouched(qPrintable(QStringLiteral("round %1").arg(round)));
        if (HasFailure())
            return;
    }
}

// Root backs up another user's set-user-ID program: the copy is that user's
// (never a root-owned set-user-ID program), and so is the back-up folder
// made in their folder.
TEST_F(HostileTreeTest, BackUpOfAnotherUsersSetUserIdFileStaysTheirs)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root, to own files as another user";
    constexpr uid_t User = 4242;
    for (const QByteArray &mode : {QByteArray("Backup=2\r\n"), QByteArray("Backup=3\r\n")}) {
        QDir(data).removeRecursively();
        TestFiles::write(data + "/tool.txt", "old\n");
        ::chown(native(data).constData(), User, User);
        ::chown(native(data + "/tool.txt").constData(), User, User);
        ::chmod(native(data + "/tool.txt").constData(), 04755);
        writeJob({data}, "old", "new", mode + "BackupPrefix=~\r\n");
        const ProgramRun::Outcome outcome = run();
        EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
        const QString copy = mode.contains('2') ? data + "/_BACKUP_/tool.txt" : data + "/~tool.txt";
        const struct stat info = statOf(copy);
        EXPECT_EQ(info.st_uid, User) << mode.constData();
        EXPECT_EQ(info.st_mode & 07777, 04755u) << mode.constData();
        if (mode.contains('2')) {
            EXPECT_EQ(statOf(data + "/_BACKUP_").st_uid, User);
        }
        EXPECT_EQ(statOf(data + "/tool.txt").st_uid, User);
    }
}

// A link in the tree to a file outside every job folder is left alone, and
// said so; a link to a file inside is followed as before.
TEST_F(HostileTreeTest, LinkLeadingOutsideTheJobIsLeftAlone)
{
    TestFiles::write(data + "/inside.txt", "old\n");
    QFile::link(secret, data + "/to-outside.txt");
    QDir().mkpath(data + "/sub");
    QFile::link(data + "/inside.txt", data + "/sub/to-inside.txt");
    writeJob({data + "/sub", data}, "old", "new");
    const ProgramRun::Outcome outcome = run();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_TRUE(outcome.errors.contains("to-outside.txt is a link that leads outside the job's "
                                        "folders"))
        << outcome.errors.toStdString();
    EXPECT_EQ(TestFiles::read(data + "/inside.txt"), "new\n");
    expectOutsideUntouched("after the run");
}

// A user's run over their own folder does not replace root's file in it
// through the folder: it counts as read-only, and is left root's.
TEST_F(HostileTreeTest, FileTheUserMayNotWriteIsLeftAlone)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root, to run the program as another user";
    constexpr uid_t Nobody = 65534;
    ::chmod(native(dir.path()).constData(), 0755);
    for (const QByteArray &choice : {QByteArray("0"), QByteArray("1"), QByteArray("2")}) {
        QDir(data).removeRecursively();
        TestFiles::write(data + "/root.txt", "old\n");
        ::chown(native(data).constData(), Nobody, Nobody);
        writeJob({data}, "old", "new", "Backup=1\r\nReadOnlyFiles=" + choice + "\r\n");
        ::chmod(native(job).constData(), 0644);
        const ProgramRun::Outcome outcome = run([] {
            (void)::setgid(Nobody);
            (void)::setuid(Nobody);
        });
        EXPECT_FALSE(outcome.crashed);
        EXPECT_EQ(TestFiles::read(data + "/root.txt"), "old\n") << choice.constData();
        EXPECT_EQ(statOf(data + "/root.txt").st_uid, 0u) << choice.constData();
        // Asked, an unattended run answers "Skip this File"; modified anyway,
        // the file cannot be written.
        EXPECT_EQ(outcome.errors.contains("root.txt"), choice != "0") << choice.constData();
    }
}

// The undo restores from the copy the run made, into the file the run wrote,
// and nothing else: not from a copy swapped for a link to a root-only file,
// not into a file the journal names outside the run's folders or through
// "..", nor into a named pipe.
TEST_F(HostileTreeTest, UndoRestoresOnlyWhatTheRunWroteFromItsOwnCopies)
{
    TestFiles::write(data + "/a.txt", "old a\n");
    TestFiles::write(data + "/b.txt", "old b\n");
    writeJob({data}, "old", "new", "Backup=2\r\n");
    ASSERT_EQ(run().exitCode, 0);
    ASSERT_EQ(journals().size(), 1);
    QFile::remove(data + "/_BACKUP_/a.txt");
    QFile::link(secret, data + "/_BACKUP_/a.txt");
    ::mkfifo(native(data + "/pipe.txt").constData(), 0644);
    const auto entry = [](const QString &path, const QString &backup) {
        const struct stat info = statOf(path);
        QByteArray identity;
        for (const qint64 field : {qint64(info.st_dev), qint64(info.st_ino), qint64(info.st_size),
                                   qint64(info.st_mtim.tv_sec), qint64(info.st_mtim.tv_nsec)})
            identity += ' ' + QByteArray::number(field);
        return "file " + native(path).toPercentEncoding("/") + identity + ' '
            + native(backup).toPercentEncoding("/") + identity + '\n';
    };
    QFile journal(journals().first());
    ASSERT_TRUE(journal.open(QIODevice::Append));
    journal.write(entry(secret, outside + "/secret.bak"));
    journal.write(entry(data + "/../outside/secret.txt", data + "/b.txt"));
    journal.write(entry(data + "/pipe.txt", data + "/b.txt"));
    journal.close();

    const ProgramRun::Outcome outcome = undo();
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(TestFiles::read(data + "/a.txt"), "new a\n");
    EXPECT_EQ(TestFiles::read(data + "/b.txt"), "old b\n");
    EXPECT_TRUE(S_ISFIFO(statOf(data + "/pipe.txt").st_mode));
    expectOutsideUntouched("after the undo");
}

// A journal that is no regular file, or names a file twice, is refused at
// once with a message; nothing is restored.
TEST_F(HostileTreeTest, DamagedJournalIsRefused)
{
    TestFiles::write(data + "/a.txt", "old a\n");
    writeJob({data}, "old", "new", "Backup=2\r\n");
    ASSERT_EQ(run().exitCode, 0);
    const QString path = journals().first();
    const QByteArray text = TestFiles::read(path);
    const QByteArray fileLine = text.mid(text.indexOf("\nfile ") + 1);
    for (const bool toDevice : {true, false}) {
        QFile::remove(path);
        if (toDevice)
            QFile::link("/dev/zero", path);
        else
            TestFiles::write(path, text + fileLine);
        const ProgramRun::Outcome outcome = undo();
        EXPECT_EQ(outcome.exitCode, 1) << toDevice;
        EXPECT_TRUE(outcome.errors.contains("The run journal is damaged")) << toDevice;
        EXPECT_EQ(TestFiles::read(data + "/a.txt"), "new a\n") << toDevice;
    }
}

// An undo killed half-way restored some files: the next one says they are
// already restored, and succeeds.
TEST_F(HostileTreeTest, SecondUndoCountsRestoredFilesAsDone)
{
    TestFiles::write(data + "/a.txt", "old a\n");
    TestFiles::write(data + "/b.txt", "old b\n");
    writeJob({data}, "old", "new", "Backup=2\r\n");
    ASSERT_EQ(run().exitCode, 0);
    // What the killed undo did before it could mark the journal undone.
    TestFiles::write(data + "/a.txt", "old a\n");
    const ProgramRun::Outcome outcome = undo();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_EQ(TestFiles::read(data + "/b.txt"), "old b\n");
}

// A job that cannot run says why, whatever is wrong with it; a folder that
// exists but holds nothing to do is not a failure.
TEST_F(HostileTreeTest, EveryFailedJobSaysWhy)
{
    ::mkfifo(native(dir.filePath("pipe.ini")).constData(), 0644);
    QFile::link("/dev/zero", dir.filePath("zero.ini"));
    TestFiles::write(dir.filePath("huge.ini"), QByteArray(17 * 1024 * 1024, ';'));
    TestFiles::write(dir.filePath("empty.ini"), "");
    QDir().mkpath(data);
    TestFiles::write(dir.filePath("full/a.txt"), "old\n");
    const struct {
        QString jobFile;
        QByteArray find;
        QStringList folders;
        int exitCode;
        const char *says;
    } cases[] = {
        {dir.filePath("pipe.ini"), {}, {}, 1, "is damaged: it is not a regular file"},
        {dir.filePath("zero.ini"), {}, {}, 1, "is damaged: it is not a regular file"},
        {dir.filePath("huge.ini"), {}, {}, 1, "is damaged: it is larger than 16 MiB"},
        {dir.filePath("empty.ini"), {}, {}, 1, "No search folder specified"},
        {job, "", {dir.filePath("full")}, 1, "No \"Find what/Replace with\" strings specified"},
        {job, "old", {dir.filePath("missing")}, 1, "missing\" doesn't exist"},
        {job, "old", {data}, 0, "No files found."},
    };
    for (const auto &c : cases) {
        if (c.jobFile == job)
            writeJob(c.folders, c.find, "new");
        if (c.find.isEmpty() && c.jobFile == job)
            TestFiles::write(job, TestFiles::read(job).replace("[Strings]", "[Unused]"));
        const ProgramRun::Outcome outcome =
            ProgramRun::run(SARVONEX_PROGRAM, {"-f" + c.jobFile, "-r", "-s"}, config);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.says;
        EXPECT_TRUE(outcome.errors.contains(c.says)) << c.says << outcome.errors.toStdString();
    }
}

// The id of a process that has ended.
pid_t goneProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// A run killed with its watcher left a temporary file, and a hard-linked
// file torn in the middle of its in-place write with the copy of its
// original: the next run over the folder removes the one, puts the original
// back into the other (telling the user) and then replaces in it as usual.
TEST_F(HostileTreeTest, NextRunClearsUpAfterAKilledOne)
{
    const QByteArray original = "old line\n" + QByteArray(100000, '.');
    TestFiles::write(data + "/torn.txt", original);
    ::link(native(data + "/torn.txt").constData(), native(data + "/other.dat").constData());
    const struct stat info = statOf(data + "/torn.txt");
    const pid_t gone = goneProcess();
    const QString copy = data + QStringLiteral("/.svx-original-%1-%2-%3-%4-%5-0")
                                    .arg(gone)
                                    .arg(info.st_ino)
                                    .arg(original.size())
                                    .arg(info.st_mtim.tv_sec + 100)
                                    .arg(0);
    TestFiles::write(copy, original);
    TestFiles::write(data + "/torn.txt", "new line\n" + QByteArray(500, '.'));
    TestFiles::write(data + QStringLiteral("/.svx-%1-abc").arg(gone), "half");
    TestFiles::write(data + QStringLiteral("/.svx-%1-abc").arg(::getpid()), "still in use");
    writeJob({data}, "old", "new");
    const ProgramRun::Outcome outcome = run();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_TRUE(outcome.errors.contains("was left torn by an interrupted run"))
        << outcome.errors.toStdString();
    EXPECT_EQ(TestFiles::read(data + "/torn.txt"), "new line\n" + QByteArray(100000, '.'));
    EXPECT_EQ(leftovers(data), QStringList{QStringLiteral(".svx-%1-abc").arg(::getpid())});
}

// SIGTERM or Ctrl+C in the middle of a run: the current file is finished, the
// run says how far it got and ends with 128 + the signal's number.
TEST_F(HostileTreeTest, SignalStopsTheRunWithItsExitCode)
{
    const QByteArray oldContent = QByteArray("old line\n").repeated(2000);
    for (int i = 0; i < 300; ++i)
        TestFiles::write(data + QStringLiteral("/f%1.txt").arg(i), oldContent);
    writeJob({data}, "old", "new");
    for (const int signal : {SIGTERM, SIGINT}) {
        QProcess process;
        process.setProcessEnvironment(ProgramRun::environment(config));
        process.start(SARVONEX_PROGRAM, {"-f" + job, "-r", "-s"});
        ASSERT_TRUE(process.waitForStarted());
        for (int wait = 0; wait < 500 && journals().isEmpty(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 128 + signal);
        EXPECT_TRUE(process.readAllStandardError().contains("stopped by a signal"));
        for (const QString &journal : journals())
            QFile::remove(journal);
    }
}

} // namespace
