#include "services/ProgramInfo.h"
#include "ui/support/ModalDriver.h"
#include "widgets/AboutBox.h"
#include "widgets/ChmFile.h"
#include "widgets/HelpBrowser.h"
#include "widgets/HelpFile.h"
#include "widgets/HelpWindow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

HelpWindow *shownHelpWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<HelpWindow *>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

// Places the built help file as <folder>/<relativePath>.
void placeHelpFile(const QString &folder, const QString &relativePath)
{
    const QString target = folder + "/" + relativePath;
    ASSERT_TRUE(QDir().mkpath(QFileInfo(target).path()));
    ASSERT_TRUE(QFile::copy(SARVONEX_HELP_FILE, target));
}

TEST(FindHelpFile, LooksInTheProgramFolderThenHelpThenTheSharedFolder)
{
    const struct {
        QStringList present;
        QString expected;
    } cases[] = {
        {{"bin/prog.chm", "bin/Help/prog.chm"}, "bin/prog.chm"},
        {{"bin/Help/prog.chm", "share/sarvonex/prog.chm"}, "bin/Help/prog.chm"},
        {{"share/sarvonex/prog.chm"}, "share/sarvonex/prog.chm"},
        {{"bin/other.chm", "bin/help/prog.chm"}, ""},
    };
    for (const auto &c : cases) {
        QTemporaryDir root;
        for (const QString &file : c.present) {
            QDir().mkpath(QFileInfo(root.filePath(file)).path());
            QFile(root.filePath(file)).open(QIODevice::WriteOnly);
        }
        const QString expected = c.expected.isEmpty() ? "" : root.filePath(c.expected);
        EXPECT_EQ(FindHelpFile(root.filePath("bin/"), "prog"), expected) << c.present.join(", ").toStdString();
    }
}

TEST(OpenHelpTopic, MissingOrDamagedFileIsReportedByName)
{
    const struct {
        QByteArray content; // empty: no help file at all
        QString message;
    } cases[] = {
        {"", "File \"prog.chm\" not found. "},
        {"not a help file", "File \"prog.chm\" cannot be read. "},
    };
    for (const auto &c : cases) {
        QTemporaryDir folder;
        if (!c.content.isEmpty()) {
            QFile file(folder.filePath("prog.chm"));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.content);
        }
        ModalDriver driver;
        driver.answer(QMessageBox::Ok);
        OpenHelpTopic(nullptr, "Options.htm", folder.path() + "/", "prog");
        ASSERT_TRUE(driver.done());
        EXPECT_EQ(driver.messages(), QStringList{c.message});
        EXPECT_EQ(shownHelpWindow(), nullptr);
    }
}

TEST(OpenHelpTopic, OpensTopicsFromTheHelpSubfolderAndFollowsLinks)
{
    QTemporaryDir folder;
    placeHelpFile(folder.path(), "Help/prog.chm");

    OpenHelpTopic(nullptr, "", folder.path() + "/", "prog");
    HelpWindow *window = shownHelpWindow();
    ASSERT_NE(window, nullptr);
    HelpBrowser *browser = window->browser();
    EXPECT_EQ(window->windowTitle(), "Sarvonex Help");
    EXPECT_EQ(browser->documentTitle(), "Sarvonex"); // the start page

    for (const QString page : {"Folders", "Files", "Strings", "Options"}) {
        OpenHelpTopic(nullptr, page + ".htm", folder.path() + "/", "prog");
        EXPECT_EQ(shownHelpWindow(), window) << "one window is reused";
        EXPECT_EQ(browser->documentTitle(), page);
    }

    // The first link of the Options page leads to the Folders page, as a
    // reader following it with the keyboard would.
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_Tab);
    ASSERT_TRUE(browser->textCursor().hasSelection());
    QTest::keyClick(browser, Qt::Key_Return);
    EXPECT_EQ(browser->documentTitle(), "Folders");
    delete window; // the next test opens its own, over its own owner
}

TEST(OpenHelpTopic, TheWindowOpensOverItsOwnerGoesBackAndForwardAndEscapeClosesIt)
{
    QTemporaryDir folder;
    placeHelpFile(folder.path(), "prog.chm");
    QWidget owner;
    owner.setGeometry(400, 300, 800, 600);
    owner.show();

    OpenHelpTopic(&owner, "Folders.htm", folder.path() + "/", "prog");
    HelpWindow *window = shownHelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(owner.frameGeometry().contains(window->frameGeometry().center()));
    EXPECT_FALSE(window->backButton()->isEnabled());

    OpenHelpTopic(&owner, "Options.htm", folder.path() + "/", "prog");
    window->backButton()->click();
    EXPECT_EQ(window->browser()->documentTitle(), "Folders");
    window->forwardButton()->click();
    EXPECT_EQ(window->browser()->documentTitle(), "Options");
    EXPECT_FALSE(window->forwardButton()->isEnabled());

    QTest::keyClick(window->browser(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST(ChmFile, ReadsTopicsAndTheStartPage)
{
    ChmFile help(SARVONEX_HELP_FILE);
    ASSERT_TRUE(help.isOpen());
    EXPECT_EQ(help.defaultTopic(), "index.htm");
    ASSERT_TRUE(help.read("Strings.htm").has_value());
    EXPECT_TRUE(help.read("/Strings.htm")->contains("<title>Strings</title>"));
    EXPECT_FALSE(help.read("Missing.htm").has_value());
    EXPECT_FALSE(ChmFile("/nonexistent/prog.chm").isOpen());
}

TEST(AboutBox, ShowsTitleAndVersion)
{
    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    ShowAboutBox(nullptr);
    ASSERT_EQ(driver.messages().size(), 1);
    EXPECT_TRUE(driver.messages()[0].startsWith("Sarvonex\nver. " + ProgramVersion().toString()));
}

} // namespace
