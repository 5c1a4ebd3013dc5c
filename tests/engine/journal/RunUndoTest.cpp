#include "engine/journal/RunUndo.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

FileIdentity identityOf(const QString &path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    return FileIdentity::of(info);
}

// A run's file, written through the journal as a run writes it; `replace`
// false stands for a run that died after the record, before the rename.
struct RunFile {
    const char *name;
    bool replace;
    bool editedAfterwards;
    bool expectResult;
    bool expectRestored;
};

TEST(RunUndo, RestoresWhatTheRunReplacedAndPassesOverWhatItNeverReached)
{
    const RunFile files[] = {
        {"replaced.txt", true, false, true, true},
        {"edited-since.txt", true, true, true, false},
        {"never-reached.txt", false, false, false, false},
        {"edited-never-reached.txt", false, true, true, false},
    };
    QTemporaryDir dir;
    RunJournal journal(dir.filePath("runs"), dir.filePath("job.ini"));
    for (const RunFile &file : files) {
        const QString path = dir.filePath(file.name);
        const QString backup = path + ".bak";
        TestFiles::write(path, "before\n");
        TestFiles::write(backup, "before\n");
        const FileIdentity asRead = identityOf(path);
        const QByteArray after = "after\n";
        const BeforeReplace record = [&](const FileIdentity &written) {
            journal.replacing(path, asRead, written, backup);
        };
        if (file.replace) {
            ASSERT_EQ(writeFileSafely(path, after.constData(), after.size(), asRead, false, nullptr,
                                      nullptr, record),
                      WriteOutcome::Written);
        } else {
            // What the write would have left: another inode, other bytes.
            FileIdentity written = asRead;
            ++written.inode;
            written.size = after.size();
            record(written);
        }
        if (file.editedAfterwards)
            TestFiles::write(path, "edited by hand, a longer line\n");
    }
    ASSERT_TRUE(journal.flush());

    const std::optional<JournalRecord> run = LastUndoableRun(dir.filePath("runs"));
    ASSERT_TRUE(run);
    const QList<RestoreResult> results = UndoRun(*run);
    for (const RunFile &file : files) {
        SCOPED_TRACE(file.name);
        const QString path = dir.filePath(file.name);
        const auto result = std::find_if(results.begin(), results.end(),
                                         [&](const RestoreResult &r) { return r.path == path; });
        ASSERT_EQ(result != results.end(), file.expectResult);
        if (result != results.end()) {
            EXPECT_EQ(result->restored, file.expectRestored) << result->reason.toStdString();
        }
        if (!file.editedAfterwards) {
            EXPECT_EQ(TestFiles::read(path), "before\n");
        }
    }
}

// Two runs of one process that start in the same millisecond (as two
// journals made one after the other mostly do): the later is the last run.
TEST(RunUndo, TheLaterOfTwoRunsStartedTogetherIsTheLast)
{
    QTemporaryDir dir;
    RunJournal first(dir.filePath("runs"), QString());
    RunJournal second(dir.filePath("runs"), QString());
    const FileIdentity identity;
    first.replacing(dir.filePath("first.txt"), identity, identity, QString());
    ASSERT_TRUE(first.flush());
    second.replacing(dir.filePath("second.txt"), identity, identity, QString());
    ASSERT_TRUE(second.flush());
    const std::optional<JournalRecord> run = LastUndoableRun(dir.filePath("runs"));
    ASSERT_TRUE(run);
    ASSERT_EQ(run->entries.size(), 1);
    EXPECT_EQ(run->entries[0].path, dir.filePath("second.txt"));
}

TEST(RunUndo, ReadsTheJournalsOfEarlierVersions)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.txt");
    TestFiles::write(path, "after\n");
    TestFiles::write(path + ".bak", "before\n");
    const FileIdentity identity = identityOf(path);
    QDir().mkpath(dir.filePath("runs"));
    const QByteArray line = "file " + QFile::encodeName(path) + ' '
        + QByteArray::number(quint64(identity.device)) + ' '
        + QByteArray::number(quint64(identity.inode)) + ' ' + QByteArray::number(qint64(identity.size))
        + ' ' + QByteArray::number(qint64(identity.modified.tv_sec)) + ' '
        + QByteArray::number(qint64(identity.modified.tv_nsec)) + ' '
        + QFile::encodeName(path + ".bak") + '\n';
    TestFiles::write(dir.filePath("runs/run-20260101-000000-000-1.journal"),
                     "Sarvonex run journal 1\njob -\nstarted 2026-01-01T00:00:00.000\n" + line);

    const std::optional<JournalRecord> run = LastUndoableRun(dir.filePath("runs"));
    ASSERT_TRUE(run);
    const QList<RestoreResult> results = UndoRun(*run);
    ASSERT_EQ(results.size(), 1);
    EXPECT_TRUE(results.first().restored) << results.first().reason.toStdString();
    EXPECT_EQ(TestFiles::read(path), "before\n");
}

} // namespace
