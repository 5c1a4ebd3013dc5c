#include "ui/Continue/TContinueFrm.h"
#include "ui/support/ModalDriver.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

const std::array<QString, 4> FileCaptions{"Replace in this File", "Replace in All Files",
                                          "Skip this File", "Cancel All"};

struct AskCase {
    const char *button; // empty: the window is closed
    ContinueAnswer answer;
};

TEST(AskContinue, EachButtonAndTheCloseBoxGiveTheirAnswer)
{
    const AskCase cases[] = {{"Button1Btn", ContinueAnswer::Yes},
                             {"Button2Btn", ContinueAnswer::All},
                             {"Button3Btn", ContinueAnswer::No},
                             {"Button4Btn", ContinueAnswer::Cancel},
                             {"", ContinueAnswer::Cancel}};
    for (const AskCase &c : cases) {
        SCOPED_TRACE(c.button);
        ModalDriver driver;
        driver.then([&](QWidget *window) {
            auto &question = *dynamic_cast<TContinueFrm *>(window);
            EXPECT_EQ(question.windowTitle(), QStringLiteral("Continue?"));
            EXPECT_EQ(question.StaticText1->text(), QStringLiteral("Back-up failed!"));
            EXPECT_EQ(question.Button2Btn->text(), FileCaptions[1]);
            EXPECT_EQ(question.focusWidget(), question.Button1Btn);
            EXPECT_EQ(question.windowType(), Qt::Dialog);
            EXPECT_FALSE(question.windowFlags()
                         & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
            if (*c.button)
                window->findChild<QPushButton *>(c.button)->click();
            else
                window->close();
        });
        EXPECT_EQ(TContinueFrm::AskContinue(nullptr, "Back-up failed!", FileCaptions), c.answer);
    }
}

TEST(AskContinue, EscapeDoesNotAnswerAndEnterPressesTheFocusedButton)
{
    ModalDriver driver;
    driver.then([](QWidget *window) {
        auto &question = *dynamic_cast<TContinueFrm *>(window);
        QTest::keyClick(question.Button1Btn, Qt::Key_Escape);
        EXPECT_TRUE(question.isVisible()) << "Escape answered Cancel All";
        question.Button3Btn->setFocus();
        QTest::keyClick(question.Button3Btn, Qt::Key_Return);
    });
    EXPECT_EQ(TContinueFrm::AskContinue(nullptr, "?", FileCaptions), ContinueAnswer::No);
}

TEST(AskContinue, AButtonWithoutCaptionIsHidden)
{
    ModalDriver driver;
    driver.then([](QWidget *window) {
        auto &question = *dynamic_cast<TContinueFrm *>(window);
        EXPECT_FALSE(question.Button1Btn->isHidden());
        EXPECT_TRUE(question.Button2Btn->isHidden());
        EXPECT_FALSE(question.Button3Btn->isHidden());
        EXPECT_TRUE(question.Button4Btn->isHidden());
        question.Button3Btn->click();
    });
    EXPECT_EQ(TContinueFrm::AskContinue(nullptr, "?", {"Yes", "", "No", ""}), ContinueAnswer::No);
}

} // namespace
