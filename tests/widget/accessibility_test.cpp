#include "skin/hoverimage.h"
#include "skin/speedbutton.h"
#include "skin/updown.h"
#include "skin/vclwidgets.h"
#include "support/widgetinput.h"
#include "support/windowstest.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSet>

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>

namespace {

// Everything is asked through QAccessible, as a screen reader asks. The offscreen platform has
// no reader to hear announcements, so what is checked is what a reader finds when it looks.
using Accessibility = WindowsTest;

QString said(QObject* o, QAccessible::Text t = QAccessible::Name)
{
    return QAccessible::queryAccessibleInterface(o)->text(t);
}

bool isChinese(const QString& s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.script() == QChar::Script_Han; });
}

TEST_F(Accessibility, EveryControlIsNamedAndButtonsPressLikeAClick)
{
    const std::pair<QWidget*, const char*> named[] = {
        {&form, "Vokari 倒计时"},
        {&windows.frmActions, "操作"},
        {&windows.frmSetTime, "设置时间"},
        {&windows.frmMsg, "信息"},
    };
    for (const auto& [window, name] : named) {
        EXPECT_EQ(said(window), QString::fromUtf8(name));
        for (QWidget* c : window->findChildren<QWidget*>()) {
            const bool skin = qobject_cast<THoverImage*>(c) || qobject_cast<TSpeedButton*>(c) ||
                              qobject_cast<TUpDown*>(c);
            const bool field = skin || qobject_cast<QLineEdit*>(c);
            if (c->window() != window || !(field || qobject_cast<QAbstractButton*>(c)))
                continue;
            const std::string where = name + (" " + c->objectName().toStdString());
            EXPECT_TRUE(isChinese(said(c))) << where;
            EXPECT_TRUE(!field || !said(c, QAccessible::Description).isEmpty()) << where;
            EXPECT_TRUE(!skin || qobject_cast<TUpDown*>(c) ||
                        QAccessible::queryAccessibleInterface(c)->role() == QAccessible::Button)
                << where;
        }
    }
    QSet<QString> names;
    for (int i = 1; i <= 8; ++i)
        names << said(button(qPrintable(QStringLiteral("HoverImage%1").arg(i))));
    EXPECT_EQ(names.size(), 8) << "a reader must tell the eight buttons apart";

    const QString press = QAccessibleActionInterface::pressAction();
    const TimerState& s = form.state();
    const QLineEdit* hours = windows.frmSetTime.Edit3;
    const std::tuple<QWidget*, QString, std::function<bool()>, const char*> actions[] = {
        {button("HoverImage4"), press, [&] { return s.TotalSeconds == 60; }, "add a minute"},
        {button("HoverImage5"), press, [&] { return s.TotalSeconds == 0; }, "subtract one"},
        {button("HoverImage4"), press, [&] { return s.TotalSeconds == 60; }, "add again"},
        {button("HoverImage6"), press, [&] { return form.engine().tickEnabled(); }, "start"},
        {button("HoverImage7"), press, [&] { return !form.engine().tickEnabled(); }, "pause"},
        {windows.frmSetTime.UpDown3, QAccessibleActionInterface::increaseAction(),
         [&] { return hours->text() == QStringLiteral("1"); }, "hours up"},
        {windows.frmActions.HoverImage8, press,
         [&] { return platform.calls().contains(QStringLiteral("playBuiltInSound 1")); }, "listen"},
    };
    for (const auto& [control, action, happened, what] : actions) {
        QAccessibleActionInterface* a =
            QAccessible::queryAccessibleInterface(control)->actionInterface();
        ASSERT_TRUE(a && a->actionNames().contains(action)) << what;
        a->doAction(action);
        QCoreApplication::sendPostedEvents();
        EXPECT_TRUE(happened()) << what;
    }
}

TEST_F(Accessibility, ReadoutsAndLinesSayWhatTheyShow)
{
    const std::tuple<TimerState, const char*, const char*> cases[] = {
        {{90, 30, 1, 0}, "00:01:30", "000090"},
        {{-30, -30, 0, 0}, "00:00:00", "000000"},
        // Only the leading digits fit.
        {{1000000, 40, 46, 277}, "27:46:40", "100000"},
    };
    for (const auto& [state, shownClock, shownCounter] : cases) {
        form.state() = state;
        form.DrawTime();
        EXPECT_EQ(clock(), QString::fromLatin1(shownClock)) << "drawn";
        EXPECT_EQ(counter(), QString::fromLatin1(shownCounter)) << "drawn";
        for (QAccessible::Text t : {QAccessible::Name, QAccessible::Value}) {
            EXPECT_EQ(said(form.PaintBox1, t), clock());
            EXPECT_EQ(said(form.ptBoxTotTracks, t), counter() + QStringLiteral(" 秒"));
        }
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form.PaintBox1)->role(),
              QAccessible::StaticText);

    form.engine().SetDuration(0, 1, 30);
    form.engine().StartCountdown();
    form.engine().Tick();
    EXPECT_EQ(said(form.PaintBox1, QAccessible::Value), QStringLiteral("00:01:29"));
    EXPECT_EQ(said(form.ptBoxTotTracks, QAccessible::Value), QStringLiteral("000089 秒"));

    // The clock and hint lines are labels read as their changing text.
    Q_EMIT form.Timer2.OnTimer();
    pointAt(button("HoverImage6"));
    EXPECT_EQ(said(form.Label1), form.Label1->text());
    EXPECT_EQ(said(form.Label6), QStringLiteral("开始定时"));
}

} // namespace
