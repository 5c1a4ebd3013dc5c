#include "engine/run/WriteQueue.h"
#include "support/FileSizeLimit.h"
#include "support/RunFixture.h"

#include <QDir>

namespace {

class ParallelWriteTest : public BatchRunFixture
{
protected:
    void SetUp() override
    {
        RunFixture::SetUp();
        useOldToNewJob();
    }

    QStringList temporaryFiles() const
    {
        return QDir(dir.path()).entryList({".svx-*"}, QDir::Files | QDir::Hidden);
    }
};

// Whatever the threads, results reach the host in the order of the list,
// even when a later write is done first.
TEST_F(ParallelWriteTest, ResultsAreReportedInSubmitOrder)
{
    QStringList submitted;
    QStringList reported;
    {
        WriteQueue writes(4, [&](const WriteResult &write) {
            reported.append(write.path);
            EXPECT_EQ(write.outcome, WriteOutcome::Written);
        });
        for (int i = 0; i < 40; ++i) {
            // Large and small files alternate, so the writes end out of order.
            const QByteArray content((i % 2 ? 1 : 2000) * 100, 'x');
            const QString path = makeFile(QStringLiteral("f%1.txt").arg(i), "old");
            struct stat info {};
            ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
            WriteRequest request;
            request.path = path;
            request.target = HeldFile::open(*FilePlace::resolve(path));
            ASSERT_TRUE(request.content.allocate(content.size()));
            std::memcpy(request.content.data(), content.constData(), size_t(content.size()));
            request.content.setLength(content.size());
            request.asRead = FileIdentity::of(info);
            submitted.append(path);
            writes.submit(std::move(request), [] {});
        }
        writes.finish([] {});
        EXPECT_TRUE(writes.idle());
    }
    EXPECT_EQ(reported, submitted);
    EXPECT_EQ(TestFiles::read(submitted.first()).size(), 200000);
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

// A write that fails stops the batch with its message; the files before it
// are new, it keeps its content, and every file is wholly old or wholly new.
TEST_F(ParallelWriteTest, FailedWriteStopsTheBatchAndLeavesEveryFileWhole)
{
    for (const int threads : {1, 4}) {
        SCOPED_TRACE(threads);
        QStringList paths;
        const QByteArray large = "old" + QByteArray(64 * 1024, '.');
        const int failing = 12;
        for (int i = 0; i < 40; ++i)
            paths.append(makeFile(QStringLiteral("f%1.txt").arg(i, 2, 10, QChar('0')),
                                  i == failing ? large : QByteArray("old")));
        state.workerThreads = threads;
        const QString expected = "Unexpected error while saving the file \"" + paths[failing]
            + "\". The file was left as it was.\n\nBatch was stopped.";
        // The limit holds in a child process; its verdict covers what the
        // host saw there, the files are checked here.
        EXPECT_TRUE(passesWithFileSizeLimit([&] {
            batch.FindAndReplaceMnuClick();
            return host.messages == QList<QString>{expected} && state.fileFailed
                && statistics->DataRowCount() > failing;
        }));
        for (int i = 0; i < paths.size(); ++i) {
            const QByteArray content = TestFiles::read(paths[i]);
            if (i < failing)
                EXPECT_EQ(content, "new") << i;
            else if (i == failing)
                EXPECT_EQ(content, large);
            else if (threads == 1)
                EXPECT_EQ(content, "old") << i;
            else
                EXPECT_TRUE(content == "old" || content == "new") << i;
        }
        EXPECT_TRUE(temporaryFiles().isEmpty());
        for (const QString &path : paths)
            QFile::remove(path);
    }
}

} // namespace
