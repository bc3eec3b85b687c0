// The completion with the real windows and the recording platform: what the user sees of it and
// how it meets the dialogs and the program's close. Time is the fake's tick counter.
#include "platform/toolkit.h"
#include "skin/hoverimage.h"
#include "skin/speedbutton.h"
#include "support/windowstest.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct CompletionWindows : WindowsTest
{
    TfrmActions& actions = windows.frmActions;
    TfrmMsg& msg = windows.frmMsg;

    void SetUp() override
    {
        WindowsTest::SetUp();
        actions.CheckBox1->setChecked(false); // no alarm unless a test asks for one
    }
    void TearDown() override
    {
        msg.hide();
        actions.hide();
    }

    // The tick that finds the countdown at zero.
    void complete()
    {
        form.engine().StopAndReset();
        form.engine().Tick();
    }

    // A click as the window system delivers it, so a window blocked by a modal one ignores it.
    static void systemClick(QWidget* target)
    {
        QWidget* window = target->window();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                          target->mapTo(window, target->rect().center()));
    }

    void message(const QString& text)
    {
        actions.CheckBox2->setChecked(true);
        actions.Memo1->setPlainText(text);
    }
};

TEST_F(CompletionWindows, MessageIsOnScreenWithItsTextBeforeTheProgramStarts)
{
    // That a later showing replaces the text in the one window is the message window's own
    // test; here it is what the user sees at the moment the program starts.
    message(u"first line\nsecond line"_s);
    actions.CheckBox3->setChecked(true);
    actions.Edit1->setText(u"editor"_s);
    QString seenAtLaunch;
    platform.onCall = [&](const QString& call) {
        if (call.startsWith(u"openTarget"_s) && msg.isVisible())
            seenAtLaunch = msg.RichEdit1->toPlainText();
    };
    complete();
    EXPECT_EQ(seenAtLaunch, u"first line\nsecond line"_s);
    EXPECT_EQ(platform.callsTo(u"openTarget"_s), QStringList{u"openTarget editor owner"_s});
}

TEST_F(CompletionWindows, AMessageShownWhileADialogIsOpenWaitsUntilTheDialogCloses)
{
    // Each dialog as its main-window button shows it, modally. The message window belongs to
    // the main window, so the dialog blocks both; once the dialog closes the message is usable.
    for (THoverImage* button : {form.HoverImage1, form.HoverImage2}) {
        SCOPED_TRACE(button->objectName().toStdString());
        bool checked = false;
        QTimer::singleShot(0, &form, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            message(u"done"_s);
            complete();
            ASSERT_TRUE(msg.isVisible());
            systemClick(msg.SpeedButton1);
            EXPECT_TRUE(msg.isVisible()) << "the dialog must block the message window too";
            EXPECT_EQ(QApplication::activeModalWidget(), dialog);
            form.engine().SetDuration(0, 0, 5);
            systemClick(form.HoverImage6);
            EXPECT_FALSE(form.engine().tickEnabled());
            checked = true;
            dialog->close();
        });
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(checked);
        systemClick(msg.SpeedButton1);
        EXPECT_FALSE(msg.isVisible()) << "the message window stays blocked after the dialog";
    }
}

TEST_F(CompletionWindows, IdleSleepIsHeldOffWhileACountdownThatEndsTheSessionRunsAndCompletes)
{
    TimerEngine& engine = form.engine();
    struct Step
    {
        const char* what;
        std::function<void()> act;
        QStringList calls; // to holdIdleSleep and ExitWindowsSession
    };
    const QString hold = u"holdIdleSleep true"_s;
    const QString release = u"holdIdleSleep false"_s;
    const auto powerOffAfterAlarm = [&] {
        actions.CheckBox4->setChecked(true);
        actions.RadioGroup1Items[0]->setChecked(true);
        actions.CheckBox1->setChecked(true);
        actions.Edit4->setText(u"2"_s);
    };
    const Step steps[] = {
        {"power off ticked, nothing running", powerOffAfterAlarm, {}},
        {"start", [&] { engine.SetDuration(0, 0, 30), engine.StartCountdown(); }, {hold}},
        {"a tick", [&] { engine.Tick(); }, {}},
        {"pause", [&] { engine.PauseTimer(); }, {release}},
        {"resume", [&] { engine.StartCountdown(); }, {hold}},
        {"power off unticked", [&] { actions.CheckBox4->setChecked(false); }, {release}},
        {"ticked again", [&] { actions.CheckBox4->setChecked(true); }, {hold}},
        {"stopwatch", [&] { engine.StartStopwatch(); }, {release}},
        {"stop", [&] { engine.StopAndReset(); }, {}},
        {"set and start", [&] { engine.SetDuration(0, 0, 1), engine.StartCountdown(); }, {hold}},
        // Held through the alarm, until the power-off has been asked for.
        {"the tick that completes",
         [&] { engine.Tick(), engine.Tick(); },
         {u"ExitWindowsSession PowerOff"_s, release}},
    };
    for (const Step& step : steps) {
        platform.clearCalls();
        step.act();
        QStringList calls = platform.calls().filter(QRegularExpression(u"^(holdIdle|ExitWin)"_s));
        EXPECT_EQ(calls, step.calls) << step.what;
    }
    actions.CheckBox4->setChecked(false);
}

TEST_F(CompletionWindows, ClosingDuringTheAlarmEndsTheProgramOnlyAfterItsLastStep)
{
    actions.CheckBox1->setChecked(true);
    actions.Edit4->setText(u"3"_s);
    actions.CheckBox7->setChecked(true);
    actions.CheckBox4->setChecked(true);
    actions.RadioGroup1Items[0]->setChecked(true);
    // The session-end request is still out when the completion ends.
    platform.onCall = [&](const QString& call) {
        if (call.startsWith(u"ExitWindowsSession"_s))
            platform.requestsHang = true;
    };

    int pauses = 0;
    platform.onWait = [&](int ms) {
        platform.tickCounter += static_cast<std::uint32_t>(ms);
        if (++pauses == 1)
            form.close();
    };
    QStringList atQuit;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &form,
                     [&] { atQuit = platform.calls(); });
    QStringList beforeSettling;
    QTimer::singleShot(0, &form, [&] { complete(); });
    // The request is answered a little later; only then may the program end.
    QTimer::singleShot(200, &form, [&] {
        beforeSettling = platform.calls();
        platform.settleRequests();
    });
    QTimer::singleShot(10000, &form, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0) << "the program did not end";

    EXPECT_EQ(platform.callsTo(u"playBuiltInSound"_s).size(), 3);
    EXPECT_TRUE(platform.callsTo(u"waitForEvents cut short"_s).isEmpty())
        << "the close must not cut the alarm's pauses short";
    EXPECT_EQ(platform.callsTo(u"ExitWindowsSession"_s),
              QStringList{u"ExitWindowsSession PowerOff"_s});
    EXPECT_EQ(beforeSettling.size(), atQuit.size()) << "the program ended before the request";
    EXPECT_EQ(
        atQuit.mid(atQuit.size() - 3).join(u" | "_s).toStdString(),
        "openTarget www.vokari.org none | ExitWindowsSession PowerOff | afterPendingRequests");
    EXPECT_FALSE(form.engine().tickEnabled()) << "nothing more may complete once closing";
}

TEST(Wait, AModalDialogOpenedDuringAPauseHoldsItUntilClosed)
{
    bool dialogClosed = false;
    QTimer::singleShot(10, [&] {
        QDialog dialog;
        QTimer::singleShot(150, &dialog, &QDialog::reject);
        dialog.exec();
        dialogClosed = true;
    });
    EXPECT_TRUE(Toolkit::waitForEvents(50));
    EXPECT_TRUE(dialogClosed) << "the pause returned while the dialog was still open";
}

} // namespace

TEST_F(CompletionWindows, TheTaskbarShowsTheCountdownAndCallsForAttentionAtItsEnd)
{
    TimerEngine& engine = form.engine();
    const auto bar = [](const char* state, const char* rest) {
        return u"showOnTaskbar %1 %2 attention=false"_s.arg(QLatin1String(state),
                                                            QLatin1String(rest));
    };
    const QString cleared = bar("none", "0/0 count=0 hover=Vokari");
    struct Step
    {
        const char* what;
        std::function<void()> act;
        QStringList shown; // what the taskbar was told, in order; nothing when nothing changed
    };
    const Step steps[] = {
        {"set before starting", [&] { engine.SetDuration(0, 1, 30); }, {}},
        {"start",
         [&] { engine.StartCountdown(); },
         {bar("running", "0/90 count=2 hover=Vokari 00:01:30")}},
        {"a tick", [&] { engine.Tick(); }, {bar("running", "1/90 count=2 hover=Vokari 00:01:29")}},
        {"pause",
         [&] { engine.PauseTimer(); },
         {bar("paused", "1/90 count=2 hover=Vokari 00:01:29")}},
        {"resume",
         [&] { engine.StartCountdown(); },
         {bar("running", "1/90 count=2 hover=Vokari 00:01:29")}},
        {"add while running",
         [&] { engine.AddMinute(); },
         {bar("running", "0/149 count=3 hover=Vokari 00:02:29")}},
        {"subtract while running",
         [&] { engine.SubtractMinute(); },
         {bar("running", "60/149 count=2 hover=Vokari 00:01:29")}},
        {"set while paused",
         [&] { engine.PauseTimer(), engine.SetDuration(0, 0, 40); },
         {bar("paused", "60/149 count=2 hover=Vokari 00:01:29"),
          bar("paused", "0/40 count=1 hover=Vokari 00:00:40")}},
        {"stop and reset", [&] { engine.StopAndReset(); }, {cleared}},
        {"completion without looping",
         [&] {
             engine.SetDuration(0, 0, 1), engine.StartCountdown(), engine.Tick(), engine.Tick();
         },
         {bar("running", "0/1 count=1 hover=Vokari 00:00:01"),
          bar("running", "1/1 count=0 hover=Vokari 00:00:00"),
          u"showOnTaskbar none 0/0 count=0 hover=Vokari attention=true"_s}},
        {"the main window comes to the front",
         [&] { QApplication::setActiveWindow(&form); },
         {cleared}},
        {"completion with looping",
         [&] {
             actions.CheckBox6->setChecked(true), engine.SetDuration(0, 0, 1),
                 engine.StartCountdown(), engine.Tick(), engine.Tick();
         },
         {bar("running", "0/1 count=1 hover=Vokari 00:00:01"),
          bar("running", "1/1 count=0 hover=Vokari 00:00:00"),
          bar("running", "0/1 count=1 hover=Vokari 00:00:01")}},
        {"stopwatch", [&] { engine.StartStopwatch(); }, {cleared}},
        {"exit while counting down",
         [&] {
             engine.StopAndReset(), engine.SetDuration(0, 0, 9), engine.StartCountdown(),
                 form.close();
         },
         {bar("running", "0/9 count=1 hover=Vokari 00:00:09"), cleared}},
    };
    QApplication::setActiveWindow(nullptr);
    for (const Step& step : steps) {
        platform.clearCalls();
        step.act();
        EXPECT_EQ(platform.callsTo(u"showOnTaskbar"_s).join(u" | "_s).toStdString(),
                  step.shown.join(u" | "_s).toStdString())
            << step.what;
    }
}
