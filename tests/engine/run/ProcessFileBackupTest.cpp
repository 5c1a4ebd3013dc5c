#include "engine/run/FileCollector.h"
#include "engine/text/CodePage.h"
#include "settings/JobEntries.h"
#include "support/ProcessFileFixture.h"

namespace {

class ProcessFileBackup : public ProcessFileFixture
{
};

TEST_F(ProcessFileBackup, FilesOfOneFolderShareABackupFolderAndTheNextRunNumbersIt)
{
    const QString a = makeFile("a.txt", "old a");
    const QString b = makeFile("b.txt", "old b");
    process(a);
    process(b);
    EXPECT_EQ(TestFiles::read(dir.filePath("_BACKUP_/a.txt")), "old a");
    EXPECT_EQ(TestFiles::read(dir.filePath("_BACKUP_/b.txt")), "old b");
    EXPECT_EQ(state.BackUpFolders, QStringList{dir.filePath("_BACKUP_")});

    startNextRun();
    job.stringPairs().setRow(1, {"new", "newer", ""});
    process(a);
    process(b);
    EXPECT_EQ(TestFiles::read(dir.filePath("_BACKUP_001/a.txt")), "new a");
    EXPECT_EQ(TestFiles::read(dir.filePath("_BACKUP_001/b.txt")), "new b");
    EXPECT_EQ(TestFiles::read(dir.filePath("_BACKUP_/a.txt")), "old a");
    EXPECT_EQ(TestFiles::read(a), "newer a");
    EXPECT_TRUE(host.questions.isEmpty());
}

TEST_F(ProcessFileBackup, SubfolderNameIsTrimmedAndAnInvalidOneFallsBackToTheDefault)
{
    const struct {
        QByteArray setting;
        const char *folder;
    } cases[] = {
        {"  Saved  ", "Saved"}, {"back\\up", "_BACKUP_"}, {".hidden", "_BACKUP_"},
        {"a/b", "_BACKUP_"},    {"   ", "_BACKUP_"},
    };
    for (const auto &c : cases) {
        QTemporaryDir caseDir;
        const QString file = caseDir.filePath("notes.txt");
        TestFiles::write(file, "old");
        changeOptions([&](RunOptions &o) { o.backupFolder = c.setting; });
        startNextRun();
        process(file);
        EXPECT_TRUE(QFile::exists(caseDir.filePath(c.folder) + "/notes.txt")) << c.setting.data();
    }
}

TEST_F(ProcessFileBackup, RenameModeNamesTheCopyWithPrefixSuffixAndCounter)
{
    const struct {
        QByteArray prefix, suffix;
        QStringList existing;
        const char *copy;
    } cases[] = {
        {"~", "", {}, "~notes.txt"},
        {"~", "", {"~notes.txt"}, "~notes.txt001"},
        {"", "", {}, "notes.txt001"},
        {"", " .bak ", {}, "notes.txt.bak"},
        {" old-", ".bak", {"old-notes.txt.bak", "old-notes.txt.bak001"}, "old-notes.txt.bak002"},
    };
    for (const auto &c : cases) {
        QTemporaryDir caseDir;
        const QString file = caseDir.filePath("notes.txt");
        TestFiles::write(file, "old");
        for (const QString &name : c.existing)
            TestFiles::write(caseDir.filePath(name), "earlier back-up");
        changeOptions([&](RunOptions &o) {
            o.backupMode = BackupRename;
            o.backupPrefix = c.prefix;
            o.backupSuffix = c.suffix;
        });
        process(file);
        EXPECT_EQ(TestFiles::read(caseDir.filePath(c.copy)), "old") << c.copy;
        for (const QString &name : c.existing)
            EXPECT_EQ(TestFiles::read(caseDir.filePath(name)), "earlier back-up") << c.copy;
        EXPECT_EQ(TestFiles::read(file), "new");
    }
}

TEST_F(ProcessFileBackup, NoBackupModeMakesNoCopy)
{
    changeOptions([](RunOptions &o) { o.backupMode = BackupNone; });
    const QString file = makeFile("notes.txt", "old");
    process(file);
    EXPECT_EQ(TestFiles::read(file), "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"notes.txt"});
}

TEST_F(ProcessFileBackup, FailedBackupAsksAndAppliesTheAnswer)
{
    const struct {
        ContinueAnswer answer;
        bool written, askAgain, breaks;
    } cases[] = {
        {ContinueAnswer::Yes, true, true, false},
        {ContinueAnswer::All, true, false, false},
        {ContinueAnswer::No, false, true, false},
        {ContinueAnswer::Cancel, false, true, true},
    };
    for (const auto &c : cases) {
        QTemporaryDir caseDir;
        const QString file = caseDir.filePath("notes.txt");
        TestFiles::write(file, "old");
        // A plain file where the back-up folder should go: the copy fails.
        TestFiles::write(caseDir.filePath("_BACKUP_"), "");
        startNextRun();
        host.questions.clear();
        host.captions.clear();
        host.continueAnswers = {c.answer};
        process(file);

        const QString folder = caseDir.filePath("_BACKUP_");
        ASSERT_EQ(host.questions.size(), 1);
        EXPECT_EQ(host.questions[0],
                  "Back-up failed!\n\nFile \"" + file + "\" couln't be copied to folder \"" + folder
                      + "\". If the changes in file are not what expected there will not be an "
                        "easy way to restore the previous state.\n\nDo you want to replace strings "
                        "in this file?");
        EXPECT_EQ(host.captions[0], (std::array<QString, 4>{"Replace in this File",
                                                            "Replace in All Files",
                                                            "Skip this File", "Cancel All"}));
        EXPECT_EQ(TestFiles::read(file), c.written ? "new" : "old");
        EXPECT_EQ(state.AskBackUpFailure, c.askAgain);
        EXPECT_EQ(state.breakRequested(), c.breaks);
        EXPECT_EQ(statisticsRow(1), (PathTable::Row{file, "1", "1"}));
    }
}

TEST_F(ProcessFileBackup, CopyNeverOverwritesAFileInTheChosenFolder)
{
    const QString file = makeFile("notes.txt", "old");
    TestFiles::write(dir.filePath("_BACKUP_/notes.txt"), "precious");
    state.BackUpFolders = {dir.filePath("_BACKUP_")};
    host.defaultContinue = ContinueAnswer::No;
    process(file);
    EXPECT_EQ(host.questions.size(), 1);
    EXPECT_EQ(TestFiles::read(dir.filePath("_BACKUP_/notes.txt")), "precious");
    EXPECT_EQ(TestFiles::read(file), "old");
}

TEST_F(ProcessFileBackup, FailedBackupAfterReplaceInAllFilesGoesOnSilently)
{
    state.AskBackUpFailure = false;
    const QString file = makeFile("notes.txt", "old");
    TestFiles::write(dir.filePath("_BACKUP_"), "");
    process(file);
    EXPECT_EQ(TestFiles::read(file), "new");
    EXPECT_TRUE(host.questions.isEmpty());
}

TEST_F(ProcessFileBackup, RenameModeSkipsNamesTakenByFoldersAndDanglingLinks)
{
    changeOptions([](RunOptions &o) { o.backupMode = BackupRename; });
    const QString file = makeFile("notes.txt", "old");
    ASSERT_TRUE(QDir(dir.path()).mkdir("~notes.txt"));
    ASSERT_TRUE(QFile::link(dir.filePath("missing"), dir.filePath("~notes.txt001")));
    process(file);
    EXPECT_EQ(TestFiles::read(dir.filePath("~notes.txt002")), "old");
    EXPECT_TRUE(host.questions.isEmpty());
}

TEST_F(ProcessFileBackup, TheNextCollectionSkipsTheBackupItMade)
{
    const struct {
        const char *what;
        int mode;
        QByteArray folder, prefix;
    } cases[] = {
        {"subfolder", BackupToSubfolder, " Saved ", "~"},
        {"subfolder, no-break space", BackupToSubfolder, "Saved\xA0", "~"},
        {"rename", BackupRename, "_BACKUP_", " ~ "},
        {"rename, no-break space", BackupRename, "_BACKUP_", "\xA0~"},
    };
    for (const auto &c : cases) {
        QTemporaryDir caseDir;
        const QString file = caseDir.filePath("notes.txt");
        TestFiles::write(file, "old");
        changeOptions([&](RunOptions &o) {
            o.backupMode = c.mode;
            o.backupFolder = CodePage::toQString(c.folder);
            o.backupPrefix = CodePage::toQString(c.prefix);
        });
        startNextRun();
        process(file);
        ASSERT_EQ(QDir(caseDir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2)
            << c.what;

        // The folder and file-type lists are the collection's alone.
        job.folders().ClearGrid();
        job.folders().AppendRow({caseDir.path(), DepthAllLevels, "-B"});
        job.fileTypes().ClearGrid();
        job.fileTypes().AppendRow({"*", "", ""});
        std::unique_ptr<PathTable> files(newFileListTable());
        ASSERT_TRUE(CollectFiles(false, *files, run)) << c.what;
        EXPECT_EQ(files->DataRowCount(), 1) << c.what;
        EXPECT_EQ(files->cell(1, FileListPath), file) << c.what;
    }
}

} // namespace
