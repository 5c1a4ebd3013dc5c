#include "ui/Wizard/TWizardFrm.h"

#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Fixture : ::testing::Test {
    QWidget mainWindow;
    TWizardFrm wizard{&mainWindow};

    // A left click on a widget, pressed and released over it.
    static void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }
};

struct StageCase {
    int stage;
    bool previousEnabled, nextEnabled, previousAndNextShown;
    const char *progress;
};

void PrintTo(const StageCase &c, std::ostream *out)
{
    *out << "stage " << c.stage;
}

struct WizardStage : Fixture, ::testing::WithParamInterface<StageCase> {};

TEST_P(WizardStage, ShowsItsLinksAndProgress)
{
    const StageCase &c = GetParam();
    wizard.SetStage(c.stage);
    EXPECT_EQ(wizard.stage(), c.stage);
    EXPECT_EQ(wizard.PrevLbl->isEnabled(), c.previousEnabled);
    EXPECT_EQ(wizard.NextLbl->isEnabled(), c.nextEnabled);
    EXPECT_EQ(wizard.PrevLbl->isVisibleTo(&wizard), c.previousAndNextShown);
    EXPECT_EQ(wizard.NextLbl->isVisibleTo(&wizard), c.previousAndNextShown);
    EXPECT_TRUE(wizard.CancelLbl->isVisibleTo(&wizard));
    EXPECT_EQ(wizard.ProgressLbl->text(), QString::fromLatin1(c.progress));
}

INSTANTIATE_TEST_SUITE_P(Stages, WizardStage,
                         ::testing::Values(StageCase{1, false, true, true, "1/7"},
                                           StageCase{4, true, true, true, "4/7"},
                                           StageCase{7, true, false, true, "7/7"},
                                           StageCase{8, true, false, false, ""},
                                           StageCase{10, true, false, false, ""}));

TEST_F(Fixture, TextsShowADoubledAmpersandAsOne)
{
    wizard.SetStage(7);
    EXPECT_EQ(wizard.MainTextTxt->text(), "You are now ready to start the find & replace process. Select Action | "
                                          "Find & Replace from the main menu to begin.");
}

TEST_F(Fixture, StepsThroughTheSetUpStagesAndTurnsTheMainWindowsPage)
{
    wizard.show();
    QSignalSpy pages(&wizard, &TWizardFrm::pageRequested);
    wizard.SetStage(4);
    click(wizard.PrevLbl);
    EXPECT_EQ(wizard.stage(), 3);
    click(wizard.NextLbl);
    click(wizard.NextLbl);
    click(wizard.NextLbl);
    click(wizard.NextLbl);
    click(wizard.NextLbl); // disabled at stage 7
    EXPECT_EQ(wizard.stage(), 7);
    QList<int> requested;
    for (const QList<QVariant> &signal : pages)
        requested << signal.at(0).toInt();
    EXPECT_EQ(requested, (QList<int>{2, 1, 2, 3, 3})) << "from 4 back to 3 is the Files page again";
}

TEST_F(Fixture, StagesOutsideTheRangeChangeNothing)
{
    wizard.SetStage(9);
    const QString text = wizard.MainTextTxt->text();
    for (int n : {11, 0}) {
        wizard.SetStage(n);
        EXPECT_EQ(wizard.stage(), 9);
        EXPECT_EQ(wizard.MainTextTxt->text(), text);
    }
    EXPECT_FALSE(wizard.isVisible()) << "a stage set by the run does not show the wizard";
}

TEST_F(Fixture, EveryShowingStartsAtStageOneInTheTopRightCorner)
{
    const QRect screen = wizard.screen()->availableGeometry();
    for (int showing = 0; showing < 2; ++showing) {
        wizard.show();
        EXPECT_EQ(wizard.stage(), 1);
        EXPECT_EQ(wizard.geometry().topRight(), screen.topRight() + QPoint(-5, 5));
        EXPECT_TRUE(wizard.MainTmr->isActive());
        wizard.SetStage(5);
        wizard.move(10, 200);
        click(wizard.CancelLbl);
        EXPECT_FALSE(wizard.isVisible());
        EXPECT_FALSE(wizard.MainTmr->isActive());
        EXPECT_EQ(wizard.stage(), 5);
    }
    EXPECT_TRUE(wizard.isWindow());
}

TEST_F(Fixture, EveryStageTextFitsTheWindow)
{
    wizard.show();
    EXPECT_EQ(wizard.width(), 426);
    EXPECT_GE(wizard.height(), 123);
    for (int stage = 1; stage <= 10; ++stage) {
        wizard.SetStage(stage);
        QLabel *text = wizard.MainTextTxt;
        EXPECT_LE(text->heightForWidth(text->width()), text->height()) << "stage " << stage;
    }
}

TEST_F(Fixture, LinksShowOnlyWhileTheWizardOrTheMainWindowIsActive)
{
    QWidget runDialog; // stands for a modal dialog of the run
    runDialog.show();
    mainWindow.show();
    wizard.show();
    const auto activate = [this](QWidget &window) {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        wizard.MainTmrTimer();
    };
    activate(runDialog);
    EXPECT_FALSE(wizard.CancelLbl->isVisibleTo(&wizard));
    EXPECT_FALSE(wizard.NextLbl->isVisibleTo(&wizard));
    EXPECT_FALSE(wizard.MainTextTxt->text().isEmpty());

    activate(mainWindow);
    EXPECT_TRUE(wizard.CancelLbl->isVisibleTo(&wizard));
    EXPECT_TRUE(wizard.NextLbl->isVisibleTo(&wizard));
}

TEST_F(Fixture, DraggingTheBodyMovesTheWindow)
{
    wizard.show();
    const QPoint start = wizard.pos();
    QWidget *body = wizard.MainTextTxt;
    const QPoint pressed = body->mapToGlobal(QPoint(20, 20));
    const auto send = [body](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
        QMouseEvent event(type, body->mapFromGlobal(global), global, Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(body, &event);
    };
    send(QEvent::MouseButtonPress, pressed, Qt::LeftButton);
    send(QEvent::MouseMove, pressed + QPoint(-40, 25), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, pressed + QPoint(-40, 25), Qt::NoButton);
    send(QEvent::MouseMove, pressed + QPoint(-90, 90), Qt::NoButton);
    EXPECT_EQ(wizard.pos(), start + QPoint(-40, 25));
}

} // namespace
