#include "ui/MainWindow/MainWindowFixture.h"

#include "settings/SettingsFile.h"
#include "ui/MainWindow/TFileHistory.h"

#include <QDir>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <tuple>

namespace {

class MainWindowDocumentTest : public MainWindowTest
{
protected:
    // A job file holding one folder entry.
    QString jobFile(const QString &name, const QByteArray &folder, const QByteArray &extra = {})
    {
        const QString file = path(name);
        TestFiles::write(file, "[Sarvonex]\r\nVersion=2.2\r\n[Directories]\r\nGridWidth=3\r\n"
                               "GridHeight=1\r\nValue1="
                                   + folder + "\r\nValue2=None\r\nValue3=-B\r\n" + extra);
        return file;
    }
    QString firstFolder() { return window->job().folders().cell(1, 0); }
    void makeModified()
    {
        window->job().folders().AppendRow({"/edited", "None", "-B"});
        window->SetModified(true);
    }
    QStringList historyCaptions()
    {
        QStringList captions;
        for (QAction *a : window->FileMnu->actions()) {
            if (a->objectName().startsWith("HistItem"))
                captions << (a->isSeparator() ? "-" : a->text());
        }
        return captions;
    }
};

TEST_F(MainWindowDocumentTest, CaptionShowsTheModifiedMarkAndTheFileName)
{
    // The title the window system shows (the task bar's), not the text Qt
    // was given: Qt takes "[*]" there for a placeholder of its own.
    window->winId();
    const auto shownTitle = [this] { return window->windowHandle()->title(); };
    EXPECT_EQ(shownTitle(), "Sarvonex []");
    window->SetModified(true);
    EXPECT_EQ(shownTitle(), "Sarvonex [*]");
    window->SetModified(false);
    window->OpenSettingsFile(jobFile("jobs.ini", "/a"));
    EXPECT_EQ(shownTitle(), "Sarvonex [jobs.ini]");
    window->SetModified(true);
    EXPECT_EQ(shownTitle(), "Sarvonex [*jobs.ini]");
    window->SetModified(false);
    window->OpenSettingsFile(jobFile("[*].ini", "/a"));
    EXPECT_EQ(shownTitle(), "Sarvonex [[*].ini]");
}

TEST_F(MainWindowDocumentTest, MenusOpenFromTheKeyboardAndEachItemHasItsOwnLetter)
{
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, QMenu *> keys[] = {
        {Qt::Key_F, Qt::AltModifier, window->FileMnu},
        {Qt::Key_A, Qt::AltModifier, window->ActionMnu},
        {Qt::Key_H, Qt::AltModifier, window->HelpMnu},
        {Qt::Key_F10, Qt::NoModifier, window->FileMnu},
    };
    for (const auto &[key, modifiers, menu] : keys) {
        SCOPED_TRACE(qPrintable(menu->title()));
        QTest::keyClick(window.get(), key, modifiers);
        EXPECT_TRUE(menu->isVisible());
        menu->hide();
    }
    for (QMenu *menu : {window->FileMnu, window->NewMnu, window->ActionMnu, window->HelpMnu}) {
        QList<QKeySequence> letters;
        for (QAction *item : menu->actions()) {
            if (item->isSeparator() || item->objectName().startsWith("HistItem"))
                continue;
            const QKeySequence letter = QKeySequence::mnemonic(item->text());
            EXPECT_FALSE(letter.isEmpty()) << qPrintable(item->text());
            EXPECT_FALSE(letters.contains(letter)) << qPrintable(item->text());
            letters.append(letter);
        }
    }
}

TEST_F(MainWindowDocumentTest, ClickingTheChosenReadOnlyItemAgainChangesNothing)
{
    const QList<QRadioButton *> items = {window->ReadOnlyFilesRdo0, window->ReadOnlyFilesRdo1,
                                         window->ReadOnlyFilesRdo2};
    QRadioButton *chosen = *std::find_if(items.begin(), items.end(),
                                         [](QRadioButton *item) { return item->isChecked(); });
    chosen->click();
    EXPECT_FALSE(window->Modified);
    items[(items.indexOf(chosen) + 1) % 3]->click();
    EXPECT_TRUE(window->Modified);
}

TEST_F(MainWindowDocumentTest, OnABigWindowTheMiscellaneousGroupKeepsItsHeight)
{
    window->show();
    window->PageControl1->setCurrentIndex(3);
    window->resize(1400, 1000);
    window->layout()->activate();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->MiscellaneousGrp->height(), window->MiscellaneousGrp->sizeHint().height());
}

TEST_F(MainWindowDocumentTest, NewOnAModifiedJobAsksAndEachAnswerDoesItsOwnThing)
{
    makeModified();
    driver.answer(QMessageBox::Cancel);
    window->NewBtn->trigger();
    EXPECT_EQ(firstFolder(), "/edited");

    driver.answer(QMessageBox::Yes);
    chooseFile(""); // Save As cancelled: nothing is lost
    window->NewBtn->trigger();
    EXPECT_EQ(firstFolder(), "/edited");
    EXPECT_TRUE(window->Modified);

    driver.answer(QMessageBox::No);
    window->NewBtn->trigger();
    EXPECT_EQ(window->job().folders().DataRowCount(), 0);
    EXPECT_FALSE(window->Modified);
    EXPECT_EQ(driver.messages().size(), 3);
    EXPECT_TRUE(driver.messages()[0].startsWith("The settings were modified"));
    EXPECT_TRUE(driver.done());
}

TEST_F(MainWindowDocumentTest, OpeningAnotherFileWithYesSavesTheJobIntoItsOwnFileFirst)
{
    const QString a = jobFile("a.ini", "/from-a");
    const QString b = jobFile("b.ini", "/from-b");
    window->OpenSettingsFile(a);
    makeModified();
    chooseFile(b);
    driver.answer(QMessageBox::Yes);
    window->OpenMnu->trigger();
    EXPECT_EQ(window->SettingsFileName, b);
    EXPECT_EQ(firstFolder(), "/from-b");
    EXPECT_TRUE(TestFiles::read(a).contains("/edited"));
    EXPECT_TRUE(driver.done());
}

TEST_F(MainWindowDocumentTest, ARefusedVersionKeepsTheJobAndItsFile)
{
    window->OpenSettingsFile(jobFile("a.ini", "/from-a"));
    const QString newer = path("newer.ini");
    TestFiles::write(newer, "[Sarvonex]\r\nVersion=9.0\r\n");
    driver.answer(QMessageBox::Ok);
    window->OpenSettingsFile(newer);
    EXPECT_EQ(window->windowTitle(), "Sarvonex [a.ini]");
    EXPECT_EQ(firstFolder(), "/from-a");
    EXPECT_EQ(window->recentFiles().paths().size(), 1);
}

TEST_F(MainWindowDocumentTest, SaveAsOntoAnExistingFileAsksAndNoChangesNothing)
{
    const QString existing = jobFile("x.ini", "/x");
    makeModified();
    chooseFile(existing);
    driver.answer(QMessageBox::No);
    window->SaveAsMnu->trigger();
    EXPECT_EQ(driver.messages().value(0), "File \"" + existing + "\" already exits.\n\nDo you want to overwrite it?");
    EXPECT_TRUE(window->SettingsFileName.isEmpty());
    EXPECT_TRUE(window->Modified);

    chooseFile(existing);
    driver.answer(QMessageBox::Yes);
    window->SaveMnu->trigger(); // without a file, Save is Save As
    EXPECT_EQ(window->SettingsFileName, existing);
    EXPECT_FALSE(window->Modified);
    EXPECT_TRUE(TestFiles::read(existing).contains("/edited"));
    // Saving does not add to the recent files; only loading does.
    EXPECT_TRUE(window->recentFiles().paths().isEmpty());
}

TEST_F(MainWindowDocumentTest, SaveAsProposesUntitledOnlyForAJobWithoutAFile)
{
    expect<QFileDialog>([](QFileDialog &d) {
        EXPECT_TRUE(d.selectedFiles().value(0).endsWith("/Untitled.ini"));
        d.reject();
    });
    window->SaveAsMnu->trigger();
    window->OpenSettingsFile(jobFile("mine.ini", "/m"));
    expect<QFileDialog>([](QFileDialog &d) {
        EXPECT_TRUE(d.selectedFiles().value(0).endsWith("/mine.ini"));
        d.reject();
    });
    window->SaveAsMnu->trigger();
    EXPECT_TRUE(driver.done());
}

TEST_F(MainWindowDocumentTest, AFailedSaveShowsTheErrorAndKeepsTheModifiedMark)
{
    const QString file = jobFile("a.ini", "/a");
    window->OpenSettingsFile(file);
    makeModified();
    window->SettingsFileName = path("missing-folder/a.ini");
    driver.then([this](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text(), "Unable to write to " + path("missing-folder/a.ini"));
        box->accept();
    });
    window->SaveMnu->trigger();
    EXPECT_TRUE(window->Modified);
    EXPECT_TRUE(driver.done());
}

TEST_F(MainWindowDocumentTest, RecentFilesKeepOnePlacePerFileAndAtMostFive)
{
    QStringList files;
    for (int i = 1; i <= 6; ++i)
        files << jobFile(QString("job%1.ini").arg(i), "/j");
    window->OpenSettingsFile(files[0]);
    window->OpenSettingsFile(files[1]);
    window->OpenSettingsFile(files[0]);
    EXPECT_EQ(window->recentFiles().paths(), (QStringList{files[1], files[0]}));
    // Names differing only in case are different files here.
    const QString upper = jobFile("JOB1.ini", "/j");
    window->OpenSettingsFile(upper);
    EXPECT_EQ(window->recentFiles().paths().first(), upper);

    for (int i = 2; i < 6; ++i)
        window->OpenSettingsFile(files[i]);
    EXPECT_EQ(window->recentFiles().paths().size(), 5);
    EXPECT_FALSE(window->recentFiles().paths().contains(files[1]));
    const QStringList captions = historyCaptions();
    EXPECT_EQ(captions.size(), 6);
    EXPECT_EQ(captions.first(), "-");
}

TEST_F(MainWindowDocumentTest, AShortenedRecentEntryOpensItsFullPath)
{
    const QString deep = path("a-rather-long-folder-name/and-another-one/inside/settings.ini");
    QDir().mkpath(QFileInfo(deep).path());
    TestFiles::write(deep, "[Sarvonex]\r\nVersion=2.2\r\n[Directories]\r\nGridWidth=3\r\nGridHeight=1\r\nValue1=/deep\r\n");
    window->OpenSettingsFile(deep);
    window->ClearJob();
    QAction *entry = window->FileMnu->findChild<QAction *>("HistItem1");
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->text().startsWith("/..."));
    entry->trigger();
    EXPECT_EQ(window->SettingsFileName, deep);
    EXPECT_EQ(firstFolder(), "/deep");
}

TEST_F(MainWindowDocumentTest, LoadingOptionsThatWouldWarnWarnsNothingButClickingThemDoes)
{
    window->OpenSettingsFile(jobFile("w.ini", "/w", "[Options]\r\nBinaryFiles=2\r\nBackup=1\r\n"));
    EXPECT_TRUE(window->BinaryFilesRdo2->isChecked());
    EXPECT_TRUE(window->BackUp1Rdo->isChecked());
    EXPECT_FALSE(window->BackFolderEdt->isEnabled());
    EXPECT_FALSE(window->Modified);

    driver.answer(QMessageBox::Ok);
    window->BackUp3Rdo->click();
    window->BackUp1Rdo->click();
    EXPECT_TRUE(driver.messages().value(0).startsWith("The find & replace process can be complex"));
    driver.answer(QMessageBox::Ok);
    window->BinaryFilesRdo1->click();
    window->BinaryFilesRdo2->click();
    EXPECT_TRUE(driver.messages().value(1).startsWith("The application can replace strings also in binary"));
    EXPECT_EQ(window->job().options().binaryFiles, 2);
    EXPECT_TRUE(window->Modified);
    EXPECT_TRUE(driver.done());
}

TEST_F(MainWindowDocumentTest, BackUpFieldsFollowTheBackUpMode)
{
    window->BackUp3Rdo->click();
    EXPECT_FALSE(window->BackFolderEdt->isEnabled());
    EXPECT_TRUE(window->BackPrefixEdt->isEnabled());
    EXPECT_TRUE(window->BackSuffixLbl->isEnabled());
    EXPECT_EQ(window->job().options().backupMode, BackupRename);
    window->BackUp2Rdo->click();
    EXPECT_TRUE(window->BackFolderEdt->isEnabled());
    EXPECT_FALSE(window->BackPrefixEdt->isEnabled());
}

TEST_F(MainWindowDocumentTest, NewKeepsTheTwoMiscellaneousOptionsAndResetsTheRest)
{
    window->PreferEquidistantFontChk->click();
    window->PromptEachReplaceChk->click();
    QTest::keyClicks(window->BackFolderEdt, "X");
    EXPECT_EQ(window->job().options().backupFolder, "_BACKUP_X");
    driver.answer(QMessageBox::No);
    window->NewMnuClick();
    EXPECT_TRUE(window->PreferEquidistantFontChk->isChecked());
    EXPECT_TRUE(window->PromptEachReplaceChk->isChecked());
    EXPECT_EQ(window->BackFolderEdt->text(), "_BACKUP_");
    EXPECT_FALSE(window->Modified);
}

} // namespace
