#include "settings/Job.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsVersion.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray crlf(const QByteArray &lines)
{
    return QByteArray(lines).replace("\n", "\r\n");
}

// A settings file with one folder and one string pair, the rest as a job of
// the window writes it.
QByteArray jobFile(const QByteArray &version, const QByteArray &folder, const QByteArray &find,
                   const QByteArray &replace, const QByteArray &options,
                   const QByteArray &backupFolder = "_BACKUP_")
{
    return crlf("[Sarvonex]\nVersion=" + version
                + "\n[Directories]\nGridWidth=3\nGridHeight=1\nValue1=" + folder
                + "\nValue2=All levels\nValue3=-B\n"
                  "[FileTypes]\nGridWidth=3\nGridHeight=1\nValue1=*.txt\nValue2=Auto\nValue3=\n"
                  "[ExcludeFileTypes]\nGridWidth=3\nGridHeight=0\n"
                  "[Strings]\nGridWidth=3\nGridHeight=1\nValue1="
                + find + "\nValue2=" + replace + "\nValue3=" + options
                + "\n[Options]\nPreserveDateTime=1\nBinaryFiles=1\nReadOnlyFiles=1\n"
                  "SetArchiveAttribute=1\nSaveSettingsAutomatically=0\nPreferEquidistantFont=0\n"
                  "Backup=2\nBackupFolder="
                + backupFolder
                + "\nBackupPrefix=~\nBackupSuffix=\nShowFileList=1\nPromptEachReplace=1\n"
                  "ShowFinalStats=1\n");
}

class SettingsRoundTripTest : public ::testing::Test
{
protected:
    QString path(const QString &name = QStringLiteral("job.ini")) const
    {
        return m_dir.filePath(name);
    }

    // Reads `bytes` as a settings file and writes the job back.
    QByteArray readAndWriteBack(const QByteArray &bytes, Job &job)
    {
        TestFiles::write(path(), bytes);
        EXPECT_TRUE(ReadSettingsFile(path(), job));
        WriteSettingsFile(path(QStringLiteral("saved.ini")), job);
        return TestFiles::read(path(QStringLiteral("saved.ini")));
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsRoundTripTest, EveryExampleJobIsWrittenBackByteForByte)
{
    const QDir examples(QStringLiteral(SARVONEX_SOURCE_DIR "/examples"));
    const QStringList files = examples.entryList({QStringLiteral("*.ini")}, QDir::Files);
    ASSERT_GE(files.size(), 2);
    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray original = TestFiles::read(examples.filePath(name));
        Job job;
        EXPECT_EQ(readAndWriteBack(original, job), original);
    }
}

// Files of the ANSI versions: the texts the pair's charset spells, and bytes
// it does not (an undefined byte, a cut double-byte character, a letter and an
// accent that the code page would combine into one character).
TEST_F(SettingsRoundTripTest, AnsiJobsAreReadInTheirCharsetAndWrittenBackByteForByte)
{
    const struct {
        const char *name;
        QByteArray folder, find, replace, options;
        QString findText; // what the pair holds in memory
    } cases[] = {
        {"Windows-1252 folder and pair", "C:\\Data\\\xDC" "bung", "caf\xE9", "\x80", "w(--)[Default]",
         QString::fromUtf8("café")},
        {"Russian", "/srv", "\xEF\xF0\xE8\xE2\xE5\xF2", "\xEF\xEE\xEA\xE0", "(--)[Russian]",
         QString::fromUtf8("привет")},
        {"Greek", "/srv", "\xE1\xE2\xE3", "x", "c(--)[Greek]", QString::fromUtf8("αβγ")},
        {"Shift JIS", "/srv", "\x93\xFA\x96\x7B", "x", "(--)[ShiftJis]", QString::fromUtf8("日本")},
        {"GB2312", "/srv", "\xD6\xD0\xCE\xC4", "x", "(--)[GB2312]", QString::fromUtf8("中文")},
        {"undefined Windows-1252 byte", "/srv", "a\x81z", "x", "(--)[Ansi]",
         QStringLiteral("a") + QChar(0x81) + QStringLiteral("z")},
        {"byte Windows-1251 leaves undefined", "/srv", "\xEF\x98", "x", "(--)[Russian]",
         QString::fromUtf8("п") + QChar(0xDC98)},
        {"cut Shift JIS character", "/srv", "\x93", "x", "(--)[ShiftJis]", QString(QChar(0xDC93))},
        {"letter and combining accent", "/srv", "a\xEC", "x", "(--)[Vietnamese]",
         QStringLiteral("a") + QChar(0x0301)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray original = jobFile("2.2", c.folder, c.find, c.replace, c.options);
        Job job;
        EXPECT_EQ(readAndWriteBack(original, job), original);
        EXPECT_EQ(job.stringPairs().cell(1, 0), c.findText);
    }
}

TEST_F(SettingsRoundTripTest, AJobWithoutAnAnsiSpellingIsWrittenAsUtf8AndReadBack)
{
    const struct {
        const char *name;
        QString folder, find, options, backupFolder;
    } cases[] = {
        {"Cyrillic folder", QString::fromUtf8("/home/ivan/Отчёты"), QStringLiteral("a"),
         QStringLiteral("(--)[Default]"), QStringLiteral("_BACKUP_")},
        {"CJK pair in a Default charset", QStringLiteral("/srv"), QString::fromUtf8("東京"),
         QStringLiteral("(--)[Default]"), QStringLiteral("_BACKUP_")},
        {"Greek pair in a Russian charset", QStringLiteral("/srv"), QString::fromUtf8("αβ"),
         QStringLiteral("(--)[Russian]"), QStringLiteral("_BACKUP_")},
        {"emoji pair", QStringLiteral("/srv"), QString::fromUtf8("🙂{TAB}{{}"),
         QStringLiteral("c(--)[Default]"), QStringLiteral("_BACKUP_")},
        {"back-up folder", QStringLiteral("/srv"), QStringLiteral("a"),
         QStringLiteral("(--)[Default]"), QString::fromUtf8("архив")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Job job;
        job.folders().AppendRow({c.folder, QStringLiteral("All levels"), QStringLiteral("-B")});
        job.stringPairs().AppendRow({c.find, QString::fromUtf8("ответ"), c.options});
        RunOptions options = job.options();
        options.backupFolder = c.backupFolder;
        job.setOptions(options);
        EXPECT_EQ(RequiredSettingsVersion(job), UnicodeSettingsVersion);

        WriteSettingsFile(path(), job);
        const QByteArray written = TestFiles::read(path());
        EXPECT_TRUE(written.startsWith("[Sarvonex]\r\nVersion=2.3\r\n"));
        EXPECT_TRUE(written.contains("Value1=" + c.folder.toUtf8() + "\r\n"));
        EXPECT_TRUE(written.contains(c.find.toUtf8()));
        Job read;
        ASSERT_TRUE(ReadSettingsFile(path(), read));
        EXPECT_EQ(read.folders().row(1), job.folders().row(1));
        EXPECT_EQ(read.stringPairs().row(1), job.stringPairs().row(1));
        EXPECT_EQ(read.options(), job.options());
        WriteSettingsFile(path(QStringLiteral("again.ini")), read);
        EXPECT_EQ(TestFiles::read(path(QStringLiteral("again.ini"))), written);
    }
}

// A byte its charset does not spell travels through a UTF-8 file and is
// written back as it was once the job fits the ANSI version again.
TEST_F(SettingsRoundTripTest, BytesAPairsCharsetDoesNotSpellSurviveAUtf8Save)
{
    const QByteArray original = jobFile("2.2", "/srv", "\xEF\x98{{}", "\x93", "(--)[Russian]");
    Job job;
    readAndWriteBack(original, job);
    job.folders().setCell(1, 0, QString::fromUtf8("/srv/Отчёты"));
    WriteSettingsFile(path(), job);
    EXPECT_TRUE(TestFiles::read(path()).contains("Value1=\xD0\xBF{x98}{{}\r\n"));

    Job unicode;
    ASSERT_TRUE(ReadSettingsFile(path(), unicode));
    EXPECT_EQ(unicode.stringPairs().row(1), job.stringPairs().row(1));
    unicode.folders().setCell(1, 0, QStringLiteral("/srv"));
    WriteSettingsFile(path(QStringLiteral("back.ini")), unicode);
    EXPECT_EQ(TestFiles::read(path(QStringLiteral("back.ini"))), original);
}

TEST_F(SettingsRoundTripTest, AVersionAboveTheUnicodeOneIsRefusedNamingIt)
{
    class Host : public SettingsFileHost
    {
    public:
        QString message;
        void showInformation(const QString &text) override { message = text; }
    } host;
    TestFiles::write(path(), jobFile("2.4", "/srv", "a", "b", ""));
    Job job;
    EXPECT_FALSE(ReadSettingsFile(path(), job, host));
    EXPECT_TRUE(host.message.startsWith(QStringLiteral(
        "Version of the file being loaded: 2.4\nVersion expected (or lower): 2.3\n")));
}

} // namespace
