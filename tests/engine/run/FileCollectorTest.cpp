#include "engine/files/FileMask.h"
#include "engine/run/FileCollector.h"
#include "engine/text/CodePage.h"
#include "engine/text/LastWriteText.h"
#include "settings/JobEntries.h"
#include "support/ScriptedHost.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>
#include <sys/stat.h>

namespace {

struct MaskCase {
    const char *mask;
    const char *name;
    bool matches;
};

// Test names show the cases, not their bytes.
void PrintTo(const MaskCase &c, std::ostream *out)
{
    *out << '"' << c.mask << "\" on \"" << c.name << '"';
}

class FileMaskTest : public testing::TestWithParam<MaskCase> {};

TEST_P(FileMaskTest, MatchesWholeNameWithoutRegardToCase)
{
    const MaskCase &c = GetParam();
    EXPECT_EQ(FileMask(QString::fromUtf8(c.mask)).matches(QString::fromUtf8(c.name)), c.matches)
        << c.mask << " vs " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Masks, FileMaskTest,
    testing::Values(MaskCase{"*", "anything.txt", true}, MaskCase{"*", "noext", true},
                    MaskCase{"*.*", "noext", true}, MaskCase{"*.*", "a.b.c", true},
                    MaskCase{"*.txt", "NOTES.TXT", true}, MaskCase{"*.TXT", "notes.txt", true},
                    MaskCase{"*.txt", "notes.txt.bak", false},
                    MaskCase{"*.txt", "txt", false}, MaskCase{"a?c", "abc", true},
                    MaskCase{"a?c", "ac", false}, MaskCase{"a?c", "abbc", false},
                    MaskCase{"a?c", "a\xc3\xa9" "c", true}, MaskCase{"?", "\xf0\x9f\x98\x80", true},
                    MaskCase{"readme.*", "readme", true}, MaskCase{"readme.*", "README.md", true},
                    MaskCase{"[a].txt", "[a].txt", true}, MaskCase{"[a].txt", "a.txt", false},
                    MaskCase{"f(1)+.c", "f(1)+.c", true}, MaskCase{"f(1)+.c", "f1.c", false},
                    MaskCase{"a.c", "abc", false}, MaskCase{"*.tar.gz", "x.TAR.GZ", true},
                    MaskCase{"\xc3\x89t\xc3\xa9.*", "\xc3\xa9T\xc3\x89.doc", true},
                    MaskCase{"*a*b", "xaxxaxb", true}, MaskCase{"*a*b", "xaxbx", false},
                    MaskCase{"", "", false}, MaskCase{"", "a", false}));

// A temporary folder tree, a job over it and a host that records the run.
class CollectorTest : public testing::Test
{
protected:
    QTemporaryDir temp;
    Job job;
    ScriptedHost host;
    RunState state;
    RunContext run{host, state, job};
    PathTable *files = newFileListTable();

    ~CollectorTest() override { delete files; }

    QString root() const { return temp.path(); }
    void touch(const QString &relative) { TestFiles::write(root() + '/' + relative, "x"); }
    void addFolder(const QString &folder, const char *depth = DepthAllLevels,
                   const char *flag = "-B")
    {
        job.folders().AppendRow({folder, depth, flag});
    }
    void addType(const char *mask, const char *coding = "")
    {
        job.fileTypes().AppendRow({mask, coding, ""});
    }
    void exclude(const char *mask) { job.excludedFileTypes().AppendRow({mask, "", ""}); }
    void setBackup(int mode, const QByteArray &folder, const QByteArray &prefix)
    {
        RunOptions o = job.options();
        o.backupMode = mode;
        o.backupFolder = folder;
        o.backupPrefix = prefix;
        job.setOptions(o);
    }

    // The collected paths relative to the root, in list order.
    QStringList collected()
    {
        QStringList paths;
        if (!CollectFiles(false, *files, run))
            return paths;
        for (int row = 1; row <= files->rowTotal(); ++row)
            paths.append(files->cell(row, FileListPath).mid(root().size() + 1));
        return paths;
    }
    QStringList collectedSorted()
    {
        QStringList paths = collected();
        paths.sort();
        return paths;
    }
};

struct DepthCase {
    const char *depth;
    QStringList expected;
};

void PrintTo(const DepthCase &c, std::ostream *out)
{
    *out << c.depth;
}

class DepthTest : public CollectorTest, public testing::WithParamInterface<DepthCase> {};

TEST_P(DepthTest, WalksToTheEntrysDepth)
{
    for (const char *f : {"a.txt", "one/b.txt", "one/two/c.txt", "one/two/three/d.txt"})
        touch(f);
    addFolder(root(), GetParam().depth);
    addType("*.txt");
    EXPECT_EQ(collectedSorted(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Depths, DepthTest,
    testing::Values(DepthCase{DepthNone, {"a.txt"}},
                    DepthCase{DepthFirstLevel, {"a.txt", "one/b.txt"}},
                    DepthCase{DepthAllLevels,
                              {"a.txt", "one/b.txt", "one/two/c.txt", "one/two/three/d.txt"}},
                    DepthCase{"unknown text", {"a.txt"}}));

struct BackupCase {
    const char *name;
    int mode;
    QByteArray folderField;
    QByteArray prefixField;
    const char *flag;
    QStringList expected;
};

void PrintTo(const BackupCase &c, std::ostream *out)
{
    *out << c.name;
}

class BackupSkipTest : public CollectorTest, public testing::WithParamInterface<BackupCase> {};

TEST_P(BackupSkipTest, SkipsBackUpsOnlyWhenTheEntryAndModeSaySo)
{
    for (const char *f : {"a.txt", "~a.txt", "_BACKUP_/b.txt", "_BACKUP_001/c.txt",
                          "_backup_/d.txt", "sub/~e.txt"})
        touch(f);
    const BackupCase &c = GetParam();
    setBackup(c.mode, c.folderField, c.prefixField);
    addFolder(root(), DepthAllLevels, c.flag);
    addType("*");
    EXPECT_EQ(collectedSorted(), c.expected) << c.name;
}

const QStringList everyFile{"_BACKUP_/b.txt", "_BACKUP_001/c.txt", "_backup_/d.txt",
                            "a.txt", "sub/~e.txt", "~a.txt"};

INSTANTIATE_TEST_SUITE_P(
    Backups, BackupSkipTest,
    testing::Values(
        BackupCase{"subfolder, -B", BackupToSubfolder, "_BACKUP_", "~", "-B",
                   {"_backup_/d.txt", "a.txt", "sub/~e.txt", "~a.txt"}},
        BackupCase{"subfolder, blanks trimmed", BackupToSubfolder, "  _BACKUP_ ", "~", "-B",
                   {"_backup_/d.txt", "a.txt", "sub/~e.txt", "~a.txt"}},
        BackupCase{"subfolder, +B", BackupToSubfolder, "_BACKUP_", "~", "+B", everyFile},
        BackupCase{"subfolder, empty field", BackupToSubfolder, "", "~", "-B", everyFile},
        BackupCase{"rename, -B", BackupRename, "_BACKUP_", "~", "-B",
                   {"_BACKUP_/b.txt", "_BACKUP_001/c.txt", "_backup_/d.txt", "a.txt"}},
        BackupCase{"rename, +B", BackupRename, "_BACKUP_", "~", "+B", everyFile},
        BackupCase{"rename, empty prefix", BackupRename, "_BACKUP_", " ", "-B", everyFile},
        BackupCase{"no back-ups", BackupNone, "_BACKUP_", "~", "-B", everyFile}));

TEST_F(CollectorTest, HiddenAndSystemEntriesAreNeverCollected)
{
    touch("a.txt");
    touch(".hidden.txt");
    touch(".svx-a.txt.1234");
    touch(".hiddendir/b.txt");
    touch("sub/.svx-tmp");
    ASSERT_EQ(mkfifo(QFile::encodeName(root() + "/pipe.txt").constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(root() + "/missing.txt", root() + "/dangling.txt"));
    QTemporaryDir elsewhere;
    TestFiles::write(elsewhere.filePath("target.txt"), "x");
    ASSERT_TRUE(QFile::link(elsewhere.filePath("target.txt"), root() + "/link.txt"));
    addFolder(root());
    addType("*");
    // A link that leads outside every job folder is left alone too.
    EXPECT_EQ(collectedSorted(), (QStringList{"a.txt"}));
}

TEST_F(CollectorTest, SymbolicLinkLoopsAreNotEntered)
{
    touch("sub/a.txt");
    ASSERT_TRUE(QFile::link(root(), root() + "/sub/up"));
    ASSERT_TRUE(QFile::link(root() + "/sub", root() + "/sub/self"));
    addFolder(root());
    addType("*");
    EXPECT_EQ(collected(), (QStringList{"sub/a.txt"}));
}

TEST_F(CollectorTest, ExcludeRemovesAFileWhateverCodingFoundIt)
{
    touch("a.txt");
    touch("b.txt");
    touch("c.ini");
    addFolder(root());
    addType("*.txt", "UTF-8");
    addType("*.ini", "ANSI");
    exclude("B.*");
    exclude("nothing.here");
    exclude("c.ini");
    ASSERT_EQ(collected(), (QStringList{"a.txt"}));
    EXPECT_EQ(files->cell(1, FileListCoding), "UTF-8");
}

TEST_F(CollectorTest, AFileFoundTwiceIsListedOnceWithTheFirstCoding)
{
    touch("a.txt");
    touch("sub/b.txt");
    addFolder(root());
    addFolder(root() + "/sub");
    addType("*.txt", "Unicode");
    addType("*", "");
    ASSERT_EQ(collected(), (QStringList{"a.txt", "sub/b.txt"}));
    EXPECT_EQ(files->cell(1, FileListCoding), "Unicode");
    EXPECT_EQ(files->cell(2, FileListCoding), "Unicode");
}

// Each file is listed once however many names reach it, under the first name
// found, and its identity is kept for the run.
TEST_F(CollectorTest, AFileUnderSeveralNamesIsListedOnceUnderTheFirstName)
{
    touch("data/a.txt");
    ASSERT_TRUE(QFile::link(root() + "/data/a.txt", root() + "/data/symbolic.txt"));
    ASSERT_EQ(::link(QFile::encodeName(root() + "/data/a.txt").constData(),
                     QFile::encodeName(root() + "/data/hard.txt").constData()),
              0);
    ASSERT_TRUE(QFile::link(root() + "/data", root() + "/linked"));
    addFolder(root() + "/linked");
    addFolder(root() + "/data");
    addType("a.txt");
    addType("*");
    ASSERT_EQ(collected(), (QStringList{"linked/a.txt"}));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(root() + "/data/a.txt").constData(), &info), 0);
    const CollectedIdentity expected{info.st_dev, info.st_ino, false};
    EXPECT_EQ(state.CollectedFiles.value(root() + "/linked/a.txt"), expected);
    EXPECT_EQ(state.CollectedFiles.size(), 1);
}

TEST_F(CollectorTest, FileNameWithATabKeepsItsWholePath)
{
    // "notes" must not be taken for the first part of "notes\t.txt".
    touch("notes\t.txt");
    touch("notes");
    touch("sub\tdir/a.txt");
    addFolder(root());
    addType("*.txt", "ANSI");
    ASSERT_EQ(collected(), (QStringList{"notes\t.txt", "sub\tdir/a.txt"}));
    EXPECT_EQ(files->row(1), (PathTable::Row{root() + "/notes\t.txt",
                                             lastWriteText(QFileInfo(root() + "/notes\t.txt")
                                                               .lastModified()),
                                             "ANSI"}));
    exclude("*");
    EXPECT_TRUE(collected().isEmpty());
}

TEST_F(CollectorTest, SortsByPathWithoutRegardToCase)
{
    for (const char *f : {"b.txt", "C.txt", "A.txt", "sub/z.txt", "Sub2/a.txt"})
        touch(f);
    addFolder(root());
    addType("*.TXT");
    EXPECT_EQ(collected(),
              (QStringList{"A.txt", "b.txt", "C.txt", "sub/z.txt", "Sub2/a.txt"}));
}

TEST_F(CollectorTest, EntriesThatFindNothingContributeNothing)
{
    touch("a.txt");
    addFolder(root() + "/does-not-exist");
    addFolder("");
    addFolder(root() + "/a.txt");
    addFolder(root());
    addType("*");
    EXPECT_EQ(collected(), (QStringList{"a.txt"}));
}

TEST_F(CollectorTest, FolderEntriesAreWindows1252AndMayBeRelative)
{
    touch("caf\u00e9/a.txt");
    touch("rel/b.txt");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root()));
    addFolder("caf\u00e9/../caf\u00e9");
    addFolder("./rel/");
    addType("*");
    const QStringList found = collectedSorted();
    EXPECT_EQ(QDir::currentPath(), QDir(root()).canonicalPath());
    QDir::setCurrent(before);
    EXPECT_EQ(found, (QStringList{"caf\u00e9/a.txt", "rel/b.txt"}));
    EXPECT_TRUE(files->cell(1, FileListPath).startsWith(root() + '/'));
}

TEST_F(CollectorTest, ListsDateTimeAndCodingPerFile)
{
    touch("a.txt");
    const QDateTime stamp(QDate(2021, 3, 4), QTime(5, 6, 7));
    QFile file(root() + "/a.txt");
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    file.close();
    addFolder(root());
    addType("*", "UTF-8");
    ASSERT_EQ(collected().size(), 1);
    EXPECT_EQ(files->row(1), (PathTable::Row{root() + "/a.txt", lastWriteText(stamp), "UTF-8"}));
}

TEST(LastWriteText, ShortDateAndLongTimeWithMidnightLeftOut)
{
    const QLocale locale = QLocale::system();
    const QDate date(2020, 12, 31);
    const QString shortDate = locale.toString(date, QLocale::ShortFormat);
    const QDateTime afternoon(date, QTime(13, 45, 30));
    EXPECT_EQ(lastWriteText(afternoon),
              shortDate + ' ' + locale.toString(afternoon, locale.timeFormat(QLocale::LongFormat)));
    EXPECT_EQ(lastWriteText(QDateTime(date, QTime(0, 0, 0))), shortDate);
    EXPECT_NE(lastWriteText(QDateTime(date, QTime(0, 0, 1))), shortDate);
    // A time given in UTC shows in local time, in winter and in summer.
    for (const QDateTime &utc : {QDateTime(date, QTime(12, 0), Qt::UTC),
                                 QDateTime(QDate(2021, 7, 1), QTime(12, 0), Qt::UTC)}) {
        const QDateTime local = utc.toLocalTime();
        EXPECT_EQ(lastWriteText(utc),
                  locale.toString(local.date(), QLocale::ShortFormat) + ' '
                      + locale.toString(local, locale.timeFormat(QLocale::LongFormat)));
    }
}

struct ValidationCase {
    bool withFolder;
    bool withType;
    bool unattended;
    JobPage page;
    QString message;
};

void PrintTo(const ValidationCase &c, std::ostream *out)
{
    *out << (c.withFolder ? "folder" : "no folder") << ", " << (c.withType ? "type" : "no type")
         << (c.unattended ? ", unattended" : "");
}

class ValidationTest : public CollectorTest,
                       public testing::WithParamInterface<ValidationCase> {};

TEST_P(ValidationTest, ReportsTheMissingListAndCollectsNothing)
{
    const ValidationCase &c = GetParam();
    touch("a.txt");
    if (c.withFolder)
        addFolder(root());
    if (c.withType)
        addType("*");
    state.unattended = c.unattended;
    files->AppendRow({"stale", "", ""});
    EXPECT_FALSE(CollectFiles(true, *files, run));
    EXPECT_EQ(host.pages, QList<JobPage>{c.page});
    EXPECT_EQ(host.messages, c.unattended ? QList<QString>() : QList<QString>{c.message});
    EXPECT_EQ(host.exitCode, c.unattended ? 1 : 0);
    EXPECT_TRUE(files->isEmpty());
    EXPECT_TRUE(host.statuses.isEmpty());
    EXPECT_EQ(host.fileListShown, 0);
}

const QString noFolder = "No search folder specified. It is necessary to specify at least one "
                         "folder in which the files will be looked for.";
const QString noType = "No files specified. It is necessary to specify at least one file type "
                       "to find & replace strings in.";

INSTANTIATE_TEST_SUITE_P(
    Validation, ValidationTest,
    testing::Values(ValidationCase{false, false, false, JobPage::Folders, noFolder},
                    ValidationCase{false, true, true, JobPage::Folders, noFolder},
                    ValidationCase{true, false, false, JobPage::Files, noType},
                    ValidationCase{true, false, true, JobPage::Files, noType}));

TEST_F(CollectorTest, NothingFoundShowsTheStickyMessage)
{
    touch("a.txt");
    addFolder(root());
    addType("*.doc");
    EXPECT_FALSE(CollectFiles(true, *files, run));
    EXPECT_EQ(host.stickyMessages, QList<QString>{"No files found."});
    EXPECT_EQ(host.statuses, (QList<QString>{"Searching for files...", ""}));
    EXPECT_EQ(host.fileListShown, 0);
    EXPECT_TRUE(host.wizardStages.isEmpty());
}

TEST_F(CollectorTest, TheFileListDecidesWhetherTheRunGoesOn)
{
    touch("a.txt");
    addFolder(root());
    addType("*");
    host.fileListContinues = false;
    EXPECT_FALSE(CollectFiles(true, *files, run));
    EXPECT_EQ(host.fileListShown, 1);
    host.fileListContinues = true;
    EXPECT_TRUE(CollectFiles(true, *files, run));
    EXPECT_TRUE(CollectFiles(false, *files, run));
    EXPECT_EQ(host.fileListShown, 2);
    EXPECT_EQ(host.wizardStages, (QList<int>{8, 8, 8}));
    EXPECT_EQ(host.pumps, 3);
    EXPECT_EQ(host.statuses.last(), "");
    EXPECT_EQ(files->DataRowCount(), 1);
}

TEST(FileListLines, TabFieldAndFillGridSplitAtTabs)
{
    EXPECT_EQ(TabField("a\tb\tc", 0), "a");
    EXPECT_EQ(TabField("a\tb\tc", 2), "c");
    EXPECT_EQ(TabField("a\tb", 2), "");
    EXPECT_EQ(TabField("a\t\tc", 1), "");
    PathTable *grid = newFileListTable();
    grid->AppendRow({"old", "", ""});
    grid->AppendRow({"older", "", ""});
    FillGridFromList({"/x/a\tdate\tANSI", "/x/b\tdate"}, *grid);
    EXPECT_EQ(grid->rowTotal(), 2);
    EXPECT_EQ(grid->row(1), (PathTable::Row{"/x/a", "date", "ANSI"}));
    EXPECT_EQ(grid->row(2), (PathTable::Row{"/x/b", "date", ""}));
    EXPECT_EQ(grid->headers(), (QList<QString>{"File name", "Date/time", "Coding"}));
    delete grid;
}

} // namespace
