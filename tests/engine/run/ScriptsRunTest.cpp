// Jobs in several scripts run over files in every coding, checked on disk: a
// pair matches its letters in UTF-8 and UTF-16 files and its charset's bytes
// in ANSI files.
#include "engine/run/BatchRun.h"
#include "support/RunFixture.h"

#include <QDir>
#include <QStringEncoder>

namespace {

enum class Coding { Ansi, Utf8, Utf8Mark, Utf16Le, Utf16Be };

// The text as a file of `coding`; ANSI text in the code page `ansiCodePage`
// (an iconv name; empty when the text has no ANSI form in the test).
QByteArray fileBytes(const QString &text, Coding coding, const QByteArray &ansiBytes)
{
    switch (coding) {
    case Coding::Ansi: return ansiBytes;
    case Coding::Utf8: return text.toUtf8();
    case Coding::Utf8Mark: return "\xEF\xBB\xBF" + text.toUtf8();
    case Coding::Utf16Le:
    case Coding::Utf16Be: {
        QStringEncoder encoder(coding == Coding::Utf16Le ? QStringConverter::Utf16LE
                                                         : QStringConverter::Utf16BE,
                               QStringConverter::Flag::WriteBom);
        return encoder.encode(text);
    }
    }
    return {};
}

struct ScriptCase {
    const char *name;
    const char *find, *replace, *options; // UTF-8
    const char *text, *expected;          // UTF-8
    // The ANSI file before and after, in the pair's charset; empty: the pair
    // does not occur in the ANSI file, which stays as it is.
    QByteArray ansiText, ansiExpected;
};

const ScriptCase scriptCases[] = {
    {"Russian", "привет", "пока", "(--)[Russian]", "Привет, мир! привет.", "пока, мир! пока.",
     "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0! \xEF\xF0\xE8\xE2\xE5\xF2.",
     "\xEF\xEE\xEA\xE0, \xEC\xE8\xF0! \xEF\xEE\xEA\xE0."},
    {"Greek whole word", "αβγ", "ΩΩ", "w(--)[Greek]", "αβγ αβγδ ΑΒΓ", "ΩΩ αβγδ ΩΩ",
     "\xE1\xE2\xE3 \xE1\xE2\xE3\xE4 \xC1\xC2\xC3", "\xD9\xD9 \xE1\xE2\xE3\xE4 \xD9\xD9"},
    {"Japanese in Shift JIS", "日本", "Japan", "c(--)[ShiftJis]", "日本語と日本", "Japan語とJapan",
     "\x93\xFA\x96\x7B\x8C\xEA\x82\xC6\x93\xFA\x96\x7B", "Japan\x8C\xEA\x82\xC6Japan"},
    {"Chinese that Windows-1252 cannot spell", "東京", "Tokyo", "(--)[Default]", "東京, 東京!",
     "Tokyo, Tokyo!", "", ""},
    {"an emoji is one character", "a?b", "X", "c(?-)[Default]", "a🙂b aéb ab", "X X ab", "", ""},
    {"French through Windows-1252", "CAFÉ", "thé", "(--)[Default]", "Café au lait, à la café",
     "thé au lait, à la thé", "Caf\xE9 au lait, \xE0 la caf\xE9",
     "th\xE9 au lait, \xE0 la th\xE9"},
};

class ScriptsRunTest : public BatchRunFixture
{
protected:
    // A job over the folder "Отчёты" with one pair, no prompt, no back-up.
    QString useJob(const ScriptCase &c)
    {
        const QString folder = dir.filePath(QString::fromUtf8("Отчёты"));
        QDir().mkpath(folder);
        job.folders().AppendRow({folder, "None", "-B"});
        job.fileTypes().AppendRow({"*.txt", "Auto", ""});
        job.stringPairs().AppendRow(
            {QString::fromUtf8(c.find), QString::fromUtf8(c.replace), c.options});
        changeOptions([](RunOptions &o) {
            o.promptEachReplace = false;
            o.backupMode = BackupNone;
        });
        return folder;
    }
};

TEST_F(ScriptsRunTest, APairMatchesItsLettersInEveryCoding)
{
    const Coding codings[] = {Coding::Ansi, Coding::Utf8, Coding::Utf8Mark, Coding::Utf16Le,
                              Coding::Utf16Be};
    for (const ScriptCase &c : scriptCases) {
        SCOPED_TRACE(c.name);
        job.ClearJob();
        const QString folder = useJob(c);
        QStringList paths;
        for (Coding coding : codings) {
            const QString path = folder + QString::fromUtf8("/файл-%1.txt").arg(int(coding));
            const QByteArray ansi = c.ansiText.isEmpty() ? QByteArray("not changed at all")
                                                         : c.ansiText;
            TestFiles::write(path, fileBytes(QString::fromUtf8(c.text), coding, ansi));
            paths.append(path);
        }
        batch.FindAndReplaceMnuClick();
        for (Coding coding : codings) {
            SCOPED_TRACE(int(coding));
            const QByteArray expected = coding == Coding::Ansi
                ? (c.ansiExpected.isEmpty() ? QByteArray("not changed at all") : c.ansiExpected)
                : fileBytes(QString::fromUtf8(c.expected), coding, {});
            EXPECT_EQ(TestFiles::read(paths[int(coding)]), expected);
        }
        QDir(folder).removeRecursively();
    }
}

} // namespace
