#include "skin/hoverimage.h"
#include "skin/speedbutton.h"
#include "skin/updown.h"
#include "skin/vclwidgets.h"
#include "support/pictures.h"
#include "support/widgetinput.h"
#include "support/windowstest.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTimerEvent>

#include <functional>
#include <gtest/gtest.h>

namespace {

struct Dialogs : WindowsTest
{
    TfrmSetTime& dialog = windows.frmSetTime;

    // Clicks the main window's set-time button and, once the dialog is up, runs `inside`, which
    // must end the showing.
    void withSetTime(const std::function<void()>& inside)
    {
        bool ran = false;
        duringModal(dialog, [&] {
            ran = true;
            ASSERT_TRUE(dialog.isVisible());
            inside();
        });
        QTest::mouseClick(form.HoverImage2, Qt::LeftButton);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(dialog.isVisible());
    }

    void type(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(Dialogs, SetTimeLayout)
{
    EXPECT_EQ(dialog.size(), QSize(351, 227));
    struct Box
    {
        QWidget* widget;
        QRect geometry;
    };
    const Box boxes[] = {
        {dialog.Image1, {0, 0, 351, 227}},        {dialog.Label5, {31, 13, 132, 22}},
        {dialog.SpeedButton3, {296, 8, 17, 17}},  {dialog.HoverImage2, {170, 168, 36, 36}},
        {dialog.HoverImage1, {125, 168, 36, 36}}, {dialog.Panel1, {30, 65, 291, 86}},
        {dialog.Label4, {31, 25, 28, 14}},        {dialog.Label2, {111, 25, 49, 14}},
        {dialog.Label3, {191, 25, 49, 14}},       {dialog.Label6, {5, 5, 63, 16}},
        {dialog.Edit3, {31, 40, 41, 21}},         {dialog.Edit1, {111, 40, 41, 21}},
        {dialog.UpDown1, {152, 40, 16, 21}},      {dialog.UpDown3, {72, 40, 16, 21}},
        {dialog.Edit2, {191, 40, 41, 21}},        {dialog.UpDown2, {232, 40, 16, 21}},
    };
    for (const Box& b : boxes)
        EXPECT_EQ(b.widget->geometry(), b.geometry) << b.widget->objectName().toStdString();
    for (QLineEdit* e : {dialog.Edit3, dialog.Edit1, dialog.Edit2})
        EXPECT_EQ(e->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.Label6->text(), QStringLiteral("设置定时器"));
}

TEST_F(Dialogs, ConfirmingAtOnceSetsZeroAndCancelChangesNothing)
{
    form.engine().SetDuration(0, 2, 0);
    withSetTime([this] { QTest::mouseClick(dialog.HoverImage2, Qt::LeftButton); });
    EXPECT_EQ(form.state().TotalSeconds, 120) << "cancel";
    withSetTime([this] { QTest::mouseClick(dialog.SpeedButton3, Qt::LeftButton); });
    EXPECT_EQ(form.state().TotalSeconds, 120) << "close button";
    withSetTime([this] { QTest::mouseClick(dialog.HoverImage1, Qt::LeftButton); });
    EXPECT_EQ(form.state().TotalSeconds, 0) << "OK with the untouched zeros";
}

TEST_F(Dialogs, ConfirmedDurationReachesTheDisplay)
{
    withSetTime([this] {
        type(dialog.Edit3, QStringLiteral("1"));
        type(dialog.Edit1, QStringLiteral("30"));
        QTest::mouseClick(dialog.HoverImage1, Qt::LeftButton);
    });
    EXPECT_EQ(form.state().TotalSeconds, 5400);
    EXPECT_EQ(clock(), QStringLiteral("01:30:00"));
    EXPECT_EQ(counter(), QStringLiteral("005400"));

    withSetTime([this] {
        type(dialog.Edit3, QStringLiteral("99"));
        type(dialog.Edit1, QStringLiteral("59"));
        type(dialog.Edit2, QStringLiteral("59"));
        QTest::mouseClick(dialog.HoverImage1, Qt::LeftButton);
    });
    EXPECT_EQ(form.state().TotalSeconds, 359999) << "the largest duration";
}

TEST_F(Dialogs, OutOfRangeTextKeepsTheSpinsValueAndStaysInTheEdit)
{
    withSetTime([this] {
        type(dialog.Edit1, QStringLiteral("75"));
        type(dialog.Edit2, QStringLiteral("abc"));
        QTest::mouseClick(dialog.HoverImage1, Qt::LeftButton);
    });
    EXPECT_EQ(form.state().TotalSeconds, 0) << "75 minutes and abc seconds are not taken";
    withSetTime([this] {
        EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("75")) << "the text is not corrected";
        EXPECT_EQ(dialog.Edit2->text(), QStringLiteral("abc"));
        type(dialog.Edit1, QStringLiteral("20"));
        QTest::mouseClick(dialog.HoverImage1, Qt::LeftButton);
    });
    EXPECT_EQ(form.state().TotalSeconds, 1200);
    withSetTime([this] {
        // 20 was taken over; 75 now falls back to it, not to the first zero.
        type(dialog.Edit1, QStringLiteral("75"));
        QTest::mouseClick(dialog.HoverImage1, Qt::LeftButton);
    });
    EXPECT_EQ(form.state().TotalSeconds, 1200);
}

TEST_F(Dialogs, SpinsStepByArrowsAndKeysAndStopAtTheirEnds)
{
    dialog.show();
    auto clickArrow = [](TUpDown* spin, bool up, int times) {
        const QPoint at(spin->width() / 2, up ? 3 : spin->height() - 3);
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(spin, Qt::LeftButton, {}, at);
    };
    clickArrow(dialog.UpDown3, true, 105);
    EXPECT_EQ(dialog.Edit3->text(), QStringLiteral("99"));
    clickArrow(dialog.UpDown3, false, 2);
    EXPECT_EQ(dialog.UpDown3->Position(), 97);
    clickArrow(dialog.UpDown1, false, 3);
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("0")) << "no wrap below zero";
    clickArrow(dialog.UpDown2, true, 70);
    EXPECT_EQ(dialog.Edit2->text(), QStringLiteral("59"));

    // Held, an arrow steps again at each beat of its repeat, which the release stops. The beats
    // are delivered here rather than waited for.
    auto* repeat = dialog.UpDown2->findChild<QTimer*>(QStringLiteral("repeat"));
    ASSERT_NE(repeat, nullptr);
    const QPoint lower(dialog.UpDown2->width() / 2, dialog.UpDown2->height() - 3);
    QTest::mousePress(dialog.UpDown2, Qt::LeftButton, {}, lower);
    ASSERT_TRUE(repeat->isActive()) << "a held arrow does not repeat";
    for (int beat = 0; beat < 3; ++beat) {
        QTimerEvent tick(repeat->timerId());
        QCoreApplication::sendEvent(repeat, &tick);
    }
    EXPECT_EQ(dialog.Edit2->text(), QStringLiteral("55")) << "one step and three repeats";
    QTest::mouseRelease(dialog.UpDown2, Qt::LeftButton, {}, lower);
    EXPECT_FALSE(repeat->isActive()) << "the repeat goes on after the release";

    dialog.Edit1->setFocus();
    QTest::keyClick(dialog.Edit1, Qt::Key_Up);
    QTest::keyClick(dialog.Edit1, Qt::Key_Up);
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("2"));
    QTest::keyClick(dialog.Edit1, Qt::Key_Down);
    EXPECT_EQ(dialog.UpDown1->Position(), 1);
    // Typed text in range is where the next step starts from.
    type(dialog.Edit1, QStringLiteral("58"));
    QTest::keyClick(dialog.Edit1, Qt::Key_Up);
    QTest::keyClick(dialog.Edit1, Qt::Key_Up);
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("59"));
    dialog.hide();
}

TEST_F(Dialogs, TabGoesHoursMinutesSecondsAndFocusIsRemembered)
{
    QWidget* firstFocus = nullptr;
    QWidget* afterTab = nullptr;
    withSetTime([&] {
        firstFocus = dialog.focusWidget();
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        afterTab = dialog.focusWidget();
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible()) << "Escape does not close the dialog";
        dialog.close();
    });
    EXPECT_EQ(firstFocus, dialog.Edit3);
    EXPECT_EQ(afterTab, dialog.Edit1);
    withSetTime([&] {
        EXPECT_EQ(dialog.focusWidget(), dialog.Edit2)
            << "the field last focused; has "
            << (dialog.focusWidget() ? dialog.focusWidget()->objectName().toStdString() : "none");
        dialog.close();
    });
}

TEST_F(Dialogs, OkLightsRedAndComesBackFromItsCell)
{
    // Alone on the screen, so the pointer's moves reach the dialog and nothing beneath it.
    form.hide();
    ASSERT_TRUE(showExposed(dialog));
    const QImage grey = dialog.HoverImage1->grab().toImage();
    QTest::mouseMove(dialog.Image1, QPoint(5, 120));
    pointAt(dialog.HoverImage1);
    EXPECT_TRUE(isLit(dialog.HoverImage1->Picture()));
    QTest::mouseMove(dialog.Image1, QPoint(5, 120));
    EXPECT_EQ(dialog.HoverImage1->Picture().size(), QSize(32, 32));
    EXPECT_EQ(dialog.HoverImage1->grab().toImage(), grey) << "same icon at the same place";
    dialog.hide();
}

TEST_F(Dialogs, SummaryLineFollowsTheActionBoxes)
{
    TfrmActions& actions = windows.frmActions;
    EXPECT_EQ(form.Label4->text(), QStringLiteral("操作:警报")) << "before the first use";
    auto closeWith = [&](const std::function<void()>& change) {
        duringModal(actions, [&] {
            change();
            QTest::mouseClick(actions.HoverImage2, Qt::LeftButton);
        });
        QTest::mouseClick(form.HoverImage1, Qt::LeftButton);
        EXPECT_FALSE(actions.isVisible());
    };
    struct Case
    {
        const char* name;
        std::function<void()> change;
        const char* line;
    };
    const Case cases[] = {
        {"defaults", [] {}, "操作: 警报; "},
        {"all five",
         [&] {
             for (QCheckBox* box :
                  {actions.CheckBox2, actions.CheckBox3, actions.CheckBox4, actions.CheckBox7})
                 QTest::mouseClick(box, Qt::LeftButton);
         },
         "操作: 警报; 信息; 运行; 关机; URL; "},
        {"loop only",
         [&] {
             for (QCheckBox* box : {actions.CheckBox1, actions.CheckBox2, actions.CheckBox3,
                                    actions.CheckBox4, actions.CheckBox7, actions.CheckBox6})
                 QTest::mouseClick(box, Qt::LeftButton);
         },
         "操作: "},
    };
    for (const Case& c : cases) {
        closeWith(c.change);
        EXPECT_EQ(form.Label4->text().toStdString(), c.line) << c.name;
    }
}

TEST_F(Dialogs, MessageWindowShowsTheNewTextInOneWindow)
{
    TfrmMsg& msg = windows.frmMsg;
    EXPECT_EQ(msg.RichEdit1->toPlainText(), QStringLiteral("信息:"));
    EXPECT_EQ(msg.RichEdit1->geometry(), QRect(17, 25, 561, 54));
    EXPECT_EQ(msg.RichEdit1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    msg.showText(QStringLiteral("first"));
    EXPECT_TRUE(msg.isVisible());
    msg.showText(QStringLiteral("second\nline"));
    EXPECT_EQ(msg.RichEdit1->toPlainText(), QStringLiteral("second\nline"));
    int shown = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        shown += w->isVisible() && w->objectName() == QStringLiteral("frmMsg");
    EXPECT_EQ(shown, 1);

    QTest::keyClick(msg.RichEdit1, Qt::Key_Escape);
    EXPECT_TRUE(msg.isVisible()) << "Escape does nothing";
    QTest::mouseClick(msg.SpeedButton1, Qt::LeftButton);
    EXPECT_FALSE(msg.isVisible());
    EXPECT_EQ(msg.RichEdit1->toPlainText(), QStringLiteral("second\nline")) << "closing keeps it";

    msg.showText(QString());
    EXPECT_TRUE(msg.isVisible());
    EXPECT_TRUE(msg.RichEdit1->toPlainText().isEmpty());
}

} // namespace
