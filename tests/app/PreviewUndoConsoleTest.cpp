#include "support/ProgramFolders.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString output;
    QString errors;
};

// One file as the test compares it: its bytes and modification time.
struct FileState {
    QByteArray bytes;
    qint64 modifiedNs = 0;
    bool operator==(const FileState &) const = default;
};

qint64 modifiedNs(const QString &path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

QMap<QString, FileState> treeState(const QString &root)
{
    QMap<QString, FileState> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, {QFileInfo(path).isDir() ? QByteArray("<dir>") : TestFiles::read(path),
                            modifiedNs(path)});
    }
    return files;
}

void setOldModificationTime(const QString &path)
{
    const timespec times[2] = {{1000000000, 5}, {1000000000, 123456789}};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

QByteArray utf16le(const QString &text)
{
    QByteArray bytes("\xFF\xFE");
    for (QChar c : text)
        bytes += char(c.unicode() & 0xFF), bytes += char(c.unicode() >> 8);
    return bytes;
}

class PreviewUndoConsoleTest : public ProgramFoldersTest
{
protected:
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        env.insert("XDG_CONFIG_HOME", config);
        env.insert("XDG_DATA_HOME", dir.filePath("share"));
        return env;
    }

    Outcome run(const QStringList &arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(SARVONEX_PROGRAM, arguments);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    QString writeJob(const QByteArray &find, const QByteArray &replace, int backup,
                     const QByteArray &extraOptions = "")
    {
        const QString path = dir.filePath("job.ini");
        TestFiles::write(path, "[Sarvonex]\r\nVersion=2.2\r\n"
                               "[Directories]\r\nGridWidth=3\r\nGridHeight=1\r\nValue1="
                                   + data.toUtf8()
                                   + "\r\nValue2=All levels\r\nValue3=-B\r\n"
                                     "[FileTypes]\r\nGridWidth=3\r\nGridHeight=1\r\n"
                                     "Value1=*.txt\r\nValue2=Auto\r\nValue3=\r\n"
                                     "[Strings]\r\nGridWidth=3\r\nGridHeight=1\r\nValue1="
                                   + find + "\r\nValue2=" + replace
                                   + "\r\nValue3=(--)[Default]\r\n[Options]\r\nBackup="
                                   + QByteArray::number(backup) + "\r\n" + extraOptions);
        return path;
    }

    QStringList journals() const
    {
        QStringList found;
        QDirIterator it(dir.filePath("share"), {"*.journal"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found.append(it.next());
        return found;
    }
};

TEST_F(PreviewUndoConsoleTest, PreviewWritesNothing)
{
    TestFiles::write(data + "/a.txt", "one old line\n");
    TestFiles::write(data + "/sub/b.txt", "old\n");
    setOldModificationTime(data + "/a.txt");
    const QString job = writeJob("old", "new", 2, "SaveSettingsAutomatically=1\r\n");
    const QMap<QString, FileState> before = treeState(dir.path());

    const Outcome outcome = run({"-f" + job, "--preview"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString();
    EXPECT_EQ(treeState(dir.path()), before); // no file, no back-up, no settings, no journal
    EXPECT_TRUE(outcome.output.endsWith("2 files would change, 2 replacements.\n"))
        << outcome.output.toStdString();
}

TEST_F(PreviewUndoConsoleTest, PreviewShowsUnifiedDiffsInEveryCoding)
{
    const struct {
        const char *name;
        QByteArray content;
        const char *coding;
    } cases[] = {
        {"ansi.txt", "caf\xE9 old\r\nsecond\r\n", "ANSI"},
        {"utf8.txt", "caf\xC3\xA9 old\r\nsecond\r\n", "UTF-8"},
        {"utf16.txt", utf16le(QString::fromUtf8("caf\xC3\xA9 old\r\nsecond\r\n")), "Unicode"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(data).removeRecursively();
        TestFiles::write(data + '/' + c.name, c.content);
        const QString path = data + '/' + c.name;
        const QString job = writeJob("old", "new", 2);

        const Outcome plain = run({"-f" + job, "--preview", "--color=never"});
        EXPECT_EQ(plain.exitCode, 0);
        EXPECT_EQ(plain.output, path + " (" + c.coding + ", 1 replacement)\n--- " + path
                                    + "\n+++ " + path + "\n@@ -1,2 +1,2 @@\n"
                                    + QString::fromUtf8("-caf\xC3\xA9 old\n+caf\xC3\xA9 new\n")
                                    + " second\n\n1 file would change, 1 replacement.\n");

        const Outcome colored = run({"-f" + job, "--preview", "--color=always"});
        EXPECT_TRUE(colored.output.contains(QString::fromUtf8(
            "\x1b[31m-caf\xC3\xA9 \x1b[7mold\x1b[27m\x1b[m\n\x1b[32m+caf\xC3\xA9 \x1b[7mnew\x1b[27m")))
            << colored.output.toStdString();
    }
}

TEST_F(PreviewUndoConsoleTest, PreviewListsSkippedFilesAndRefusesABadColour)
{
    TestFiles::write(data + "/bin.txt", QByteArray("old\0old", 7));
    const QString job = writeJob("old", "new", 2, "BinaryFiles=0\r\n");
    const Outcome outcome = run({"-f" + job, "--preview"});
    EXPECT_TRUE(outcome.output.contains("1 file would be skipped:\n  " + data + "/bin.txt (binary)"))
        << outcome.output.toStdString();
    EXPECT_EQ(run({"-f" + job, "--preview", "--color=sometimes"}).exitCode, 2);
}

// Back-up into a subfolder (2) and as a renamed copy (3).
class UndoInBackUpMode : public PreviewUndoConsoleTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(UndoInBackUpMode, RestoresEveryByteAndTheModificationTime)
{
    TestFiles::write(data + "/a.txt", "one old line\n");
    TestFiles::write(data + "/sub/b.txt", "old\r\nold\r\n");
    TestFiles::write(data + "/c.txt", "untouched\n");
    for (const QString name : {"/a.txt", "/sub/b.txt", "/c.txt"})
        setOldModificationTime(data + name);
    ::chmod(QFile::encodeName(data + "/sub/b.txt").constData(), 0640);
    const QMap<QString, FileState> before = treeState(data);
    const QString job = writeJob("old", "new", GetParam());

    ASSERT_EQ(run({"-f" + job, "-r", "-s"}).exitCode, 0);
    ASSERT_EQ(TestFiles::read(data + "/a.txt"), "one new line\n");
    ASSERT_EQ(journals().size(), 1);

    const Outcome undo = run({"--undo"});
    EXPECT_EQ(undo.exitCode, 0) << undo.output.toStdString();
    EXPECT_TRUE(undo.output.contains("Restored: " + data + "/a.txt\n"));
    EXPECT_TRUE(undo.output.contains("Restored: " + data + "/sub/b.txt\n"));
    // Files only: the back-up copies stay, and folders show the writes.
    const auto filesOf = [](QMap<QString, FileState> files, const QMap<QString, FileState> &kept) {
        for (auto it = files.begin(); it != files.end();)
            it = kept.contains(it.key()) && it->bytes != "<dir>" ? std::next(it) : files.erase(it);
        return files;
    };
    EXPECT_TRUE(filesOf(treeState(data), before) == filesOf(before, before));
    struct stat info {};
    ::stat(QFile::encodeName(data + "/sub/b.txt").constData(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    const Outcome again = run({"--undo"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.output, "Nothing to undo.\n");
}

INSTANTIATE_TEST_SUITE_P(BackUpModes, UndoInBackUpMode, ::testing::Values(2, 3));

TEST_F(PreviewUndoConsoleTest, UndoLeavesFilesChangedSinceAndFilesWithoutBackUp)
{
    TestFiles::write(data + "/a.txt", "old\n");
    TestFiles::write(data + "/b.txt", "old\n");
    ASSERT_EQ(run({"-f" + writeJob("old", "new", 2), "-r", "-s"}).exitCode, 0);
    TestFiles::write(data + "/b.txt", "edited by hand\n");

    const Outcome undo = run({"--undo"});
    EXPECT_EQ(undo.exitCode, 1);
    EXPECT_EQ(TestFiles::read(data + "/a.txt"), "old\n");
    EXPECT_EQ(TestFiles::read(data + "/b.txt"), "edited by hand\n");
    EXPECT_TRUE(undo.output.contains("Left as it is: " + data + "/b.txt (the file was changed after the run)"))
        << undo.output.toStdString();

    // Back-up off: the run cannot be undone, and the undo does not reach back
    // to the run before it either.
    TestFiles::write(data + "/a.txt", "old\n");
    ASSERT_EQ(run({"-f" + writeJob("old", "new", 1), "-r", "-s"}).exitCode, 0);
    const Outcome withoutBackUp = run({"--undo"});
    EXPECT_EQ(withoutBackUp.exitCode, 1);
    EXPECT_EQ(TestFiles::read(data + "/a.txt"), "new\n");
    EXPECT_EQ(withoutBackUp.errors,
              "The last run made no back-up copies, so it cannot be undone.\n");
}

TEST_F(PreviewUndoConsoleTest, UndoAfterAKilledRunRestoresWhatItWrote)
{
    // Enough work that the run is still writing when the journal shows its
    // first file; should it finish first, the undo still has to restore all.
    const QByteArray content = QByteArray("old text ").repeated(100000);
    for (int i = 0; i < 60; ++i)
        TestFiles::write(data + QStringLiteral("/f%1.txt").arg(i, 2, 10, QChar('0')), content);
    const QString job = writeJob("old", "new", 2);

    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(SARVONEX_PROGRAM, {"-f" + job, "-r", "-s"});
    ASSERT_TRUE(process.waitForStarted());
    auto journalHasAFile = [&] {
        const QStringList found = journals();
        return !found.isEmpty() && TestFiles::read(found.first()).contains("\nfile ");
    };
    while (process.state() == QProcess::Running && !journalHasAFile())
        process.waitForFinished(10);
    process.kill();
    process.waitForFinished();

    const Outcome undo = run({"--undo"});
    EXPECT_EQ(undo.exitCode, 0) << undo.output.toStdString();
    QDirIterator it(data, {"*.txt"}, QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        EXPECT_EQ(TestFiles::read(path), content) << path.toStdString();
    }
}

} // namespace
