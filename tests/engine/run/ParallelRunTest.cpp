#include "engine/run/BatchRun.h"
#include "engine/run/FileCollector.h"
#include "engine/run/FileProcessor.h"
#include "support/ScriptedHost.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

// The run on several threads must be the plain one-thread run, seen from
// outside: the same bytes in every file, the same statistics, the same
// messages and questions in the same order, the same failure mark.

namespace {

constexpr int FileCount = 300;

// A scripted host that can disturb the tree once the list was collected, and
// ask for a break at its n-th status text.
class TreeHost : public ScriptedHost
{
public:
    std::function<void()> afterCollection;
    RunState *state = nullptr;
    int breakAtStatus = -1;

    bool showFileList(PathTable &files) override
    {
        if (afterCollection)
            afterCollection();
        return ScriptedHost::showFileList(files);
    }
    void setStatus(const QString &text) override
    {
        ScriptedHost::setStatus(text);
        if (int(statuses.size()) == breakAtStatus)
            state->requestBreak();
    }
};

QByteArray utf16(const QString &text, bool bigEndian)
{
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        bytes += bigEndian ? QByteArray{&high, 1} + low : QByteArray{&low, 1} + high;
    }
    return bytes;
}

QString fileName(int i)
{
    return QStringLiteral("d%1/f%2.txt").arg(i % 7).arg(i, 3, 10, QChar('0'));
}

// The same tree for the same seed: files in every coding, binary, read-only,
// empty and matchless ones.
void makeTree(const QString &root, unsigned seed)
{
    std::mt19937 random(seed);
    const QStringList words{"old",  "Old", "OLD",        "bold", "older", "the", "The", "cat",
                            "café", "naïve", "old-timer", "\r\n", "\n",    " ",   " ",   "\t"};
    for (int i = 0; i < FileCount; ++i) {
        QString text;
        const int length = 5 + int(random() % 300);
        for (int w = 0; w < length; ++w)
            text += words[int(random() % words.size())];
        QByteArray bytes;
        switch (i % 9) {
        case 0: bytes = text.toLatin1(); break;
        case 1: bytes = text.toUtf8(); break;
        case 2: bytes = "\xEF\xBB\xBF" + text.toUtf8(); break;
        case 3: bytes = utf16(text, false); break;
        case 4: bytes = utf16(text, true); break;
        case 5: bytes = text.toLatin1() + QByteArray("\0\x01\x02old", 6); break;
        case 6: bytes = i % 2 ? QByteArray() : QByteArray("nothing to find"); break;
        default: bytes = text.toLatin1();
        }
        const QString path = root + '/' + fileName(i);
        QDir().mkpath(QFileInfo(path).path());
        TestFiles::write(path, bytes);
        if (i % 9 == 7)
            ::chmod(QFile::encodeName(path).constData(), 0444);
    }
}

// After collection: two files go, one turns into a link to another, one into
// a named pipe. The new ones are made before the old ones go, so that they
// cannot take over the old inode numbers.
void disturbTree(const QString &root)
{
    const auto native = [&](int i) { return QFile::encodeName(root + '/' + fileName(i)); };
    const QByteArray spare = QFile::encodeName(root + "/spare");
    QFile::remove(root + '/' + fileName(11));
    QFile::remove(root + '/' + fileName(23));
    ASSERT_EQ(::symlink(native(36).constData(), spare.constData()), 0);
    ASSERT_EQ(::rename(spare.constData(), native(35).constData()), 0);
    ASSERT_EQ(::mkfifo(spare.constData(), 0644), 0);
    ASSERT_EQ(::rename(spare.constData(), native(47).constData()), 0);
}

struct Scenario {
    const char *name = "";
    QList<TextTable::Row> pairs = {};
    int binaryFiles = BinaryAsk;
    int readOnlyFiles = ReadOnlyAsk;
    int backupMode = BackupNone;
    bool prompt = false;
    std::deque<ContinueAnswer> continueAnswers = {};
    std::deque<ReplaceAnswer> replaceAnswers = {};
    int breakAtStatus = -1;
};

// Everything a user can see of a run, with the tree's root path taken out.
struct Outcome {
    QMap<QString, QByteArray> tree; // path: mode bits, then content
    std::string statistics;
    std::string messages;
    std::string questions;
    std::string confirmations;
    bool failed = false;
};

std::string lines(const QStringList &texts)
{
    return texts.join('\n').toStdString();
}

Outcome runOn(const QString &root, const Scenario &scenario, int threads)
{
    TreeHost host;
    RunState state;
    Job job;
    RunContext run{host, state, job};
    job.folders().AppendRow({QFile::encodeName(root), "All levels", "-B"});
    job.fileTypes().AppendRow({"*.txt", "Auto", ""});
    for (const TextTable::Row &pair : scenario.pairs)
        job.stringPairs().AppendRow(pair);
    RunOptions options = job.options();
    options.binaryFiles = scenario.binaryFiles;
    options.readOnlyFiles = scenario.readOnlyFiles;
    options.backupMode = scenario.backupMode;
    options.promptEachReplace = scenario.prompt;
    job.setOptions(options);
    state.workerThreads = threads;
    host.state = &state;
    host.breakAtStatus = scenario.breakAtStatus;
    host.continueAnswers = scenario.continueAnswers;
    host.replaceAnswers = scenario.replaceAnswers;
    host.afterCollection = [&] { disturbTree(root); };

    std::unique_ptr<PathTable> files(newFileListTable());
    std::unique_ptr<PathTable> statistics(newStatisticsTable());
    BatchRun(run, *files, *statistics).FindAndReplaceMnuClick();

    const auto relative = [&](QString text) { return text.replace(root, "<root>"); };
    Outcome outcome;
    QDirIterator entries(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = entries.next();
        struct stat info {};
        ::lstat(QFile::encodeName(path).constData(), &info);
        outcome.tree[relative(path)] = QByteArray::number(info.st_mode, 8) + ' '
            + (S_ISREG(info.st_mode) ? TestFiles::read(path) : QByteArray());
    }
    QStringList rows;
    for (int row = 1; row <= statistics->DataRowCount(); ++row)
        rows.append(relative(statistics->row(row).join(' ')));
    outcome.statistics = lines(rows);
    outcome.messages = relative(host.messages.join('\n')).toStdString();
    outcome.questions = relative(host.questions.join('\n')).toStdString();
    QStringList confirmations;
    for (const ReplaceConfirmation &match : host.confirmations)
        confirmations.append(relative(match.path) + ':' + match.contextBefore);
    outcome.confirmations = lines(confirmations);
    outcome.failed = state.fileFailed;
    return outcome;
}

class ParallelRunTest : public ::testing::TestWithParam<Scenario>
{
};

TEST_P(ParallelRunTest, ManyThreadsGiveWhatOneThreadGives)
{
    const Scenario &scenario = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plainRoot = dir.filePath("plain");
    makeTree(plainRoot, 7);
    const Outcome plain = runOn(plainRoot, scenario, 1);
    // The scenario must do something worth comparing: the disturbed files
    // are reported.
    ASSERT_FALSE(plain.statistics.empty());
    ASSERT_FALSE(plain.messages.empty());

    for (const int threads : {4, 0}) {
        SCOPED_TRACE(threads);
        const QString root = dir.filePath(QStringLiteral("threads%1").arg(threads));
        makeTree(root, 7);
        const Outcome parallel = runOn(root, scenario, threads);
        EXPECT_EQ(parallel.tree.keys(), plain.tree.keys());
        for (auto file = plain.tree.cbegin(); file != plain.tree.cend(); ++file)
            EXPECT_EQ(parallel.tree.value(file.key()), file.value()) << file.key().toStdString();
        EXPECT_EQ(parallel.statistics, plain.statistics);
        EXPECT_EQ(parallel.messages, plain.messages);
        EXPECT_EQ(parallel.questions, plain.questions);
        EXPECT_EQ(parallel.confirmations, plain.confirmations);
        EXPECT_EQ(parallel.failed, plain.failed);
    }
}

using CA = ContinueAnswer;
using RA = ReplaceAnswer;

INSTANTIATE_TEST_SUITE_P(
    Scenarios, ParallelRunTest,
    ::testing::Values(
        Scenario{.name = "token",
                 .pairs = {{"old", "new", "c(--)[Default]"}},
                 .continueAnswers = {CA::Yes, CA::No, CA::Yes, CA::All, CA::No}},
        Scenario{.name = "severalPairs",
                 .pairs = {{"old", "ancient", "(--)[Default]"},
                           {"the", "THE", "cw(--)[Default]"},
                           {QString::fromUtf8("naïve"), "naive", "c(--)[Default]"}},
                 .binaryFiles = BinarySkip,
                 .readOnlyFiles = ReadOnlySkip,
                 .backupMode = BackupRename},
        Scenario{.name = "lengthening",
                 .pairs = {{"o", "ooo", "c(--)[Default]"}},
                 .binaryFiles = BinaryTreatAsText,
                 .readOnlyFiles = ReadOnlyModifyAnyway,
                 .backupMode = BackupToSubfolder},
        Scenario{.name = "prompting",
                 .pairs = {{"old", "new", "c(--)[Default]"}},
                 .binaryFiles = BinaryTreatAsText,
                 .readOnlyFiles = ReadOnlyModifyAnyway,
                 .prompt = true,
                 .replaceAnswers = {RA::Yes, RA::No, RA::YesToAllInFile, RA::No,
                                    RA::NoToAllInFile, RA::Yes, RA::Yes, RA::No,
                                    RA::YesToAllFiles}},
        Scenario{.name = "cancelAtAQuestion",
                 .pairs = {{"old", "new", "c(--)[Default]"}},
                 .continueAnswers = {CA::Yes, CA::No, CA::Yes, CA::Yes, CA::Yes, CA::Cancel}},
        Scenario{.name = "breakMidRun",
                 .pairs = {{"old", "new", "c(--)[Default]"}},
                 .binaryFiles = BinaryTreatAsText,
                 .readOnlyFiles = ReadOnlyModifyAnyway,
                 .breakAtStatus = 600}),
    [](const ::testing::TestParamInfo<Scenario> &info) { return std::string(info.param.name); });

} // namespace
