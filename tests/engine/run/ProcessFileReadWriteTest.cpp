#include "engine/files/PosixFile.h"
#include "engine/run/FileCollector.h"
#include "engine/run/LoadedFile.h"
#include "engine/text/CodePage.h"
#include "settings/JobEntries.h"
#include "support/FileSizeLimit.h"
#include "support/ProcessFileFixture.h"

#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class ProcessFileReadWrite : public ProcessFileFixture
{
};

// Changes the file the moment the write is about to start, as another
// program might.
class InterferingHost : public ScriptedHost
{
public:
    QString victim;
    void setStatus(const QString &text) override
    {
        ScriptedHost::setStatus(text);
        if (text.startsWith("Writing file:"))
            TestFiles::write(victim, "edited elsewhere");
    }
};

TEST_F(ProcessFileReadWrite, StatusTextsOfOneFile)
{
    const QString file = makeFile("notes.txt", "old");
    process(file);
    // The steps' texts in order (the matcher shows texts of its own between
    // them), and the panel cleared at the end.
    const QList<QString> steps{"Reading file: notes.txt (0 MB)", "Checking content...",
                               "Backing file up: notes.txt", "Writing file: notes.txt (0 MB)"};
    auto next = host.statuses.cbegin();
    for (const QString &step : steps) {
        next = std::find(next, host.statuses.cend(), step);
        ASSERT_NE(next, host.statuses.cend()) << step.toStdString();
    }
    EXPECT_EQ(host.statuses.last(), QString());
    EXPECT_EQ(statisticsRow(1), (PathTable::Row{file, "1", "1"}));
}

TEST_F(ProcessFileReadWrite, Utf8FileForcedToAnsiKeepsItsBomAndSaysSo)
{
    // In ANSI the two bytes of "é" are the letters "Ã©"; the mark is skipped.
    job.stringPairs().setRow(1, {CodePage::toQString("\xC3\xA9"), "e", ""});
    job.stringPairs().AppendRow({CodePage::toQString("\xEF\xBB\xBF"), "BOM", ""});
    const QString file = makeFile("utf8.txt", "\xEF\xBB\xBF" "caf\xC3\xA9");
    process(file, EncodingAnsi);

    EXPECT_TRUE(state.CodingReport.startsWith(
        "Byte order mark EF BB BF found.\nIt suggests the file is in UTF-8 coding.\n\n"));
    EXPECT_TRUE(state.CodingReport.endsWith("\n\nUser-required processing: ANSI\n\n"));
    EXPECT_EQ(TestFiles::read(file), "\xEF\xBB\xBF" "cafe");
    EXPECT_EQ(statisticsRow(1), (PathTable::Row{file, "1", "1"}));
}

TEST_F(ProcessFileReadWrite, CodingReportNamesTheMarkAndTheGuess)
{
    const struct {
        QByteArray content;
        const char *report;
    } cases[] = {
        {"old text", "No byte order mark found.\n\nThe content seems to be in ANSI coding.\n\n"},
        {QByteArray("\xFF\xFEo\0l\0d\0", 8),
         "Byte order mark FF FE found.\nIt suggests the file is in Unicode coding.\n\n"},
        {QByteArray("\xFE\xFF\0o\0l\0d", 8),
         "Byte order mark FE FF found.\nIt suggests the file is in Unicode (big endian) "
         "coding.\n\n"},
    };
    for (const auto &c : cases) {
        process(makeFile("coded.txt", c.content));
        EXPECT_TRUE(state.CodingReport.startsWith(c.report)) << state.CodingReport.toStdString();
    }
}

TEST_F(ProcessFileReadWrite, EmptyFileIsSkippedSilently)
{
    const QString file = makeFile("empty.txt", "");
    process(file);
    EXPECT_TRUE(host.statuses.isEmpty());
    EXPECT_TRUE(host.messages.isEmpty());
    EXPECT_EQ(statistics->DataRowCount(), 0);
    EXPECT_FALSE(state.fileFailed);
}

TEST_F(ProcessFileReadWrite, FileThatCannotBeReadIsReported)
{
    const QString dangling = dir.filePath("dangling.txt");
    ASSERT_TRUE(QFile::link(dir.filePath("gone.txt"), dangling));
    const QString folder = dir.filePath("folder.txt");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.txt"));

    const QString pipe = dir.filePath("pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);

    const QStringList paths{dangling, folder, pipe};
    for (const QString &path : paths)
        process(path);
    for (int row = 1; row <= 3; ++row)
        EXPECT_EQ(statisticsRow(row),
                  (PathTable::Row{paths[row - 1], "cannot be read", "cannot be read"}));
    EXPECT_EQ(host.messages.size(), 3);
    EXPECT_TRUE(state.fileFailed);
    EXPECT_FALSE(state.breakRequested());
}

TEST_F(ProcessFileReadWrite, ShortReadIsReportedAndClearsTheStatus)
{
    // A kernel attribute file claims a full page and yields a few bytes.
    const QString file = "/sys/devices/system/cpu/online";
    if (!QFileInfo(file).isFile() || QFileInfo(file).size() <= 64)
        GTEST_SKIP() << "no short-reading file here";
    process(file);
    EXPECT_EQ(statisticsRow(1), (PathTable::Row{file, "cannot be read", "cannot be read"}));
    ASSERT_FALSE(host.statuses.isEmpty());
    EXPECT_EQ(host.statuses.last(), QString());
}

TEST_F(ProcessFileReadWrite, OutOfMemoryReadingOrReplacingSkipsTheFile)
{
    const struct {
        const char *what;
        qint64 limit;
    } cases[] = {{"no buffer for the file", 5}, {"no room for the longer content", 10}};
    job.stringPairs().setRow(1, {"old", "much longer text", ""});
    for (const auto &c : cases) {
        const QString file = makeFile("big.txt", "0123456old");
        ByteBuffer::setAllocationLimit(c.limit);
        startNextRun();
        host.messages.clear();
        process(file);
        ByteBuffer::setAllocationLimit(-1);

        EXPECT_EQ(host.messages, QList<QString>{"Not enough memory to process file: " + file
                                                + "\nFile will be skipped over."})
            << c.what;
        EXPECT_EQ(statisticsRow(1), (PathTable::Row{file, "out of memory", "out of memory"}))
            << c.what;
        EXPECT_EQ(TestFiles::read(file), "0123456old") << c.what;
        EXPECT_TRUE(state.fileFailed) << c.what;
    }
}

TEST_F(ProcessFileReadWrite, TimeStampPreservedExactlyOnlyWhenAsked)
{
    for (const bool preserve : {true, false}) {
        changeOptions([&](RunOptions &o) { o.preserveDateTime = preserve; });
        const QString file = makeFile("dated.txt", "old");
        const timespec stamp[2] = {{1'100'000'000, 987'654'321}, {1'100'000'000, 987'654'321}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), stamp, 0), 0);
        setMode(file, 0750);
        startNextRun();
        process(file);

        struct stat info {};
        ::stat(QFile::encodeName(file).constData(), &info);
        EXPECT_EQ(TestFiles::read(file), "new");
        EXPECT_EQ(info.st_mode & 07777, mode_t(0750));
        EXPECT_EQ(info.st_mtim.tv_sec == 1'100'000'000 && info.st_mtim.tv_nsec == 987'654'321,
                  preserve);
    }
}

TEST_F(ProcessFileReadWrite, SymbolicLinkStaysALinkToTheRewrittenFile)
{
    const QString target = makeFile("real.txt", "old");
    const QString link = dir.filePath("link.txt");
    ASSERT_TRUE(QFile::link(target, link));
    process(link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(TestFiles::read(target), "new");
    EXPECT_EQ(TestFiles::read(dir.filePath("_BACKUP_/link.txt")), "old");
}

TEST_F(ProcessFileReadWrite, FileChangedOnDiskIsLeftAloneAndTheRunGoesOn)
{
    InterferingHost interfering;
    RunContext interferingRun{interfering, state, job};
    const QString file = makeFile("shared.txt", "old");
    interfering.victim = file;
    ProcessFile(file, 0, *statistics, interferingRun);

    EXPECT_EQ(TestFiles::read(file), "edited elsewhere");
    ASSERT_EQ(interfering.messages.size(), 1);
    EXPECT_TRUE(interfering.messages[0].startsWith("File \"" + file + "\" was changed"));
    EXPECT_EQ(statisticsRow(1), (PathTable::Row{file, "1", "1"}));
    EXPECT_TRUE(state.fileFailed);
    EXPECT_FALSE(state.breakRequested());
}

// A collected file that another program swaps for a link (to a file outside
// the job's folders) or for another file before it is read is refused.
TEST_F(ProcessFileReadWrite, FileSwappedAfterCollectionIsLeftAlone)
{
    QTemporaryDir outside;
    const QString secret = outside.filePath("secret.txt");
    const struct {
        const char *what;
        std::function<void(const QString &)> swap;
    } cases[] = {
        {"swapped for a link",
         [&](const QString &p) {
             QFile::remove(p);
             QFile::link(secret, p);
         }},
        {"swapped for another file",
         [](const QString &p) {
             // Made before the old one goes, so it cannot reuse its inode.
             TestFiles::write(p + ".new", "old too");
             QFile::remove(p);
             QFile::rename(p + ".new", p);
         }},
    };
    for (const auto &c : cases) {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        TestFiles::write(secret, "old secret");
        const QString file = makeFile("shared.txt", "old");
        job.folders().ClearGrid();
        job.folders().AppendRow({dir.path(), DepthAllLevels, "-B"});
        job.fileTypes().ClearGrid();
        job.fileTypes().AppendRow({"*.txt", "", ""});
        std::unique_ptr<PathTable> files(newFileListTable());
        ASSERT_TRUE(CollectFiles(false, *files, run)) << c.what;
        c.swap(file);
        startNextRun();
        host.messages.clear();
        state.fileFailed = false;
        process(file);

        EXPECT_EQ(TestFiles::read(secret), "old secret") << c.what;
        ASSERT_EQ(host.messages.size(), 1) << c.what;
        EXPECT_TRUE(host.messages[0].startsWith("File \"" + file + "\" was changed")) << c.what;
        EXPECT_EQ(statisticsRow(1), (PathTable::Row{file, "changed by another program",
                                                    "changed by another program"}))
            << c.what;
        EXPECT_TRUE(state.fileFailed) << c.what;
    }
}

TEST_F(ProcessFileReadWrite, FailedWriteStopsTheBatchAndKeepsTheOriginal)
{
    changeOptions([](RunOptions &o) { o.backupMode = BackupNone; });
    const QByteArray original = "old" + QByteArray(64 * 1024, '.');
    const QString file = makeFile("large.txt", original);
    const QString expectedMessage = "Unexpected error while saving the file \"" + file
        + "\". The file was left as it was.\n\nBatch was stopped.";
    EXPECT_TRUE(passesWithFileSizeLimit([&] {
        process(file);
        return host.messages == QList<QString>{expectedMessage} && state.breakRequested()
            && state.fileFailed;
    })) << "message, break and failure mark expected";
    EXPECT_EQ(TestFiles::read(file), original);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"large.txt"});
}

TEST_F(ProcessFileReadWrite, NameThatIsNotUtf8IsCollectedBackedUpAndWritten)
{
    // Windows-1252 "é" in a folder and a file name, as an old copy leaves them.
    const QByteArray root = QFile::encodeName(dir.path());
    const QByteArray folder = root + "/d\xE9p";
    const QByteArray file = folder + "/caf\xE9.txt";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "old", 3), 3);
    ::close(fd);

    job.folders().AppendRow({dir.path(), DepthAllLevels, "-B"});
    job.fileTypes().AppendRow({"caf?.txt", "", ""});
    std::unique_ptr<PathTable> files(newFileListTable());
    ASSERT_TRUE(CollectFiles(false, *files, run));
    ASSERT_EQ(files->DataRowCount(), 1);
    const QString path = files->cell(1, FileListPath);
    EXPECT_EQ(nativePath(path), file);

    process(path);
    const auto contentOf = [](const QByteArray &native) {
        QByteArray content(16, '\0');
        const int in = ::open(native.constData(), O_RDONLY);
        content.resize(in < 0 ? 0 : ::read(in, content.data(), content.size()));
        ::close(in);
        return content;
    };
    EXPECT_EQ(contentOf(file), "new");
    EXPECT_EQ(contentOf(folder + "/_BACKUP_/caf\xE9.txt"), "old");
    EXPECT_EQ(statisticsRow(1), (PathTable::Row{path, "1", "1"}));
    EXPECT_TRUE(host.messages.isEmpty());
}

// A file that another program appends to after its size was taken is never
// cut to that size: it is refused as changed, or as too large once it passed
// the limit (lowered here from 2 GB), and a file that shrank is unreadable.
TEST(ReadWhole, FileThatChangedSizeWhileReadIsNeverCutShort)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("growing.txt");
    const QByteArray content = QByteArray("0123456789").repeated(10);
    TestFiles::write(path, content);
    using Result = LoadedFile::Result;
    const struct {
        const char *what;
        qint64 sizeWhenOpened;
        qint64 limit;
        Result result;
    } cases[] = {
        {"unchanged", 100, 1000, Result::Read},
        {"grew within the limit", 60, 1000, Result::Changed},
        {"grew past the limit", 60, 80, Result::TooLarge},
        {"shrank", 120, 1000, Result::Unreadable},
    };
    for (const auto &c : cases) {
        const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        ASSERT_GE(descriptor, 0);
        ByteBuffer buffer;
        ASSERT_TRUE(buffer.allocate(c.sizeWhenOpened));
        EXPECT_EQ(ReadWhole(descriptor, c.sizeWhenOpened, buffer, c.limit), c.result) << c.what;
        if (c.result == Result::Read) {
            EXPECT_EQ(QByteArray(buffer.data(), buffer.length()), content);
        }
        ::close(descriptor);
    }
}

TEST(StatisticsTable, Headers)
{
    std::unique_ptr<PathTable> table(newStatisticsTable());
    EXPECT_EQ(table->headers(), (QList<QString>{"File name", "Occurences", "Replacements"}));
}

} // namespace
