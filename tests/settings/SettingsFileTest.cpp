#include "settings/IniFile.h"
#include "settings/Job.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFileError.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Records what reading asked of its document.
class RecordingHost : public SettingsFileHost
{
public:
    bool allowReplace = true;
    QList<bool> loadingStates;
    QList<QString> messages;
    QStringList recentFiles;
    int notModifiedCount = 0;

    bool mayReplaceJob() override { return allowReplace; }
    void setLoading(bool on) override { loadingStates.append(on); }
    void showInformation(const QString &message) override { messages.append(message); }
    void addRecentFile(const QString &path) override { recentFiles.append(path); }
    void markNotModified() override { ++notModifiedCount; }
};

QByteArray crlf(const QByteArray &lines)
{
    return QByteArray(lines).replace("\n", "\r\n");
}

class SettingsFileTest : public ::testing::Test
{
protected:
    QString path(const QString &name = QStringLiteral("job.ini")) const
    {
        return m_dir.filePath(name);
    }

    // Writes `text` as a settings file and reads it into `job`.
    bool load(const QByteArray &text, Job &job, RecordingHost &host)
    {
        TestFiles::write(path(), text);
        return ReadSettingsFile(path(), job, host);
    }

    QTemporaryDir m_dir;
};

void fillJob(Job &job)
{
    job.folders().AppendRow({"/work/src", "All levels", "-B"});
    job.folders().AppendRow({"/work/docs", "None", "+B"});
    job.fileTypes().AppendRow({"*.txt", "UTF-8", "Text files"});
    job.excludedFileTypes().AppendRow({"*.bak", "", "Back-ups"});
    job.stringPairs().AppendRow({" lead", "trail ", "cw(-*)[Default]"});
    job.stringPairs().AppendRow({"\"quoted\"", "", "N(-)[Greek]"});
    job.stringPairs().AppendRow({QString(3000, u'f') + QChar(0xE9), "x{TAB}y{LF}", ""});
    RunOptions o;
    o.preserveDateTime = false;
    o.binaryFiles = BinaryTreatAsText;
    o.readOnlyFiles = ReadOnlySkip;
    o.setArchiveAttribute = false;
    o.saveSettingsAutomatically = true;
    o.preferEquidistantFont = true;
    o.backupMode = BackupRename;
    o.backupFolder = "old copies";
    o.backupPrefix = "";
    o.backupSuffix = ".orig ";
    o.showFileList = false;
    o.promptEachReplace = false;
    o.showFinalStats = false;
    job.setOptions(o);
}

void expectSameJob(const Job &a, const Job &b)
{
    EXPECT_EQ(a.folders().entries(), b.folders().entries());
    EXPECT_EQ(a.fileTypes().entries(), b.fileTypes().entries());
    EXPECT_EQ(a.excludedFileTypes().entries(), b.excludedFileTypes().entries());
    EXPECT_EQ(a.stringPairs().entries(), b.stringPairs().entries());
    EXPECT_EQ(a.options(), b.options());
}

TEST_F(SettingsFileTest, WritesTheDesignedLayout)
{
    Job job;
    job.folders().AppendRow({"/work", "All levels", "-B"});
    job.fileTypes().AppendRow({"*.txt", "Auto", "Text files"});
    job.stringPairs().AppendRow({"a", "", "c"});
    WriteSettingsFile(path(), job);

    EXPECT_EQ(TestFiles::read(path()), crlf("[Sarvonex]\nVersion=2.2\n"
                                            "[Directories]\nGridWidth=3\nGridHeight=1\n"
                                            "Value1=/work\nValue2=All levels\nValue3=-B\n"
                                            "[FileTypes]\nGridWidth=3\nGridHeight=1\n"
                                            "Value1=*.txt\nValue2=Auto\nValue3=Text files\n"
                                            "[ExcludeFileTypes]\nGridWidth=3\nGridHeight=0\n"
                                            "[Strings]\nGridWidth=3\nGridHeight=1\n"
                                            "Value1=a\nValue2=\nValue3=c\n"
                                            "[Options]\nPreserveDateTime=1\nBinaryFiles=1\n"
                                            "ReadOnlyFiles=1\nSetArchiveAttribute=1\n"
                                            "SaveSettingsAutomatically=0\n"
                                            "PreferEquidistantFont=0\nBackup=2\n"
                                            "BackupFolder=_BACKUP_\nBackupPrefix=~\n"
                                            "BackupSuffix=\nShowFileList=1\n"
                                            "PromptEachReplace=1\nShowFinalStats=1\n"));
}

TEST_F(SettingsFileTest, RoundTripKeepsTheWholeJobAndLeavesItUnmodified)
{
    Job original;
    fillJob(original);
    WriteSettingsFile(path(), original);

    Job loaded;
    RecordingHost host;
    ASSERT_TRUE(ReadSettingsFile(path(), loaded, host));
    expectSameJob(loaded, original);
    EXPECT_EQ(host.loadingStates, (QList<bool>{true, false}));
    EXPECT_EQ(host.recentFiles, QStringList{path()});
    EXPECT_EQ(host.notModifiedCount, 1);
    EXPECT_TRUE(host.messages.isEmpty());
}

TEST_F(SettingsFileTest, EmptyTableReadsBackEmpty)
{
    Job original;
    WriteSettingsFile(path(), original);
    Job loaded;
    fillJob(loaded);
    ASSERT_TRUE(ReadSettingsFile(path(), loaded));
    for (const TextTable *t : {&loaded.folders(), &loaded.fileTypes(),
                               &loaded.excludedFileTypes(), &loaded.stringPairs()}) {
        EXPECT_EQ(t->DataRowCount(), 0);
        EXPECT_EQ(t->rowTotal(), 1);
    }
}

TEST_F(SettingsFileTest, MissingValueKeyShiftsLaterValuesBack)
{
    Job job;
    RecordingHost host;
    ASSERT_TRUE(load("[Sarvonex]\nVersion=2.2\n[Strings]\nGridWidth=3\nGridHeight=2\n"
                     "Value1=v1\nValue3=v3\nValue4=v4\nValue5=v5\nValue6=v6\n",
                     job, host));
    EXPECT_EQ(job.stringPairs().entries(),
              (QList<TextTable::Row>{{"v1", "v3", "v4"}, {"v5", "v6", ""}}));
}

TEST_F(SettingsFileTest, SkipCountStopsAtOneThousandPerSection)
{
    // Value2 .. Value1002 missing: cell 2 gives up after 1000 skips, and from
    // then on every cell reads the key 1000 places further on.
    Job job;
    RecordingHost host;
    ASSERT_TRUE(load("[Strings]\nGridWidth=3\nGridHeight=2\n"
                     "Value1=a\nValue1003=b\nValue1004=c\nValue1006=d\n",
                     job, host));
    EXPECT_EQ(job.stringPairs().entries(),
              (QList<TextTable::Row>{{"a", "", "b"}, {"c", "", "d"}}));
}

TEST_F(SettingsFileTest, RowsBeyondTheKeysAreEmptyRows)
{
    Job job;
    RecordingHost host;
    ASSERT_TRUE(load("[Strings]\nGridWidth=3\nGridHeight=3\n"
                     "Value1=a\nValue2=b\nValue3=c\nValue4=d\nValue5=e\nValue6=f\n",
                     job, host));
    EXPECT_EQ(job.stringPairs().entries(),
              (QList<TextTable::Row>{{"a", "b", "c"}, {"d", "e", "f"}, {"", "", ""}}));
}

TEST_F(SettingsFileTest, ColumnsBeyondThreeAreIgnoredAndWildHeightsCreateNoEmptyRows)
{
    Job job;
    RecordingHost host;
    ASSERT_TRUE(load("[Directories]\nGridWidth=4\nGridHeight=100000000\n"
                     "Value1=/a\nValue2=None\nValue3=-B\nValue4=extra\n"
                     "Value5=/b\nValue6=All levels\nValue7=+B\nValue8=extra\n",
                     job, host));
    EXPECT_EQ(job.folders().entries(),
              (QList<TextTable::Row>{{"/a", "None", "-B"}, {"/b", "All levels", "+B"}}));
}

TEST_F(SettingsFileTest, VersionsAreComparedAsText)
{
    const struct {
        QByteArray versionLine;
        bool accepted;
    } cases[] = {
        {"Version=2.4", false}, {"Version=2.3a", false}, {"Version=3", false},
        {"Version=2.10", true}, {"Version=10.0", true},  {"Version=2.3", true},
        {"Version=2.2", true},  {"Version=2.1", true},   {"", true},
    };
    for (const auto &c : cases) {
        Job job;
        fillJob(job);
        RecordingHost host;
        const bool loaded = load("[Sarvonex]\n" + c.versionLine + "\n[Options]\nBackup=1\n", job, host);
        EXPECT_EQ(loaded, c.accepted) << c.versionLine.data();
        EXPECT_EQ(host.recentFiles.size(), c.accepted ? 1 : 0);
        EXPECT_EQ(host.messages.size(), c.accepted ? 0 : 1);
        EXPECT_EQ(job.options().backupMode, c.accepted ? BackupNone : BackupRename);
        EXPECT_EQ(job.folders().DataRowCount(), c.accepted ? 0 : 2);
    }
}

TEST_F(SettingsFileTest, RefusalMessageNamesBothVersions)
{
    Job job;
    RecordingHost host;
    ASSERT_FALSE(load("[Sarvonex]\nVersion=2.4\n", job, host));
    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_EQ(host.messages[0], "Version of the file being loaded: 2.4\n"
                                "Version expected (or lower): 2.3\n\n"
                                "This file can't be loaded.\n\n"
                                "Get a newer version of Sarvonex\n"
                                "from the vendor's web to open this file.");
    EXPECT_EQ(host.loadingStates, (QList<bool>{true, false}));
    EXPECT_EQ(host.notModifiedCount, 0);
}

// Older versions refuse a 2.3 file, so they never search for a regular
// expression's text as if it were plain text.
TEST_F(SettingsFileTest, RegularExpressionPairsAreWrittenAsVersion23)
{
    const struct {
        QByteArray options;
        QByteArray version;
    } cases[] = {
        {"cw(--)[Default]", "2.2"},
        {"cwr(--)[Default]", "2.3"},
        {"rc(--)[Default]", "2.3"}, // the letters in any order
    };
    for (const auto &c : cases) {
        Job job;
        job.stringPairs().AppendRow({"get_(\\w+)", "$1", "c(--)[Default]"});
        job.stringPairs().AppendRow({"a", "b", c.options});
        WriteSettingsFile(path(), job);
        EXPECT_TRUE(TestFiles::read(path()).startsWith(
            crlf("[Sarvonex]\nVersion=" + c.version + "\n")))
            << c.options.data();
        Job loaded;
        RecordingHost host;
        ASSERT_TRUE(ReadSettingsFile(path(), loaded, host));
        EXPECT_EQ(loaded.stringPairs().entries(), job.stringPairs().entries());
    }
}

TEST_F(SettingsFileTest, DeclinedReplacementReadsNothing)
{
    Job job;
    fillJob(job);
    RecordingHost host;
    host.allowReplace = false;
    EXPECT_FALSE(load("[Sarvonex]\nVersion=2.2\n", job, host));
    EXPECT_EQ(job.folders().DataRowCount(), 2);
    EXPECT_TRUE(host.loadingStates.isEmpty());
    EXPECT_TRUE(host.recentFiles.isEmpty());
}

TEST_F(SettingsFileTest, Version21FileTypesGainTheEncodingColumn)
{
    const QByteArray table = "GridWidth=2\nGridHeight=1\nValue1=*.txt\nValue2=Text files\n";
    Job job;
    RecordingHost host;
    ASSERT_TRUE(load("[Sarvonex]\nVersion=2.1\n[FileTypes]\n" + table + "[ExcludeFileTypes]\n" + table,
                     job, host));
    EXPECT_EQ(job.fileTypes().entries(), (QList<TextTable::Row>{{"*.txt", "Auto", "Text files"}}));
    EXPECT_EQ(job.excludedFileTypes().entries(), (QList<TextTable::Row>{{"*.txt", "", "Text files"}}));

    Job empty;
    ASSERT_TRUE(load("[Sarvonex]\nVersion=2.1\n[FileTypes]\nGridWidth=2\nGridHeight=0\n", empty, host));
    EXPECT_EQ(empty.fileTypes().DataRowCount(), 0);
    EXPECT_EQ(empty.excludedFileTypes().DataRowCount(), 0);
}

TEST_F(SettingsFileTest, OptionValuesAreReadWithDefaultsClampsAndHex)
{
    const struct {
        QByteArray options;
        int binaryFiles, readOnlyFiles, backupMode;
        bool preserveDateTime, showFileList;
    } cases[] = {
        {"", BinaryAsk, ReadOnlyAsk, BackupToSubfolder, true, true},
        {"Backup=7\n", BinaryAsk, ReadOnlyAsk, BackupRename, true, true}, // mode kept
        {"Backup=0\n", BinaryAsk, ReadOnlyAsk, BackupRename, true, true},
        {"Backup=many\n", BinaryAsk, ReadOnlyAsk, BackupToSubfolder, true, true},
        {"Backup=$1\n", BinaryAsk, ReadOnlyAsk, BackupNone, true, true},
        {"BinaryFiles=9\nReadOnlyFiles=-5\n", BinaryTreatAsText, -1, BackupToSubfolder, true, true},
        {"BinaryFiles=0x0\nReadOnlyFiles=0X2\n", BinarySkip, ReadOnlyModifyAnyway,
         BackupToSubfolder, true, true},
        {"BinaryFiles=-1\nReadOnlyFiles=text\n", -1, ReadOnlyAsk, BackupToSubfolder, true, true},
        {"PreserveDateTime=0\nShowFileList=2\n", BinaryAsk, ReadOnlyAsk, BackupToSubfolder, false, true},
        {"PreserveDateTime=$0\nShowFileList=yes\n", BinaryAsk, ReadOnlyAsk, BackupToSubfolder,
         false, true},
        {"preservedatetime=-1\nSHOWFILELIST=0x0\n", BinaryAsk, ReadOnlyAsk, BackupToSubfolder,
         true, false},
    };
    for (const auto &c : cases) {
        Job job;
        RunOptions before;
        before.backupMode = BackupRename;
        job.setOptions(before);
        RecordingHost host;
        ASSERT_TRUE(load("[Sarvonex]\nVersion=2.2\n[Options]\n" + c.options, job, host));
        const RunOptions &o = job.options();
        EXPECT_EQ(o.binaryFiles, c.binaryFiles) << c.options.data();
        EXPECT_EQ(o.readOnlyFiles, c.readOnlyFiles) << c.options.data();
        EXPECT_EQ(o.backupMode, c.backupMode) << c.options.data();
        EXPECT_EQ(o.preserveDateTime, c.preserveDateTime) << c.options.data();
        EXPECT_EQ(o.showFileList, c.showFileList) << c.options.data();
    }
}

TEST_F(SettingsFileTest, MissingFileReadsAsEmptyJobWithDefaultOptions)
{
    Job job;
    fillJob(job);
    RecordingHost host;
    ASSERT_TRUE(ReadSettingsFile(path("absent.ini"), job, host));
    expectSameJob(job, Job());
    EXPECT_EQ(host.recentFiles, QStringList{path("absent.ini")});
}

TEST_F(SettingsFileTest, UnreadableFileIsAnErrorNotAnEmptyJob)
{
    QDir(m_dir.path()).mkdir("folder.ini");
    Job job;
    fillJob(job);
    RecordingHost host;
    EXPECT_THROW(ReadSettingsFile(path("folder.ini"), job, host), SettingsFileError);
    EXPECT_EQ(job.folders().DataRowCount(), 2);
    EXPECT_EQ(host.loadingStates, (QList<bool>{true, false}));
    EXPECT_TRUE(host.recentFiles.isEmpty());
}

TEST_F(SettingsFileTest, WritingOverAFileDropsItsOtherSections)
{
    TestFiles::write(path(), "[Window]\nLeft=10\n[Strings]\nGridWidth=3\nGridHeight=5\nValue99=x\n");
    Job job;
    fillJob(job);
    WriteSettingsFile(path(), job);
    const IniFile ini = IniFile::fromBytes(TestFiles::read(path()));
    EXPECT_FALSE(ini.contains("Window", "Left"));
    EXPECT_FALSE(ini.contains("Strings", "Value99"));
    EXPECT_EQ(ini.value("Strings", "GridHeight"), "3");
}

TEST_F(SettingsFileTest, FailedWriteRaisesTheErrorAndKeepsTheOldFile)
{
    // A name so long that no temporary file can be made beside it.
    const QString longName = QString(248, QLatin1Char('n')) + ".ini";
    const QByteArray oldText = "[Sarvonex]\nVersion=2.2\n";
    TestFiles::write(path(longName), oldText);
    QDir(m_dir.path()).mkdir("folder.ini");
    Job job;
    fillJob(job);
    for (const QString &target : {path(longName), path("folder.ini"), path("no/such/dir/job.ini")}) {
        try {
            WriteSettingsFile(target, job);
            ADD_FAILURE() << "no error for " << target.toStdString();
        } catch (const SettingsFileError &e) {
            EXPECT_EQ(e.message(), "Unable to write to " + target);
        }
    }
    EXPECT_EQ(TestFiles::read(path(longName)), oldText);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{longName});
}

} // namespace

// Damaged tables cost time and memory in proportion to the file: an extreme
// key number or width loads what the keys hold, a table that would exceed
// 100,000 rows is refused with the file named, leaving the job as it was.
TEST_F(SettingsFileTest, DamagedTablesLoadCheaplyOrAreRefused)
{
    const struct {
        const char *name;
        QByteArray table;
        bool refused;
        QList<TextTable::Row> rows;
        int rowCount = 0; // when `rows` is empty
    } cases[] = {
        {"highest key number", "GridWidth=3\nGridHeight=1\nValue1=a\nValue9223372036854775807=x\n",
         false, {{"a", "", ""}}},
        {"highest key number, one column",
         "GridWidth=1\nGridHeight=1\nValue1=a\nValue9223372036854775807=x\n", false,
         {{"a", "", ""}}},
        {"highest key number, wild height",
         "GridWidth=3\nGridHeight=2147483647\nValue1=a\nValue9223372036854775807=x\n", true, {}},
        {"wild height and a high key", "GridWidth=3\nGridHeight=2147483647\nValue100000000=x\n",
         true, {}},
        {"wild width", "GridWidth=2147483647\nGridHeight=2147483647\nValue1=a\nValue2=b\n"
                       "Value2147483646=x\n", false, {{"a", "b", ""}}},
        {"negative sizes", "GridWidth=-3\nGridHeight=-1\nValue1=a\n", false, {}},
        {"largest table taken", "GridWidth=3\nGridHeight=100000\nValue1=a\nValue299999=x\n", false, {}, 100000},
        {"one row too many", "GridWidth=3\nGridHeight=100001\nValue300003=x\n", true, {}},
    };
    for (const auto &c : cases) {
        Job job;
        job.stringPairs().AppendRow({"kept", "", ""});
        RecordingHost host;
        TestFiles::write(path(), "[Strings]\n" + c.table);
        if (c.refused) {
            try {
                ReadSettingsFile(path(), job, host);
                ADD_FAILURE() << c.name << ": not refused";
            } catch (const SettingsFileError &error) {
                EXPECT_TRUE(error.message().contains(path())) << c.name;
            }
            EXPECT_EQ(job.stringPairs().entries(), (QList<TextTable::Row>{{"kept", "", ""}}))
                << c.name;
        } else {
            ASSERT_TRUE(ReadSettingsFile(path(), job, host)) << c.name;
            if (c.rows.isEmpty())
                EXPECT_EQ(job.stringPairs().DataRowCount(), c.rowCount) << c.name;
            else
                EXPECT_EQ(job.stringPairs().entries(), c.rows) << c.name;
        }
    }
}
