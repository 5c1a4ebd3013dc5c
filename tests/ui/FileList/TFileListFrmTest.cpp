#include "engine/run/FileCollector.h"
#include "ui/FileList/TFileListFrm.h"
#include "ui/support/ModalDriver.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<PathTable> threeFiles()
{
    std::unique_ptr<PathTable> files(newFileListTable());
    for (const char *path : {"/data/a.txt", "/data/b.txt", "/data/c.txt"})
        files->AppendRow({path, "01/02/2024 10:00:00", ""});
    return files;
}

TEST(FileList, RemovingEveryRowLeavesOneEmptyRowAndContinueStillWorks)
{
    std::unique_ptr<PathTable> files = threeFiles();
    TFileListFrm dlg;
    ModalDriver driver;
    driver.then([&files](QWidget *window) {
        auto &shown = *dynamic_cast<TFileListFrm *>(window);
        EXPECT_EQ(shown.windowTitle(), QStringLiteral("Files found: 3"));
        shown.FileListGrd->selectRow(1);
        shown.RemoveBtn->click();
        EXPECT_EQ(shown.windowTitle(), QStringLiteral("Files found: 2"));
        EXPECT_EQ(files->cell(2, FileListPath), QStringLiteral("/data/c.txt"));
        for (int i = 0; i < 3; ++i)
            shown.RemoveBtn->click();
        EXPECT_EQ(shown.windowTitle(), QStringLiteral("Files found: 0"));
        EXPECT_TRUE(shown.OkBtn->isEnabled());
        shown.OkBtn->click();
    });
    EXPECT_TRUE(dlg.ShowFileList(*files));
    EXPECT_EQ(files->DataRowCount(), 0);
    EXPECT_EQ(files->rowTotal(), 1);
}

// Ticking the box switches the list off at once, even when the run is then
// cancelled; the box opens unticked the next time.
TEST(FileList, TheDontShowBoxChangesTheOptionAtOnceAndOpensUnticked)
{
    std::unique_ptr<PathTable> files = threeFiles();
    TFileListFrm dlg;
    QSignalSpy changes(&dlg, &TFileListFrm::showFileListChanged);
    ModalDriver driver;
    for (int showing = 0; showing < 2; ++showing) {
        driver.then([&](QWidget *window) {
            auto &shown = *dynamic_cast<TFileListFrm *>(window);
            EXPECT_FALSE(shown.DontShowThisAgainChk->isChecked());
            shown.DontShowThisAgainChk->click();
            ASSERT_EQ(changes.size(), 1);
            EXPECT_EQ(changes.takeFirst().at(0).toBool(), false);
            shown.CancelBtn->click();
        });
        EXPECT_FALSE(dlg.ShowFileList(*files));
    }
}

} // namespace
