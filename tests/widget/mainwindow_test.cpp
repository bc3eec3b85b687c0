#include "assets/assettable.h"
#include "skin/hoverimage.h"
#include "support/pictures.h"
#include "support/widgetinput.h"
#include "support/windowstest.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct MainWindow : WindowsTest
{
    QImage shot() { return form.grab().toImage(); }

    void press(const char* name, Qt::MouseButton b) { QTest::mousePress(button(name), b); }
    void click(const char* name, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseClick(button(name), b);
    }
};

TEST_F(MainWindow, LayoutMatchesTheWindowDesign)
{
    EXPECT_EQ(form.size(), QSize(351, 347));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Vokari"));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);

    struct Box
    {
        const char* name;
        QRect geometry;
    };
    const Box boxes[] = {
        {"Image1", {0, 0, 351, 347}},         {"Panel1", {29, 32, 294, 233}},
        {"ptBoxTotTracks", {15, 15, 96, 23}}, {"PaintBox1", {13, 85, 264, 91}},
        {"Label4", {16, 48, 274, 33}},        {"Label6", {16, 205, 255, 21}},
        {"HoverImage9", {298, 10, 16, 16}},   {"HoverImage10", {281, 10, 17, 17}},
        {"HoverImage4", {22, 272, 36, 36}},   {"HoverImage5", {61, 272, 36, 36}},
        {"HoverImage1", {100, 272, 36, 36}},  {"HoverImage2", {139, 272, 36, 36}},
        {"HoverImage6", {177, 272, 36, 36}},  {"HoverImage7", {215, 272, 36, 36}},
        {"HoverImage8", {253, 272, 36, 36}},  {"HoverImage3", {291, 272, 36, 36}},
    };
    for (const Box& b : boxes) {
        auto* w = form.findChild<QWidget*>(QString::fromLatin1(b.name));
        ASSERT_NE(w, nullptr) << b.name;
        EXPECT_EQ(w->geometry(), b.geometry) << b.name;
    }
    struct Corner
    {
        const char* name;
        QPoint topLeft;
        const char* text;
    };
    const Corner labels[] = {
        {"Label1", {16, 175}, "12:00"},
        {"Label2", {75, 320}, "www.vokari.org"},
        {"Label3", {36, 14}, "Vokari v1.12"},
        {"Label7", {116, 21}, "秒"},
    };
    for (const Corner& l : labels) {
        auto* w = form.findChild<QLabel*>(QString::fromLatin1(l.name));
        ASSERT_NE(w, nullptr) << l.name;
        EXPECT_EQ(w->pos(), l.topLeft) << l.name;
        EXPECT_EQ(w->text(), QString::fromUtf8(l.text)) << l.name;
    }
    EXPECT_EQ(form.Label4->text(), QStringLiteral("操作:警报"));
    EXPECT_TRUE(form.Label6->text().isEmpty());
}

TEST_F(MainWindow, ButtonsWearTheirStripCellsKeyedOnBlack)
{
    struct Cell
    {
        const char* name;
        int cell;
        const char* hint;
    };
    const Cell cells[] = {
        {"HoverImage4", 0, "增加时间"}, {"HoverImage5", 1, "减少时间"},
        {"HoverImage1", 2, "设置操作"}, {"HoverImage3", 3, "跑表"},
        {"HoverImage2", 4, "设置定时"}, {"HoverImage6", 5, "开始定时"},
        {"HoverImage7", 6, "暂停定时"}, {"HoverImage8", 7, "停止并重置定时"},
    };
    const QImage background = Assets::background(QStringLiteral("Form1"));
    const QImage window = shot();
    for (const Cell& c : cells) {
        THoverImage* b = button(c.name);
        EXPECT_EQ(rgb(b->Picture()), rgb(form.ImageList2.cell(c.cell))) << c.name;
        EXPECT_EQ(b->Hint, QString::fromUtf8(c.hint)) << c.name;
        // The picture's black ground is left out: the background shows at the box's corner.
        const QPoint corner = b->geometry().topLeft() + QPoint(1, 1);
        EXPECT_EQ(window.pixel(corner) & 0xFFFFFFu, background.pixel(corner) & 0xFFFFFFu) << c.name;
    }
}

TEST_F(MainWindow, StartsAtZero)
{
    EXPECT_EQ(counter(), QStringLiteral("000000"));
    EXPECT_EQ(clock(), QStringLiteral("00:00:00"));
    EXPECT_FALSE(form.Timer1.Enabled());
    EXPECT_TRUE(form.Timer2.Enabled());
}

TEST_F(MainWindow, AddAndSubtractActOnThePress)
{
    struct Step
    {
        const char* button;
        Qt::MouseButton mouse;
        const char* counter;
    };
    const Step steps[] = {
        {"HoverImage4", Qt::LeftButton, "000060"},  {"HoverImage4", Qt::LeftButton, "000120"},
        {"HoverImage4", Qt::RightButton, "003720"}, {"HoverImage4", Qt::MiddleButton, "003720"},
        {"HoverImage5", Qt::LeftButton, "003660"},  {"HoverImage5", Qt::RightButton, "000060"},
        {"HoverImage5", Qt::RightButton, "000060"}, {"HoverImage5", Qt::MiddleButton, "000060"},
        {"HoverImage5", Qt::LeftButton, "000000"},
    };
    int n = 0;
    for (const Step& s : steps) {
        press(s.button, s.mouse);
        QTest::mouseRelease(button(s.button), s.mouse);
        EXPECT_EQ(counter(), QString::fromLatin1(s.counter)) << "step " << n << " " << s.button;
        ++n;
    }
    EXPECT_FALSE(form.Timer1.Enabled()) << "adjusting never starts the timer";
}

TEST_F(MainWindow, DoubleClickCountsTwiceOnAddButOnceOnAClickButton)
{
    doubleClick(button("HoverImage4"));
    EXPECT_EQ(form.state().TotalSeconds, 120) << "both presses of a double click add a minute";

    click("HoverImage3");
    form.engine().Tick();
    ASSERT_EQ(form.state().TotalSeconds, 1);
    // A second click would restart the stopwatch from zero; the double click's press must not.
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button("HoverImage3"), &second);
    QTest::mouseRelease(button("HoverImage3"), Qt::LeftButton);
    EXPECT_EQ(form.state().TotalSeconds, 1);
}

TEST_F(MainWindow, ClickButtonsOnlyReactToTheLeftButton)
{
    press("HoverImage4", Qt::LeftButton);
    for (const char* name : {"HoverImage6", "HoverImage7", "HoverImage8", "HoverImage3"}) {
        click(name, Qt::RightButton);
        click(name, Qt::MiddleButton);
    }
    EXPECT_FALSE(form.Timer1.Enabled());
    EXPECT_FALSE(form.state().StopwatchMode);
    EXPECT_EQ(form.state().TotalSeconds, 60);
}

TEST_F(MainWindow, AClickNeedsPressAndReleaseOverTheButton)
{
    press("HoverImage4", Qt::LeftButton);
    THoverImage* start = button("HoverImage6");
    QTest::mousePress(start, Qt::LeftButton);
    // Released outside the button: no click.
    QTest::mouseRelease(start, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_FALSE(form.Timer1.Enabled());
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_TRUE(form.Timer1.Enabled());
}

TEST_F(MainWindow, StartPauseStopAndStopwatch)
{
    click("HoverImage6");
    EXPECT_FALSE(form.Timer1.Enabled()) << "start with a total of zero does nothing";

    press("HoverImage4", Qt::LeftButton);
    click("HoverImage6");
    EXPECT_TRUE(form.Timer1.Enabled());
    form.engine().Tick();
    EXPECT_EQ(counter(), QStringLiteral("000059"));
    EXPECT_EQ(clock(), QStringLiteral("00:00:59"));

    click("HoverImage7");
    EXPECT_FALSE(form.Timer1.Enabled());
    EXPECT_EQ(counter(), QStringLiteral("000059"));

    click("HoverImage3");
    EXPECT_TRUE(form.Timer1.Enabled());
    EXPECT_TRUE(form.state().StopwatchMode);
    form.engine().Tick();
    form.engine().Tick();
    EXPECT_EQ(counter(), QStringLiteral("000002"));

    click("HoverImage8");
    EXPECT_FALSE(form.Timer1.Enabled());
    EXPECT_FALSE(form.state().StopwatchMode);
    EXPECT_EQ(clock(), QStringLiteral("00:00:00"));
}

TEST_F(MainWindow, ReadoutSurvivesARepaint)
{
    press("HoverImage4", Qt::RightButton);
    // A dialog closing over the panel repaints it: what was drawn must still be there.
    form.Panel1->repaint();
    form.repaint();
    EXPECT_EQ(counter(), QStringLiteral("003600"));
    EXPECT_EQ(clock(), QStringLiteral("01:00:00"));
}

TEST_F(MainWindow, ClockTickRedrawsOnlyWhileTheCountdownIsOff)
{
    // Clamping happens in the redraw: a negative total left in the state is cleared by the tick.
    form.state().TotalSeconds = -5;
    Q_EMIT form.Timer2.OnTimer();
    EXPECT_EQ(form.state().TotalSeconds, 0);

    form.state().TotalSeconds = -5;
    form.Timer1.setEnabled(true);
    Q_EMIT form.Timer2.OnTimer();
    EXPECT_EQ(form.state().TotalSeconds, -5) << "the countdown redraws for itself";
}

TEST_F(MainWindow, ClockLineShowsTheRegionsPatternsOnTheTwelveHourClock)
{
    EXPECT_EQ(form.Label1->text(), QStringLiteral("12:00")) << "before the first clock tick";
    struct Case
    {
        const char* date;
        const char* time;
        const char* shown;
    };
    const Case cases[] = {
        {"yyyy/M/d", "H:mm:ss", "2024/3/5 3:07:09 pm"},
        {"M/d/yyyy", "h:mm:ss tt", "3/5/2024 3:07:09 pm"},
        {"dd.MM.yyyy", "HH:mm:ss", "05.03.2024 03:07:09 pm"},
    };
    for (const Case& c : cases) {
        platform.datePattern = QString::fromLatin1(c.date);
        platform.clockPattern = QString::fromLatin1(c.time);
        Q_EMIT form.Timer2.OnTimer();
        EXPECT_EQ(form.Label1->text().toStdString(), c.shown) << c.date << " " << c.time;
        EXPECT_GE(form.Label1->width(), form.Label1->sizeHint().width()) << "the line is cut";
    }
}

TEST_F(MainWindow, ClockLineFallsBackWhenTheRegionCannotBeRead)
{
    platform.localeFails = true;
    platform.now = QDateTime(QDate(2024, 3, 5), QTime(9, 30, 0));
    Q_EMIT form.Timer2.OnTimer();
    const QString line = form.Label1->text();
    // "dd mmm yy hh:mm:ss am/pm": the month's name comes from the region.
    EXPECT_TRUE(line.startsWith(QStringLiteral("05 "))) << line.toStdString();
    EXPECT_TRUE(line.endsWith(QStringLiteral(" 24 09:30:00 am"))) << line.toStdString();
}

TEST_F(MainWindow, MinimiseAsksThePlatformAndTimersGoOn)
{
    press("HoverImage4", Qt::LeftButton);
    click("HoverImage6");
    click("HoverImage10");
    EXPECT_EQ(platform.callsTo(QStringLiteral("minimiseApplication")),
              QStringList{QStringLiteral("minimiseApplication")});
    EXPECT_TRUE(form.Timer1.Enabled());
    EXPECT_TRUE(form.Timer2.Enabled());
}

TEST_F(MainWindow, CloseButtonClosesTheMainWindowEvenWhileCounting)
{
    press("HoverImage4", Qt::LeftButton);
    click("HoverImage6");
    QSignalSpy quitting(qApp, &QCoreApplication::aboutToQuit);
    // quit() only takes effect inside the event loop, so run one that the close must end.
    QTimer::singleShot(0, &form, [&] { QTest::mouseClick(button("HoverImage9"), Qt::LeftButton); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
    const int code = QApplication::exec();
    EXPECT_EQ(code, 0) << "the close ended the event loop, not the watchdog";
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindow, FourWindowsInCreationOrderOnlyTheMainOneShown)
{
    EXPECT_EQ(windows.frmActions.windowTitle(), QStringLiteral("操作"));
    EXPECT_EQ(windows.frmSetTime.windowTitle(), QStringLiteral("设置时间"));
    EXPECT_EQ(windows.frmMsg.windowTitle(), QStringLiteral("信息"));
    EXPECT_EQ(windows.frmActions.size(), QSize(350, 474));
    EXPECT_EQ(windows.frmSetTime.size(), QSize(351, 227));
    EXPECT_EQ(windows.frmMsg.size(), QSize(599, 101));
    EXPECT_FALSE(windows.frmActions.isVisible());
    EXPECT_FALSE(windows.frmSetTime.isVisible());
    EXPECT_FALSE(windows.frmMsg.isVisible());
}

} // namespace
