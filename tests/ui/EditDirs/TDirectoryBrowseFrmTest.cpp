#include "ui/EditDirs/TDirectoryBrowseFrm.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DirectoryBrowseFrm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(temp.path()).mkpath("folder/inner"));
        ASSERT_TRUE(QDir(temp.path()).mkpath(".hidden"));
    }

    QStringList childNames(const QString &path)
    {
        QAbstractItemModel *model = browser.ShellTreeView->model();
        browser.SetStartFolder(path);
        const QModelIndex node = browser.ShellTreeView->currentIndex();
        model->fetchMore(node); // as the view does when the folder is opened
        QStringList names;
        for (int row = 0; row < model->rowCount(node); ++row)
            names << model->index(row, 0, node).data().toString();
        return names;
    }

    QTemporaryDir temp;
    TDirectoryBrowseFrm browser;
};

TEST_F(DirectoryBrowseFrm, TheTopLevelEntriesAreTheRootAndTheHomeFolder)
{
    QAbstractItemModel *model = browser.ShellTreeView->model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(0, 0).data().toString(), "/");
    EXPECT_EQ(model->index(1, 0).data().toString(), QDir::homePath());
}

TEST_F(DirectoryBrowseFrm, StartFolderIsSelectedTrimmedAndEnablesOk)
{
    const QString folder = temp.filePath("folder/inner");
    browser.SetStartFolder("  " + folder + " ");
    EXPECT_EQ(browser.SelectedPath(), folder);
    EXPECT_TRUE(browser.OkBtn->isEnabled());
}

TEST_F(DirectoryBrowseFrm, AStartFolderTheTreeCannotShowSelectsTheRoot)
{
    for (const QString &path : {temp.filePath("missing"), temp.filePath(".hidden"), QString()}) {
        browser.SetStartFolder(temp.path()); // an earlier selection is not kept
        browser.SetStartFolder(path);
        EXPECT_EQ(browser.SelectedPath(), "/") << qPrintable(path);
    }
}

TEST_F(DirectoryBrowseFrm, TheTreeShowsFoldersOnlyAndNoHiddenOnes)
{
    QFile file(temp.filePath("file.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(childNames(temp.path()), QStringList{"folder"});
}

TEST_F(DirectoryBrowseFrm, OkNeedsASelectedFolderThatStillExists)
{
    const QString inner = temp.filePath("folder/inner");
    browser.SetStartFolder(inner);
    browser.ShellTreeView->clearSelection();
    EXPECT_FALSE(browser.OkBtn->isEnabled());

    ASSERT_TRUE(QDir(inner).removeRecursively());
    browser.ShellTreeView->setCurrentIndex(browser.ShellTreeView->currentIndex());
    browser.show();
    EXPECT_EQ(browser.SelectedPath(), inner);
    EXPECT_FALSE(browser.OkBtn->isEnabled());
    browser.hide();
}

} // namespace
