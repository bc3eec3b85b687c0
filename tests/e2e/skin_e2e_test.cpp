// The main window's skin under the real pointer: buttons and glyphs turn red while the pointer
// is over them, the window follows a drag on its background or title and snaps to the screen's
// edges, and its rounded corners are cut out of the window.
#include "mainwindowscreen.h"
#include "pixelcensus.h"
#include "programtest.h"

#include <QImage>
#include <QList>
#include <QRect>

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

using namespace e2e;

// Beside QPoint itself, so that GoogleTest finds it for positions it compares.
static std::ostream& operator<<(std::ostream& out, QPoint point)
{
    return out << '(' << point.x() << ", " << point.y() << ')';
}

namespace {

constexpr QSize kScreenSize(1280, 800);
constexpr QSize kWindowSize(351, 347);

// Window-relative points on the grey tile around the panel, and inside the title label.
constexpr QPoint kTileLeft(10, 150);
constexpr QPoint kTileBottom(200, 335);
constexpr QPoint kTitle(60, 20);

int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return a.width() * a.height() + b.width() * b.height();
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    }
    return count;
}

class SkinE2E : public ProgramTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(startProgram(QStringLiteral(VOKARI_PROGRAM)));
        ASSERT_EQ(m_main.geometry.size(), kWindowSize);
        // The server starts the pointer at the screen's centre, over the window; each test
        // starts with it on the tile instead, and with the window painted.
        ASSERT_TRUE(m_server.moveTo(onScreen(kTileLeft))) << m_server.errorString().toStdString();
        const PixelCensus button =
            waitForCensus(MainWindowScreen::addButtonArea(),
                          [](const PixelCensus& c) { return c.iconGrey > 0 && c.red == 0; });
        ASSERT_GT(button.iconGrey, 0) << "the add button never showed its icon: " << button;
    }

    QPoint topLeft() const { return m_server.windowGeometry(m_main.id).topLeft(); }
    QPoint onScreen(QPoint windowPoint) const { return topLeft() + windowPoint; }
    QImage grabArea(QRect windowArea) const
    {
        return m_server.grab(windowArea.translated(topLeft()));
    }

    // Polls the window-relative `area` until `done` holds; returns the last census taken.
    PixelCensus waitForCensus(QRect area, const std::function<bool(const PixelCensus&)>& done)
    {
        PixelCensus seen;
        waitUntil(
            [&] {
                seen = census(grabArea(area));
                return done(seen);
            },
            kTimeoutMs);
        return seen;
    }

    // Polls the window's position until it is `expected`; returns the last one read.
    QPoint waitForTopLeft(QPoint expected)
    {
        QPoint seen;
        waitUntil(
            [&] {
                seen = topLeft();
                return seen == expected;
            },
            kTimeoutMs);
        return seen;
    }

    // Drags the window by its point `grab` to where its top-left would be `target` if the
    // window followed the pointer exactly.
    bool dragWindowTo(QPoint grab, QPoint target, int button = 1)
    {
        return m_server.drag(onScreen(grab), target + grab, button);
    }

    // Lights the add button, in the window's place at `windowTopLeft`, and waits for it. The
    // program handles input in order, so once it shows, everything sent before is handled.
    bool handledSoFar(QPoint windowTopLeft)
    {
        if (!m_server.moveTo(windowTopLeft + MainWindowScreen::addButton()))
            return false;
        return waitForCensus(MainWindowScreen::addButtonArea(), [](const PixelCensus& c) {
                   return c.red > 0;
               }).red > 0;
    }
};

TEST_F(SkinE2E, AddButtonTurnsRedAndShowsItsHintWhileThePointerIsOverIt)
{
    const QRect button = MainWindowScreen::addButtonArea();
    const QRect hint = MainWindowScreen::hintLineArea();
    const QImage unlit = grabArea(button);
    ASSERT_EQ(census(unlit).red, 0);
    const PixelCensus emptyLine =
        waitForCensus(hint, [](const PixelCensus& c) { return c.lit == 0; });
    ASSERT_EQ(emptyLine.lit, 0) << "the hint line shows something before any hover";

    ASSERT_TRUE(m_server.moveTo(onScreen(MainWindowScreen::addButton())))
        << m_server.errorString().toStdString();
    PixelCensus icon =
        waitForCensus(button, [](const PixelCensus& c) { return c.red > 0 && c.iconGrey == 0; });
    EXPECT_GT(icon.red, 0) << icon;
    EXPECT_EQ(icon.iconGrey, 0) << "grey icon pixels left under the pointer: " << icon;
    const PixelCensus text = waitForCensus(hint, [](const PixelCensus& c) { return c.red > 0; });
    ASSERT_GT(text.red, 0) << "no hint text appeared: " << text;
    // The hint is centred in its line: its ink is as far from the left as from the right.
    const int leftMargin = text.litBounds.left();
    const int rightMargin = hint.width() - 1 - text.litBounds.right();
    EXPECT_LE(std::abs(leftMargin - rightMargin), 6)
        << "hint ink spans x " << text.litBounds.left() << ".." << text.litBounds.right()
        << " of a line " << hint.width() << " wide";

    ASSERT_TRUE(m_server.moveTo(onScreen(kTileLeft))) << m_server.errorString().toStdString();
    icon = waitForCensus(button, [](const PixelCensus& c) { return c.iconGrey > 0 && c.red == 0; });
    EXPECT_GT(icon.iconGrey, 0) << icon;
    EXPECT_EQ(icon.red, 0) << "red pixels left after the pointer went: " << icon;
    EXPECT_EQ(differingPixels(grabArea(button), unlit), 0)
        << "the icon did not return to what it was before";
    const PixelCensus line = waitForCensus(hint, [](const PixelCensus& c) { return c.lit == 0; });
    EXPECT_EQ(line.red, 0) << "the hint stayed: " << line;
    EXPECT_EQ(line.lit, 0) << "something stayed in the hint line: " << line;
}

TEST_F(SkinE2E, CloseGlyphTurnsRedWhileThePointerIsOverIt)
{
    const QRect glyph = MainWindowScreen::closeGlyphArea();
    const PixelCensus unlit =
        waitForCensus(glyph, [](const PixelCensus& c) { return c.black > 0 && c.red == 0; });
    ASSERT_GT(unlit.black, 0) << "no black glyph to begin with: " << unlit;
    ASSERT_EQ(unlit.red, 0) << unlit;

    ASSERT_TRUE(m_server.moveTo(onScreen(glyph.center()))) << m_server.errorString().toStdString();
    // Every black pixel of the glyph turns red, and nothing else does.
    const PixelCensus lit = waitForCensus(
        glyph, [&](const PixelCensus& c) { return c.red == unlit.black && c.black == 0; });
    EXPECT_EQ(lit.red, unlit.black) << lit;
    EXPECT_EQ(lit.black, 0) << lit;

    ASSERT_TRUE(m_server.moveTo(onScreen(kTileLeft))) << m_server.errorString().toStdString();
    const PixelCensus after = waitForCensus(
        glyph, [&](const PixelCensus& c) { return c.black == unlit.black && c.red == 0; });
    EXPECT_EQ(after.black, unlit.black) << after;
    EXPECT_EQ(after.red, 0) << after;
}

TEST_F(SkinE2E, AnyButtonOnTheTileDragsTheWindowWithThePointer)
{
    const QPoint start = topLeft();
    const QPoint grab = onScreen(kTileLeft);

    // The window follows every move while the right button is down, not only at the release.
    ASSERT_TRUE(m_server.moveTo(grab) && m_server.press(3)) << m_server.errorString().toStdString();
    for (QPoint step : {QPoint(30, -10), QPoint(70, -25), QPoint(100, -40)}) {
        ASSERT_TRUE(m_server.moveTo(grab + step)) << m_server.errorString().toStdString();
        EXPECT_EQ(waitForTopLeft(start + step), start + step) << "right button held";
    }
    ASSERT_TRUE(m_server.release(3)) << m_server.errorString().toStdString();

    // Once released, the pointer goes its own way.
    const QPoint dropped = start + QPoint(100, -40);
    ASSERT_TRUE(m_server.moveTo(grab + QPoint(160, 20))) << m_server.errorString().toStdString();
    const bool handled = handledSoFar(dropped);
    EXPECT_EQ(topLeft(), dropped) << "the window moved after the release";
    ASSERT_TRUE(handled) << "the add button did not light after the drag";

    ASSERT_TRUE(m_server.drag(onScreen(kTileBottom), onScreen(kTileBottom) + QPoint(-150, 30), 2))
        << m_server.errorString().toStdString();
    EXPECT_EQ(waitForTopLeft(dropped + QPoint(-150, 30)), dropped + QPoint(-150, 30))
        << "middle button";
    EXPECT_EQ(m_server.windowGeometry(m_main.id).size(), kWindowSize);
}

TEST_F(SkinE2E, SnapsToTheLeftEdgeFromNinePixelsButNotFromTen)
{
    ASSERT_TRUE(dragWindowTo(kTitle, QPoint(9, 166))) << m_server.errorString().toStdString();
    EXPECT_EQ(waitForTopLeft(QPoint(0, 166)), QPoint(0, 166));

    ASSERT_TRUE(dragWindowTo(kTitle, QPoint(10, 166))) << m_server.errorString().toStdString();
    EXPECT_EQ(waitForTopLeft(QPoint(10, 166)), QPoint(10, 166));
}

TEST_F(SkinE2E, SnapsToTheTopRightAndBottomEdgesFromNinePixelsButNotFromTen)
{
    ASSERT_TRUE(dragWindowTo(kTitle, QPoint(400, 9))) << m_server.errorString().toStdString();
    EXPECT_EQ(waitForTopLeft(QPoint(400, 0)), QPoint(400, 0));
    ASSERT_TRUE(dragWindowTo(kTitle, QPoint(400, 10))) << m_server.errorString().toStdString();
    EXPECT_EQ(waitForTopLeft(QPoint(400, 10)), QPoint(400, 10));

    // Against the bottom-right corner: both far edges snap at once.
    const QPoint corner(kScreenSize.width() - kWindowSize.width(),
                        kScreenSize.height() - kWindowSize.height());
    ASSERT_TRUE(dragWindowTo(kTileBottom, corner - QPoint(9, 9)))
        << m_server.errorString().toStdString();
    EXPECT_EQ(waitForTopLeft(corner), corner);
    ASSERT_TRUE(dragWindowTo(kTileBottom, corner - QPoint(10, 10)))
        << m_server.errorString().toStdString();
    EXPECT_EQ(waitForTopLeft(corner - QPoint(10, 10)), corner - QPoint(10, 10));
}

TEST_F(SkinE2E, RoundedCornersAreCutOutOfTheWindow)
{
    // The screen's own corner is far from the centred window and shows the bare root.
    const QRgb root = m_server.grab(QRect(0, 0, 1, 1)).pixel(0, 0);
    const QImage window = m_server.grab(m_server.windowGeometry(m_main.id));
    ASSERT_EQ(window.size(), kWindowSize);

    for (QPoint inside : {QPoint(30, 30), kTileLeft, kTileBottom})
        EXPECT_NE(window.pixel(inside), root) << "the tile at " << inside << " shows the root";
    const int right = kWindowSize.width() - 1;
    const int bottom = kWindowSize.height() - 1;
    const QList<QPoint> cutAway = {QPoint(0, 0),          QPoint(2, 2),
                                   QPoint(right, 0),      QPoint(right - 2, 2),
                                   QPoint(0, bottom),     QPoint(2, bottom - 2),
                                   QPoint(right, bottom), QPoint(right - 2, bottom - 2)};
    for (QPoint corner : cutAway)
        EXPECT_EQ(window.pixel(corner), root) << "the window covers its corner at " << corner;
}

TEST_F(SkinE2E, APressOnACutCornerDoesNotReachTheWindow)
{
    const QPoint start = topLeft();
    ASSERT_TRUE(m_server.drag(onScreen(QPoint(0, 0)), onScreen(QPoint(80, 60))))
        << m_server.errorString().toStdString();
    const bool handled = handledSoFar(start);
    EXPECT_EQ(topLeft(), start) << "the window moved";
    ASSERT_TRUE(handled) << "the add button did not light after the drag";

    // The same drag a little further in, on the tile, does move it.
    ASSERT_TRUE(m_server.drag(onScreen(QPoint(30, 30)), onScreen(QPoint(110, 90))))
        << m_server.errorString().toStdString();
    EXPECT_EQ(waitForTopLeft(start + QPoint(80, 60)), start + QPoint(80, 60));
}

TEST_F(SkinE2E, APressOnTheDisplayPanelDoesNotMoveTheWindow)
{
    const QPoint start = topLeft();
    const QPoint panel = MainWindowScreen::displayPanelArea().topLeft();
    // The bare panel right of the seconds counter, the action line, and the read-out.
    for (QPoint inPanel : {QPoint(271, 20), QPoint(171, 68), QPoint(121, 128)}) {
        const QPoint press = panel + inPanel;
        // The add button must be unlit before it can show that the drag has been handled.
        ASSERT_TRUE(m_server.moveTo(onScreen(kTileLeft))) << m_server.errorString().toStdString();
        ASSERT_EQ(waitForCensus(MainWindowScreen::addButtonArea(),
                                [](const PixelCensus& c) { return c.red == 0; })
                      .red,
                  0);

        ASSERT_TRUE(m_server.drag(onScreen(press), onScreen(press + QPoint(80, 60))))
            << m_server.errorString().toStdString();
        const bool handled = handledSoFar(start);
        EXPECT_EQ(topLeft(), start) << "the window moved with a press at " << press;
        ASSERT_TRUE(handled) << "the add button did not light after the drag from " << press;
    }

    ASSERT_TRUE(m_server.drag(onScreen(kTileLeft), onScreen(kTileLeft + QPoint(80, 60))))
        << m_server.errorString().toStdString();
    EXPECT_EQ(waitForTopLeft(start + QPoint(80, 60)), start + QPoint(80, 60));
}

} // namespace
