#include "services/Preferences.h"
#include "ui/support/ModalDriver.h"
#include "widgets/TStickyForm.h"

#include <gtest/gtest.h>

namespace {

// What the test saw of one information window, and what the sizing rules
// ask of it in the window's font.
struct Showing {
    bool shown = false;
    QString text;
    QString caption;
    QSize size;
    QSize expectedSize;
    int okButtonCentre = 0;
};

// Shows the message and closes its window with "Ok", the check box ticked or
// not; a window that does not come leaves `shown` false.
Showing showMessage(const QString &message, QWidget *owner, bool tick)
{
    Showing seen;
    ModalDriver driver;
    driver.then([&](QWidget *window) {
        auto *form = qobject_cast<TStickyForm *>(window);
        if (!form) {
            ADD_FAILURE() << "expected the information window";
            window->close();
            return;
        }
        seen.shown = true;
        seen.text = form->MessageLbl->text();
        seen.caption = form->windowTitle();
        seen.size = form->size();
        const QFontMetrics metrics = form->fontMetrics();
        int widest = 0;
        for (const QString &line : seen.text.split('\n'))
            widest = qMax(widest, metrics.horizontalAdvance(line.trimmed()));
        const int lines = int(seen.text.count('\n')) + 1;
        seen.expectedSize = {qMax(widest, 150) + 30, lines * metrics.size(0, "E").height() + 105};
        seen.okButtonCentre = form->OkBtn->geometry().center().x();
        form->DontShowChk->setChecked(tick);
        form->OkBtn->click();
    });
    ShowStickyMessage(message, owner);
    return seen;
}

TEST(StickyMessage, TickedBoxKeepsTheMessageAwayForItsOwner)
{
    QWidget mainWindow;
    mainWindow.setObjectName(MainWindowName);
    const struct {
        QString message;
        QWidget *owner;
        bool tick;
    } cases[] = {
        {"Ticked for the main window.", &mainWindow, true},
        {"Ticked without an owner.", nullptr, true},
        {"Not ticked.", &mainWindow, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        EXPECT_TRUE(showMessage(c.message, c.owner, c.tick).shown);
        EXPECT_EQ(showMessage(c.message, c.owner, false).shown, !c.tick);
        const QString ownerName = c.owner ? QString(MainWindowName) : QString();
        EXPECT_EQ(HasMessageMark(c.message, ownerName), c.tick);
    }
    // A mark belongs to its owner: the same message from another window still shows.
    EXPECT_FALSE(HasMessageMark("Ticked for the main window.", ""));
}

TEST(StickyMessage, WindowFitsATwoLineMessage)
{
    const Showing seen = showMessage(
        "Fish && chips are served in the dining room from noon to night.\n   Enjoy!  ",
        nullptr, false);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.caption, "Sarvonex");
    EXPECT_EQ(seen.text.section('\n', 0, 0),
              "Fish & chips are served in the dining room from noon to night.");
    EXPECT_EQ(seen.size, seen.expectedSize);
    EXPECT_NEAR(seen.okButtonCentre, seen.size.width() / 2, 1);
}

TEST(ShowStickyMessage, TheWindowIsADialogWithoutMinimizeOrMaximize)
{
    ModalDriver driver;
    driver.then([](QWidget *window) {
        EXPECT_EQ(window->windowType(), Qt::Dialog);
        EXPECT_FALSE(window->windowFlags()
                     & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        window->close();
    });
    ShowStickyMessage("A message a window manager must show as a dialog.", nullptr);
    EXPECT_TRUE(driver.done());
}

} // namespace
