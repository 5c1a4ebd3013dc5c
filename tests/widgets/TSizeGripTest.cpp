#include "widgets/TSizeGrip.h"

#include <QImage>
#include <QMouseEvent>
#include <QPalette>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QColor Background(200, 100, 50);
const QColor Shadow(100, 50, 0);
const QColor Highlight(250, 240, 230);
const QColor Middle(150, 75, 25); // halfway between background and shadow

// A window of client size 672 x 413 in known colours.
std::unique_ptr<QWidget> makeTarget()
{
    auto target = std::make_unique<QWidget>();
    QPalette palette = target->palette();
    palette.setColor(QPalette::Window, Background);
    palette.setColor(QPalette::Dark, Shadow);
    palette.setColor(QPalette::Light, Highlight);
    target->setPalette(palette);
    target->setAutoFillBackground(true);
    target->resize(672, 413);
    return target;
}

QColor pixelAt(QWidget &target, int x, int y)
{
    return target.grab().toImage().pixelColor(x, y);
}

struct Pixel {
    int x, y; // from the bottom-right corner (right edge, bottom edge)
    QColor colour;
};

struct StyleCase {
    const char *name;
    TSizeGripStyle style;
    std::vector<Pixel> pixels;
};

void PrintTo(const StyleCase &c, std::ostream *out)
{
    *out << c.name;
}

class SizeGripStyle : public ::testing::TestWithParam<StyleCase> {};

TEST_P(SizeGripStyle, DrawsItsPatternInThePaletteColoursInTheCorner)
{
    auto target = makeTarget();
    TSizeGrip grip(target.get());
    grip.SetStyle(GetParam().style);
    const QImage image = target->grab().toImage();
    for (const Pixel &p : GetParam().pixels) {
        EXPECT_EQ(image.pixelColor(672 + p.x, 413 + p.y), p.colour)
            << "at right" << p.x << ", bottom" << p.y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, SizeGripStyle,
    ::testing::Values(
        // The first groove at the corner, the gap after it, the next groove,
        // and a point outside the grooves.
        StyleCase{"Classic",
                  sgsClassic,
                  {{-2, -1, Shadow}, {-1, -2, Shadow}, {-1, -3, Middle}, {-1, -4, Highlight},
                   {-1, -5, Background}, {-1, -6, Shadow}, {-12, -1, Highlight}, {-13, -1, Background},
                   {-2, -2, Middle}, {-1, -1, Background}}},
        // The corner dot at (-4, -4) in full, the top dot's corner, the gap
        // between dots.
        StyleCase{"WinXP",
                  sgsWinXP,
                  {{-4, -4, Shadow}, {-3, -4, Shadow}, {-4, -3, Shadow}, {-3, -3, Middle},
                   {-2, -3, Highlight}, {-3, -2, Highlight}, {-2, -2, Highlight}, {-4, -12, Shadow},
                   {-1, -1, Background}, {-5, -5, Background}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SizeGrip, SitsInTheBottomRightCornerAndFollowsResizing)
{
    auto target = makeTarget();
    TSizeGrip grip(target.get());
    EXPECT_EQ(grip.TargetControl(), target.get());
    EXPECT_EQ(grip.GripRect(), QRect(QPoint(657, 398), QPoint(671, 412)));

    target->resize(800, 500);
    EXPECT_EQ(grip.GripRect(), QRect(785, 485, 15, 15));
    EXPECT_EQ(pixelAt(*target, 798, 499), Shadow);
    EXPECT_EQ(pixelAt(*target, 670, 412), Background) << "the old corner shows no grip";
}

TEST(SizeGrip, StaysOnTopOfChildrenAddedLater)
{
    auto target = makeTarget();
    TSizeGrip grip(target.get());
    auto *cover = new QWidget(target.get());
    cover->setPalette(QPalette(Qt::green));
    cover->setAutoFillBackground(true);
    cover->setGeometry(target->rect());
    EXPECT_EQ(pixelAt(*target, 670, 412), Shadow);
}

TEST(SizeGrip, DisablingAndDetachingRemoveTheGripAndEnablingRestoresIt)
{
    auto target = makeTarget();
    TSizeGrip grip(target.get());
    grip.SetEnabled(false);
    EXPECT_FALSE(grip.isAttached());
    EXPECT_EQ(pixelAt(*target, 670, 412), Background);

    grip.SetEnabled(true);
    EXPECT_TRUE(grip.isAttached());
    EXPECT_EQ(pixelAt(*target, 670, 412), Shadow);

    grip.SetTargetControl(nullptr);
    EXPECT_FALSE(grip.isAttached());
    EXPECT_TRUE(grip.GripRect().isEmpty());
    EXPECT_EQ(pixelAt(*target, 670, 412), Background);
    EXPECT_TRUE(target->findChildren<QWidget *>().isEmpty()) << "nothing is left on the old target";
}

TEST(SizeGrip, ForgetsATargetDestroyedBeforeIt)
{
    QObject owner;
    auto grip = std::make_unique<TSizeGrip>(&owner);
    EXPECT_EQ(grip->TargetControl(), nullptr) << "an owner that is no widget gives no target";

    auto target = makeTarget();
    grip->SetTargetControl(target.get());
    ASSERT_TRUE(grip->isAttached());
    target.reset();
    EXPECT_EQ(grip->TargetControl(), nullptr);
    EXPECT_FALSE(grip->isAttached());
    grip.reset(); // must not touch the destroyed target

    auto dialog = makeTarget();
    new TSizeGrip(dialog.get()); // owned by its target, as a dialog holds it
    dialog.reset();
}

TEST(SizeGrip, DraggingTheGripResizesTheWindowFromTheCorner)
{
    auto target = makeTarget();
    TSizeGrip grip(target.get());
    target->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(target.get()));
    QWidget *face = target->childAt(665, 405);
    ASSERT_NE(face, nullptr);

    // Offscreen has no window manager to resize; the grip follows the mouse.
    const QPoint start = face->mapToGlobal(QPoint(7, 7));
    const auto send = [face](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
        QMouseEvent event(type, face->mapFromGlobal(global), global, Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(face, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPoint(30, 20), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start + QPoint(30, 20), Qt::NoButton);
    EXPECT_EQ(target->size(), QSize(702, 433));
    EXPECT_EQ(grip.GripRect(), QRect(687, 418, 15, 15));
}

} // namespace
