#include "ui/MainWindow/MainWindowFixture.h"

#include "ui/EditDirs/TEditDirsFrm.h"
#include "ui/EditFileType/TEditFileTypeFrm.h"
#include "ui/EditStrings/TEditStringsFrm.h"
#include "ui/MainWindow/StringOptionsDelegate.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTest>

namespace {

using Row = TextTable::Row;

class MainWindowListsTest : public MainWindowTest
{
protected:
    void addFolder(const QString &folder, int depth)
    {
        expect<TEditDirsFrm>([folder, depth](TEditDirsFrm &d) {
            EXPECT_EQ(d.DirEdt->text(), "");
            EXPECT_EQ(d.LevelsCBx->currentIndex(), 0);
            EXPECT_TRUE(d.IgnoreBackupDirsChk->isChecked());
            d.DirEdt->setText(folder);
            d.LevelsCBx->setCurrentIndex(depth);
            d.OkBtn->click();
        });
        window->AddDirBtn->click();
    }

    void cancelNext()
    {
        driver.then([](QWidget *w) { static_cast<QDialog *>(w)->reject(); });
    }

    TextTable &folders() { return window->job().folders(); }
    TextTable &strings() { return window->job().stringPairs(); }
};

TEST_F(MainWindowListsTest, AddingFoldersFillsRowOneThenAppendsAndMarksTheJobModified)
{
    addFolder(path(""), 2);
    EXPECT_EQ(folders().rowTotal(), 1);
    EXPECT_EQ(folders().row(1), (Row{path("").toUtf8(), "All levels", "-B"}));
    EXPECT_TRUE(window->Modified);

    addFolder(path(""), 0);
    EXPECT_EQ(folders().DataRowCount(), 2);
    EXPECT_EQ(TPKSarvonexFrm::selectedRow(window->DirsGrd), 2);
    EXPECT_TRUE(driver.done());
}

TEST_F(MainWindowListsTest, CancelLeavesTheListAndTheModifiedMark)
{
    cancelNext();
    window->AddDirBtn->click();
    cancelNext();
    window->AddStringsBtn->click();
    EXPECT_EQ(folders().DataRowCount(), 0);
    EXPECT_EQ(strings().DataRowCount(), 0);
    EXPECT_FALSE(window->Modified);
}

TEST_F(MainWindowListsTest, DeleteButtonAndDeleteKeyBothDeleteTheSelectedEntry)
{
    folders().resetRows({{"/a", "None", "-B"}, {"/b", "None", "-B"}});
    window->DirsGrd->selectRow(0);
    QTest::keyClick(window->DirsGrd, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(folders().row(1)[0], "/b");
    EXPECT_TRUE(window->Modified);

    window->SetModified(false);
    window->DeleteDirBtn->click();
    // The only entry is emptied, not removed.
    EXPECT_EQ(folders().rowTotal(), 1);
    EXPECT_EQ(folders().DataRowCount(), 0);
    EXPECT_TRUE(window->Modified);
}

TEST_F(MainWindowListsTest, EditingAFolderReadsItsCellsAndWritesThemBack)
{
    folders().resetRows({{"/data", "bogus depth", "+B"}});
    expect<TEditDirsFrm>([this](TEditDirsFrm &d) {
        EXPECT_EQ(d.DirEdt->text(), "/data");
        EXPECT_EQ(d.LevelsCBx->currentText(), "None");
        EXPECT_FALSE(d.IgnoreBackupDirsChk->isChecked());
        EXPECT_FALSE(d.IgnoreBackupFilesChk->isChecked());
        d.DirEdt->setText(path(""));
        d.LevelsCBx->setCurrentIndex(1);
        d.OkBtn->click();
    });
    window->EditDirBtnClick();
    EXPECT_EQ(folders().row(1), (Row{path("").toUtf8(), "1st level", "+B"}));
    EXPECT_TRUE(window->Modified);
}

TEST_F(MainWindowListsTest, FileTypesIncludedKeepTheirEncodingExcludedOnesAnEmptyCell)
{
    expect<TEditFileTypeFrm>([](TEditFileTypeFrm &d) {
        EXPECT_TRUE(d.FileEncodingRdo->isVisibleTo(&d));
        EXPECT_EQ(d.EncodingName(), "Auto");
        d.FileMaskEdt->setText("*.txt");
        d.SetEncodingName("UTF-8");
        d.FileDescriptionEdt->setText("texts");
        d.OkBtn->click();
    });
    window->AddTypeBtn->click();
    EXPECT_EQ(window->job().fileTypes().row(1), (Row{"*.txt", "UTF-8", "texts"}));

    expect<TEditFileTypeFrm>([](TEditFileTypeFrm &d) {
        EXPECT_FALSE(d.FileEncodingRdo->isVisibleTo(&d));
        d.FileMaskEdt->setText("*.bak");
        d.OkBtn->click();
    });
    window->AddExclFileBtn->click();
    window->job().excludedFileTypes().setCell(1, 1, "left over");
    expect<TEditFileTypeFrm>([](TEditFileTypeFrm &d) {
        EXPECT_EQ(d.FileMaskEdt->text(), "*.bak");
        d.OkBtn->click();
    });
    window->EditExclFileBtn->click();
    EXPECT_EQ(window->job().excludedFileTypes().row(1), (Row{"*.bak", "", ""}));
}

TEST_F(MainWindowListsTest, CopyOfAnEmptyFileTypeDoesNothingCopyOfAPairAppendsIt)
{
    window->CopyTypeBtn->click();
    EXPECT_EQ(window->job().fileTypes().rowTotal(), 1);
    EXPECT_FALSE(window->Modified);

    strings().resetRows({{"a", "b", "(--)[Default]"}});
    window->CopyBtn->click();
    EXPECT_EQ(strings().DataRowCount(), 2);
    EXPECT_EQ(strings().row(2), strings().row(1));
    EXPECT_EQ(TPKSarvonexFrm::selectedRow(window->StringsGrd), 2);
    EXPECT_TRUE(window->Modified);
}

TEST_F(MainWindowListsTest, MovingPairsSwapsNeighboursButNotPastTheEnds)
{
    strings().resetRows({{"1", "", ""}, {"2", "", ""}, {"3", "", ""}});
    const auto order = [this] {
        QString o;
        for (int r = 1; r <= strings().rowTotal(); ++r)
            o += strings().cell(r, 0);
        return o;
    };
    window->StringsGrd->selectRow(0);
    window->MoveUpBtn->click();
    window->StringsGrd->selectRow(2);
    window->MoveDownBtn->click();
    EXPECT_EQ(order(), "123");
    EXPECT_FALSE(window->Modified);

    window->MoveUpBtn->click();
    EXPECT_EQ(order(), "132");
    EXPECT_EQ(TPKSarvonexFrm::selectedRow(window->StringsGrd), 2);
    window->MoveDownBtn->click();
    EXPECT_EQ(order(), "123");
    EXPECT_TRUE(window->Modified);
}

TEST_F(MainWindowListsTest, AStringPairComesBackFromTheDialogInCellForm)
{
    expect<TEditStringsFrm>([](TEditStringsFrm &d) {
        d.setFindText("line one\r\n{TAB}");
        d.setReplaceText("x\ty");
        d.CaseSensitiveChk->setChecked(true);
        d.OkBtn->click();
    });
    window->AddStringsBtn->click();
    EXPECT_EQ(strings().row(1), (Row{"line one{CR}{LF}{{}TAB}", "x{TAB}y", "c(--)[Default]"}));

    expect<TEditStringsFrm>([](TEditStringsFrm &d) {
        EXPECT_EQ(d.findText(), "line one\r\n{TAB}");
        EXPECT_EQ(d.OptionsToText(), "c(--)[Default]");
        d.setReplaceText("z");
        d.OkBtn->click();
    });
    window->EditStringsBtnClick();
    EXPECT_EQ(strings().cell(1, 1), "z");
}

TEST_F(MainWindowListsTest, GridKeysAndADoubleClickAnywhereRunTheGridsCommands)
{
    struct KeyCase {
        const char *name;
        Qt::Key key;
        QString dialogPath; // what the folder dialog opens with (Add: empty)
    };
    const KeyCase cases[] = {
        {"Enter edits", Qt::Key_Return, "/b"},
        {"keypad Enter edits", Qt::Key_Enter, "/b"},
        {"F2 edits", Qt::Key_F2, "/b"},
        {"Insert adds", Qt::Key_Insert, ""},
    };
    folders().resetRows({{"/a", "None", "-B"}, {"/b", "None", "-B"}});
    window->show();
    for (const KeyCase &c : cases) {
        SCOPED_TRACE(c.name);
        window->DirsGrd->selectRow(1);
        expect<TEditDirsFrm>([&c](TEditDirsFrm &d) {
            EXPECT_EQ(d.DirEdt->text(), c.dialogPath);
            d.reject();
        });
        QTest::keyClick(window->DirsGrd, c.key);
        EXPECT_TRUE(driver.done());
    }

    // Below the last entry.
    expect<TEditDirsFrm>([](TEditDirsFrm &d) {
        EXPECT_EQ(d.DirEdt->text(), "/b");
        d.reject();
    });
    QWidget *viewport = window->DirsGrd->viewport();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 5));
    EXPECT_TRUE(driver.done());

    QTest::keyClick(window->DirsGrd, Qt::Key_Delete);
    EXPECT_EQ(folders().DataRowCount(), 1);
}

TEST_F(MainWindowListsTest, TabLeavesEachGridForItsButtons)
{
    const std::pair<QTableView *, QPushButton *> grids[] = {
        {window->DirsGrd, window->AddDirBtn},
        {window->FileTypesGrd, window->AddTypeBtn},
        {window->ExclFileTypesGrd, window->AddExclFileBtn},
        {window->StringsGrd, window->AddStringsBtn},
    };
    folders().resetRows({{"/a", "None", "-B"}, {"/b", "None", "-B"}});
    window->show();
    for (const auto &[grid, button] : grids) {
        SCOPED_TRACE(qPrintable(grid->objectName()));
        window->PageControl1->setCurrentWidget(grid->parentWidget());
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Tab);
        EXPECT_EQ(window->focusWidget(), button);
        QTest::keyClick(button, Qt::Key_Backtab);
        EXPECT_EQ(window->focusWidget(), grid);
    }
}

TEST_F(MainWindowListsTest, EachAddOpensItsDialogInTheFirstField)
{
    const auto twice = [this](QPushButton *add, auto fill) {
        for (int use = 0; use < 2; ++use) {
            driver.then([fill](QWidget *w) {
                auto *dialog = static_cast<QDialog *>(w);
                QPushButton *ok = dialog->findChild<QPushButton *>("OkBtn");
                EXPECT_EQ(dialog->focusWidget(), fill(w));
                // Ok pressed from the keyboard leaves the focus on it.
                ok->setFocus();
                ok->click();
            });
            add->click();
            EXPECT_TRUE(driver.done());
        }
    };
    twice(window->AddDirBtn, [this](QWidget *w) -> QWidget * {
        auto &d = *static_cast<TEditDirsFrm *>(w);
        d.DirEdt->setText(path(""));
        return d.DirEdt;
    });
    twice(window->AddTypeBtn, [](QWidget *w) -> QWidget * {
        auto &d = *static_cast<TEditFileTypeFrm *>(w);
        d.FileMaskEdt->setText("*.txt");
        return d.FileMaskEdt;
    });
    twice(window->AddStringsBtn, [](QWidget *w) -> QWidget * {
        auto &d = *static_cast<TEditStringsFrm *>(w);
        d.FindWhatMmo->setPlainText("x");
        return d.FindWhatMmo;
    });
}

TEST_F(MainWindowListsTest, ADraggedColumnKeepsItsWidthThroughResizesAndPageChanges)
{
    window->show();
    QHeaderView *dirs = window->DirsGrd->horizontalHeader();
    // As designed, or as wide as the heading needs.
    EXPECT_EQ(dirs->sectionSize(2), qMax(64, dirs->sectionSizeHint(2)));
    dirs->resizeSection(2, 150); // as a drag does
    window->resize(window->width() + 100, window->height());
    EXPECT_EQ(dirs->sectionSize(2), 150);
    EXPECT_EQ(dirs->sectionSize(0) + dirs->sectionSize(1) + 150, window->DirsGrd->viewport()->width());

    QHeaderView *types = window->FileTypesGrd->horizontalHeader();
    window->PageControl1->setCurrentIndex(1);
    types->resizeSection(0, 160);
    window->PageControl1->setCurrentIndex(0);
    window->PageControl1->setCurrentIndex(1);
    EXPECT_EQ(types->sectionSize(0), 160);
    EXPECT_EQ(types->sectionSize(0) + types->sectionSize(1) + types->sectionSize(2),
              window->FileTypesGrd->viewport()->width());

    QHeaderView *pairs = window->StringsGrd->horizontalHeader();
    window->PageControl1->setCurrentIndex(2);
    EXPECT_EQ(pairs->sectionSize(2), qMax(121, pairs->sectionSizeHint(2)));
    EXPECT_NEAR(pairs->sectionSize(0), pairs->sectionSize(1), 1);
    pairs->resizeSection(2, 200);
    pairs->resizeSection(0, pairs->sectionSize(1) / 2);
    window->resize(window->width() + 300, window->height());
    EXPECT_EQ(pairs->sectionSize(2), 200);
    EXPECT_NEAR(pairs->sectionSize(0) * 2, pairs->sectionSize(1), 2); // the dragged shares
    EXPECT_EQ(pairs->sectionSize(0) + pairs->sectionSize(1) + 200,
              window->StringsGrd->viewport()->width());
}

TEST_F(MainWindowListsTest, RegularExpressionPairsAreMarkedInTheGrid)
{
    strings().AppendRow({"plain", "", "c(--)[Default]"});
    strings().AppendRow({"get_(\\w+)", "$1", "cr(--)[Default]"});
    auto *delegate =
        dynamic_cast<StringOptionsDelegate *>(window->StringsGrd->itemDelegateForColumn(2));
    ASSERT_NE(delegate, nullptr);
    for (int row : {0, 1}) {
        QStyleOptionViewItem option;
        delegate->initStyleOption(&option, strings().index(row, 2));
        EXPECT_EQ(option.icon.isNull(), row == 0) << row;
    }
}

} // namespace

namespace {

// The grids show what a job file holds in any script: Windows-1252 texts of
// a 2.2 file, a pair in its charset, and a 2.3 file in UTF-8.
TEST_F(MainWindowListsTest, TheGridsShowTextsOfAnyScript)
{
    const auto shown = [](QTableView *grid, int row, int column) {
        return grid->model()->index(row, column).data().toString();
    };
    TestFiles::write(path("ansi.ini"),
                     "[Sarvonex]\r\nVersion=2.2\r\n[Directories]\r\nGridWidth=3\r\nGridHeight=1\r\n"
                     "Value1=/srv/\xDC" "bung\r\nValue2=None\r\nValue3=-B\r\n"
                     "[FileTypes]\r\nGridWidth=3\r\nGridHeight=1\r\n"
                     "Value1=*.txt\r\nValue2=Auto\r\nValue3=caf\xE9\r\n"
                     "[Strings]\r\nGridWidth=3\r\nGridHeight=1\r\n"
                     "Value1=\xEF\xF0\xE8\xE2\xE5\xF2\r\nValue2=\xEF\xEE\xEA\xE0\r\n"
                     "Value3=(--)[Russian]\r\n");
    window->OpenSettingsFile(path("ansi.ini"));
    EXPECT_EQ(shown(window->DirsGrd, 0, 0), QString::fromUtf8("/srv/Übung"));
    EXPECT_EQ(shown(window->FileTypesGrd, 0, 2), QString::fromUtf8("café"));
    EXPECT_EQ(shown(window->StringsGrd, 0, 0), QString::fromUtf8("привет"));

    TestFiles::write(path("unicode.ini"),
                     "[Sarvonex]\r\nVersion=2.3\r\n[Directories]\r\nGridWidth=3\r\nGridHeight=1\r\n"
                     "Value1=/srv/\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82\xD1\x8B\r\n"
                     "Value2=None\r\nValue3=-B\r\n"
                     "[Strings]\r\nGridWidth=3\r\nGridHeight=1\r\n"
                     "Value1=\xE6\x9D\xB1\xE4\xBA\xAC\r\nValue2=Tokyo\r\nValue3=(--)[Default]\r\n");
    window->OpenSettingsFile(path("unicode.ini"));
    EXPECT_EQ(shown(window->DirsGrd, 0, 0), QString::fromUtf8("/srv/Отчёты"));
    EXPECT_EQ(shown(window->StringsGrd, 0, 0), QString::fromUtf8("東京"));
    EXPECT_EQ(window->windowTitle().contains(QStringLiteral("unicode.ini")), true);
}

} // namespace
