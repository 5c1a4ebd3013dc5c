#include "engine/preview/UnifiedDiff.h"
#include "engine/run/BatchRun.h"
#include "engine/run/FileCollector.h"
#include "engine/run/FileProcessor.h"
#include "engine/text/CodePage.h"
#include "support/RunFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringDecoder>
#include <memory>

namespace {

struct CollectedFile : FilePreview {
    QList<DiffHunk> hunks;
};

// Collects what a preview reports.
class PreviewCollector : public PreviewReceiver
{
public:
    QMap<QString, CollectedFile> files;
    QMap<QString, QString> skipped;
    void fileWouldChange(const FilePreview &file, const UnifiedDiff &diff) override
    {
        files.insert(file.path, {file, diff.hunks()});
    }
    void fileSkipped(const QString &path, const QString &reason) override
    {
        skipped.insert(path, reason);
    }
};

// The lines of a whole file, decoded as the preview decodes them (mark
// dropped, break and a carriage return before it removed).
QStringList decodedLines(const QByteArray &bytes, const QString &codingName)
{
    QString text;
    if (codingName == "ANSI")
        text = CodePage::toQString(bytes);
    else
        text = QStringDecoder(codingName == "UTF-8" ? QStringConverter::Utf8
                                  : codingName == "Unicode" ? QStringConverter::Utf16LE
                                                            : QStringConverter::Utf16BE,
                              QStringDecoder::Flag::Stateless)
                   .decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines = text.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

// Applies the hunks to the old lines, checking every context and removed
// line against them; the new lines, or a failure.
QStringList applyHunks(QStringList lines, const QList<DiffHunk> &hunks)
{
    qint64 shift = 0;
    for (const DiffHunk &hunk : hunks) {
        qint64 at = hunk.oldStart - 1 + (hunk.oldCount == 0) + shift;
        EXPECT_EQ(hunk.newStart - 1 + (hunk.newCount == 0), at) << "new start of a hunk";
        for (const DiffLine &line : hunk.lines) {
            if (line.kind == DiffLine::Added) {
                lines.insert(at++, line.text);
                ++shift;
                continue;
            }
            EXPECT_LT(at, lines.size());
            if (at >= lines.size())
                return {};
            EXPECT_EQ(lines[at], line.text);
            if (line.kind == DiffLine::Removed) {
                lines.removeAt(at);
                --shift;
            } else {
                ++at;
            }
        }
    }
    return lines;
}

QMap<QString, QByteArray> treeContent(const QString &root)
{
    QMap<QString, QByteArray> content;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        content.insert(path, TestFiles::read(path));
    }
    return content;
}

QByteArray utf16(const QString &text, bool bigEndian)
{
    QByteArray bytes;
    for (QChar c : text) {
        const char low = char(c.unicode() & 0xFF), high = char(c.unicode() >> 8);
        bytes += bigEndian ? QByteArray{&high, 1} + QByteArray{&low, 1}
                           : QByteArray{&low, 1} + QByteArray{&high, 1};
    }
    return bytes;
}

class PreviewEquivalenceTest : public BatchRunFixture
{
protected:
    void SetUp() override
    {
        RunFixture::SetUp();
        job.folders().AppendRow({dir.filePath("tree").toUtf8(), "All levels", "-B"});
        job.fileTypes().AppendRow({"*.txt", "Auto", ""});
        job.fileTypes().AppendRow({"*.u16", "Unicode", ""});
        changeOptions([](RunOptions &o) {
            o.promptEachReplace = true; // the preview turns it off
            o.backupMode = BackupToSubfolder;
            o.binaryFiles = BinarySkip;
        });
    }
};

TEST_F(PreviewEquivalenceTest, PreviewListsExactlyWhatTheRunWrites)
{
    const QString body = QString::fromUtf8(
        "First line with Old text and old_text.\r\n"
        "Cat catalog cat\r\n"
        "a  b\tc and a b c\n"
        "caf\u00E9 CAF\u00C9 \u00E9t\u00E9\n"
        "x1y x22y x333y\n"
        "unchanged\nunchanged\nunchanged\nunchanged\nunchanged\nunchanged\nunchanged\n"
        "delete-me\n"
        "end without break old");
    const QString tree = dir.filePath("tree");
    makeFile("tree/ansi.txt", CodePage::fromQString(body));
    makeFile("tree/utf8.txt", body.toUtf8());
    makeFile("tree/sub/bom8.txt", "\xEF\xBB\xBF" + body.toUtf8());
    makeFile("tree/sub/le.txt", "\xFF\xFE" + utf16(body, false));
    makeFile("tree/sub/deeper/be.txt", "\xFE\xFF" + utf16(body, true));
    makeFile("tree/forced.u16", utf16(body, false));
    makeFile("tree/nothing.txt", "no match here\n");
    makeFile("tree/binary.txt", QByteArray("old\x01\x02old", 8));
    makeFile("tree/other.dat", "old old old");

    const QList<TextTable::Row> pairs{
        {"old", "new", "(--)[Default]"},              // not case sensitive
        {"cat", "dog", "cw(--)[Default]"},            // whole words, case sensitive
        {"a b c", "ABC", "n(--)[Default]"},           // normalize white space
        {"abc", "x", "i(--)[Default]"},               // ignore white space
        {"x?y", "<?>", "(?-)[Default]"},              // single wildcard
        {"x*y", "[*]", "(-*)[Default]"},              // multi wildcard
        {"caf\xE9", "coffee{CR}{LF}two", "(--)[Default]"}, // non-ASCII, line break in
        {"delete-me{LF}", "", "(--)[Default]"},       // whole line removed
        {"(\\w+)_text", "$1-TEXT", "cr(--)[Default]"},  // a regular expression with a group
        {"^(?=x)", "> ", "r(--)[Default]"},           // empty matches: insertions
    };
    for (const TextTable::Row &pair : pairs)
        job.stringPairs().AppendRow(pair);

    const QMap<QString, QByteArray> before = treeContent(tree);
    PreviewCollector preview;
    state.preview = &preview;
    batch.FindAndReplaceMnuClick();
    state.preview = nullptr;
    ASSERT_EQ(treeContent(tree).keys(), before.keys()) << treeContent(tree).keys().join(" ").toStdString() << " / " << QStringList(before.keys()).join(" ").toStdString();
    EXPECT_TRUE(treeContent(tree) == before) << "the preview wrote something";
    EXPECT_TRUE(host.confirmations.isEmpty());

    changeOptions([](RunOptions &o) { o.promptEachReplace = false; });
    batch.FindAndReplaceMnuClick();
    const QMap<QString, QByteArray> after = treeContent(tree);

    QStringList changed;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (!it.key().contains("/_BACKUP_") && before.value(it.key()) != it.value())
            changed.append(it.key());
    }
    EXPECT_EQ(changed, QStringList(preview.files.keys()));
    EXPECT_EQ(changed.size(), 6);
    EXPECT_EQ(preview.skipped, (QMap<QString, QString>{{tree + "/binary.txt", "binary"}}));
    for (const CollectedFile &file : preview.files) {
        SCOPED_TRACE(file.path.toStdString());
        EXPECT_EQ(applyHunks(decodedLines(before[file.path], file.codingName), file.hunks).join("|").toStdString(),
                  decodedLines(after[file.path], file.codingName).join("|").toStdString());
        int row = statistics->DataRowCount();
        while (row > 0 && statistics->cell(row, StatisticsPath) != file.path)
            --row;
        ASSERT_GT(row, 0);
        EXPECT_EQ(QString::number(file.replacements), statistics->cell(row, StatisticsReplacements));
    }
}

TEST_F(PreviewEquivalenceTest, APreviewAsksNothingAndListsFilesAsTheOptionsTreatThem)
{
    struct OptionsCase {
        const char *name;
        int binaryFiles;
        int readOnlyFiles;
        QMap<QString, QString> skipped; // by file name
        QStringList changed;
    };
    const OptionsCase cases[] = {
        {"ask", BinaryAsk, ReadOnlyAsk, {{"binary.txt", "would ask"}, {"locked.txt", "would ask"}}, {"plain.txt"}},
        {"skip", BinarySkip, ReadOnlySkip, {{"binary.txt", "binary"}, {"locked.txt", "read-only"}}, {"plain.txt"}},
        {"modify", BinaryTreatAsText, ReadOnlyModifyAnyway, {}, {"binary.txt", "locked.txt", "plain.txt"}},
    };
    makeFile("tree/binary.txt", QByteArray("old\x01\x02old", 8));
    makeFile("tree/locked.txt", "old\n");
    makeFile("tree/plain.txt", "old\n");
    const QString locked = dir.filePath("tree/locked.txt");
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner));
    job.stringPairs().AppendRow({"old", "new", "(--)[Default]"});
    for (const OptionsCase &c : cases) {
        SCOPED_TRACE(c.name);
        changeOptions([&c](RunOptions &o) {
            o.binaryFiles = c.binaryFiles;
            o.readOnlyFiles = c.readOnlyFiles;
        });
        PreviewCollector preview;
        state.preview = &preview;
        batch.FindAndReplaceMnuClick();
        state.preview = nullptr;
        EXPECT_TRUE(host.questions.isEmpty()) << host.questions.value(0).toStdString();
        QMap<QString, QString> skipped;
        for (auto it = preview.skipped.cbegin(); it != preview.skipped.cend(); ++it)
            skipped.insert(QFileInfo(it.key()).fileName(), it.value());
        EXPECT_EQ(skipped, c.skipped);
        QStringList changed;
        for (const QString &path : preview.files.keys())
            changed.append(QFileInfo(path).fileName());
        EXPECT_EQ(changed, c.changed);
    }
    EXPECT_EQ(TestFiles::read(locked), "old\n");
    EXPECT_EQ(QFileInfo(locked).permissions() & QFile::WriteOwner, 0);
}

} // namespace
