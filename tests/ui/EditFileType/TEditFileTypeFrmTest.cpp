#include "ui/EditFileType/TEditFileTypeFrm.h"
#include "ui/support/ModalDriver.h"

#include <gtest/gtest.h>

namespace {

const QString NoMaskMessage =
    "No file mask specified. Specify the mask (using wild cards * and ?) for the file selection.";

class EditFileTypeFrm : public ::testing::Test
{
protected:
    // Queues a click on one of the dialog's buttons for its next showing. The
    // click is posted so that a message box it opens is driven as well; so a
    // driver serves one showing of the reused dialog.
    void press(QPushButton *Ui::TEditFileTypeFrm::*button, ModalDriver &showing)
    {
        showing.then([this, button](QWidget *) {
            QMetaObject::invokeMethod(dlg.*button, &QPushButton::click, Qt::QueuedConnection);
        });
    }

    TEditFileTypeFrm dlg;
    ModalDriver driver;
};

TEST_F(EditFileTypeFrm, TheMaskIsTrimmedOnOkAndOnCancelAndTheDescriptionIsNot)
{
    for (auto button : {&Ui::TEditFileTypeFrm::OkBtn, &Ui::TEditFileTypeFrm::CancelBtn}) {
        dlg.FileMaskEdt->setText(" *.txt\t");
        dlg.FileDescriptionEdt->setText(" Text files ");
        ModalDriver driver;
        press(button, driver);
        dlg.exec();
        EXPECT_EQ(dlg.FileMaskEdt->text(), "*.txt");
        EXPECT_EQ(dlg.FileDescriptionEdt->text(), " Text files ");
        EXPECT_TRUE(driver.messages().isEmpty());
    }
}

TEST_F(EditFileTypeFrm, ABlankMaskIsRefusedOnOkOnly)
{
    dlg.FileMaskEdt->setText("   ");
    dlg.FileDescriptionEdt->setText("kept");
    press(&Ui::TEditFileTypeFrm::OkBtn, driver);
    driver.answer(QMessageBox::Ok);
    driver.then([this](QWidget *) {
        EXPECT_EQ(dlg.FileDescriptionEdt->text(), "kept");
        dlg.CancelBtn->click();
    });
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    EXPECT_EQ(driver.messages(), QStringList{NoMaskMessage});
    EXPECT_TRUE(driver.done());
}

TEST_F(EditFileTypeFrm, MasksAndDescriptionsInAnyScriptAreAccepted)
{
    ModalDriver driver;
    dlg.FileMaskEdt->setText(QString::fromUtf8("*.док"));
    dlg.FileDescriptionEdt->setText(QString::fromUtf8("文書"));
    press(&Ui::TEditFileTypeFrm::OkBtn, driver);
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_TRUE(driver.messages().isEmpty());
}

TEST_F(EditFileTypeFrm, SetEncodingNameSelectsOnlyAnExactName)
{
    const struct {
        const char *name;
        QByteArray selected;
    } cases[] = {{"utf-8", "ANSI"}, {"UTF-8", "UTF-8"}, {"", "ANSI"},
                 {"Unicode (big endian)", "Unicode (big endian)"}, {"Unicode ", "ANSI"}};
    for (const auto &c : cases) {
        dlg.SetEncodingName("ANSI");
        dlg.SetEncodingName(c.name);
        EXPECT_EQ(dlg.EncodingName(), c.selected) << c.name;
    }
    dlg.SetEncodingName("UTF-8");
    EXPECT_TRUE(dlg.EncodingUtf8Rdo->isChecked());
}

TEST_F(EditFileTypeFrm, TheHiddenEncodingChoiceKeepsItsSelection)
{
    dlg.SetEncodingName("Unicode");
    dlg.ShowEncodingChoice(false);
    dlg.FileMaskEdt->setText("*.bak");
    driver.then([this](QWidget *) {
        EXPECT_FALSE(dlg.FileEncodingRdo->isVisible());
        dlg.OkBtn->click();
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    dlg.ShowEncodingChoice(true);
    EXPECT_TRUE(dlg.FileEncodingRdo->isVisibleTo(&dlg));
    EXPECT_EQ(dlg.EncodingName(), "Unicode");
}

} // namespace

namespace {

TEST_F(EditFileTypeFrm, TabFollowsTheScreenMaskDescriptionEncodingOkCancel)
{
    const QList<QWidget *> expected = {dlg.FileMaskEdt,        dlg.FileDescriptionEdt,
                                       dlg.EncodingAutoRdo,    dlg.EncodingAnsiRdo,
                                       dlg.EncodingUtf8Rdo,    dlg.EncodingUnicodeRdo,
                                       dlg.EncodingUnicodeBigEndianRdo, dlg.OkBtn,
                                       dlg.CancelBtn};
    QList<QWidget *> chain;
    QWidget *w = dlg.FileMaskEdt;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            chain.append(w);
        w = w->nextInFocusChain();
    } while (w != dlg.FileMaskEdt);
    EXPECT_EQ(chain, expected);
}

} // namespace
