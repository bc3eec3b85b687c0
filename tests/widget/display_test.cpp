#include "app/digitdisplay.h"
#include "assets/assettable.h"
#include "skin/vclwidgets.h"
#include "support/readout.h"
#include "support/widgetinput.h"

#include <QApplication>
#include <QPaintEvent>

#include <gtest/gtest.h>

namespace {

struct Display : ::testing::Test
{
    GlyphStrip small = Assets::strip(QStringLiteral("Form1"), QStringLiteral("ImageList1"));
    GlyphStrip large = Assets::strip(QStringLiteral("Form1"), QStringLiteral("ImageList3"));
    QImage counter{96, 23, QImage::Format_RGB32};
    QImage readout{264, 91, QImage::Format_RGB32};

    void SetUp() override
    {
        ASSERT_EQ(small.count(), 10);
        ASSERT_EQ(large.count(), 11);
        counter.fill(Qt::black);
        readout.fill(Qt::black);
    }

    void draw(TimerState& s) { DrawTime(s, small, large, counter, readout); }
};

TimerState stateOf(int total, int hours, int minutes, int seconds)
{
    TimerState s;
    s.TotalSeconds = total;
    s.Hours = hours;
    s.Minutes = minutes;
    s.Seconds = seconds;
    return s;
}

TEST_F(Display, ShowsFieldsAndTotal)
{
    struct Case
    {
        const char* name;
        TimerState state;
        const char* counter;
        const char* clock;
    };
    const Case cases[] = {
        {"1 h 2 min 3 s", stateOf(3723, 1, 2, 3), "003723", "01:02:03"},
        {"largest duration", stateOf(359999, 99, 59, 59), "359999", "99:59:59"},
        {"a million seconds shows the first six digits", stateOf(1000000, 277, 46, 40), "100000",
         "27:46:40"},
        {"100 hours shows the first two hour digits", stateOf(360000, 100, 0, 0), "360000",
         "10:00:00"},
        {"fields drawn as stored, not derived", stateOf(60, 99, 0, 59), "000060", "99:00:59"},
    };
    for (const Case& c : cases) {
        TimerState s = c.state;
        draw(s);
        EXPECT_EQ(readCounter(counter, {0, 0}), QString::fromLatin1(c.counter)) << c.name;
        EXPECT_EQ(readClock(readout, {0, 0}), QString::fromLatin1(c.clock)) << c.name;
    }
}

TEST_F(Display, ClampsNegativeFieldsAndStoresTheZeros)
{
    // What a subtract of one minute from 30 seconds leaves behind.
    TimerState s = stateOf(-30, 0, 0, -30);
    draw(s);
    EXPECT_EQ(s.TotalSeconds, 0);
    EXPECT_EQ(s.Seconds, 0);
    EXPECT_EQ(readCounter(counter, {0, 0}), QStringLiteral("000000"));
    EXPECT_EQ(readClock(readout, {0, 0}), QStringLiteral("00:00:00"));

    TimerState t = stateOf(-1, -2, -3, -4);
    draw(t);
    EXPECT_EQ(t.Hours, 0);
    EXPECT_EQ(t.Minutes, 0);
    EXPECT_EQ(t.Seconds, 0);
    EXPECT_EQ(t.TotalSeconds, 0);
}

TEST_F(Display, ColonsShowBetweenTheDigitPairsAndTheRowsBelowStayBlack)
{
    TimerState s = stateOf(0, 0, 0, 0);
    // Paint everything white first: whatever the display does not cover stays visible.
    readout.fill(Qt::white);
    draw(s);
    EXPECT_EQ(matchCell(readout, {80, 0}, large, 11), 10) << "first colon";
    EXPECT_EQ(matchCell(readout, {171, 0}, large, 11), 10) << "second colon";
    for (int y = 74; y < readout.height(); ++y) {
        EXPECT_EQ(readout.pixel(5, y), qRgb(255, 255, 255)) << "row " << y << " is never drawn";
    }
}

TEST_F(Display, LaterDrawLeavesNothingOfTheEarlierGlyphs)
{
    TimerState eights = stateOf(888888, 88, 88, 88);
    draw(eights);
    TimerState ones = stateOf(111111, 11, 11, 11);
    draw(ones);
    EXPECT_EQ(readCounter(counter, {0, 0}), QStringLiteral("111111"));
    EXPECT_EQ(readClock(readout, {0, 0}), QStringLiteral("11:11:11"));
}

// Records the rectangles a widget is asked to repaint.
struct PaintSpy : QObject
{
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

TEST(PaintBox, RepaintsExactlyWhatTheDrawingChanged)
{
    TPaintBox box(nullptr, QSize(60, 30));
    ASSERT_TRUE(showExposed(box));
    box.canvasChanged();
    QCoreApplication::processEvents();

    PaintSpy spy;
    box.installEventFilter(&spy);
    box.Canvas().setPixel(10, 5, qRgb(255, 0, 0));
    box.Canvas().setPixel(20, 7, qRgb(0, 255, 0));
    box.canvasChanged();
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.painted.boundingRect(), QRect(10, 5, 11, 3));

    spy.painted = QRegion();
    box.canvasChanged();
    QCoreApplication::processEvents();
    EXPECT_TRUE(spy.painted.isEmpty()) << "nothing changed, nothing to repaint";

    // What is shown after the partial repaint is the whole new canvas.
    EXPECT_EQ(box.grab().toImage().convertToFormat(QImage::Format_RGB32), box.Canvas());
}

} // namespace
