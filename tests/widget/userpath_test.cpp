// What a user does with the pointer and the keyboard across the windows: hiding a window under
// the pointer, double clicks, the other mouse buttons, Cancel and a long message.
#include "skin/hoverimage.h"
#include "skin/speedbutton.h"
#include "skin/vclwidgets.h"
#include "support/pictures.h"
#include "support/widgetinput.h"
#include "support/windowstest.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>

#include <functional>
#include <gtest/gtest.h>

namespace {

struct UserPath : WindowsTest
{
    TfrmSetTime& setTime = windows.frmSetTime;
    TfrmActions& actions = windows.frmActions;

    // Whether the control shows its under-the-pointer look: red in its picture (no normal
    // picture holds pure red) or a raised frame.
    static bool looksHovered(QWidget* control)
    {
        if (auto* image = qobject_cast<THoverImage*>(control)) {
            const QImage picture = rgb(image->Picture());
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    if (picture.pixel(x, y) == qRgb(255, 0, 0))
                        return true;
            return false;
        }
        return static_cast<TSpeedButton*>(control)->isHovered();
    }

    // Opens the set-time dialog through the main window's button and runs `inside`, which must
    // end the modal showing.
    void withSetTime(const std::function<void()>& inside)
    {
        duringModal(setTime, inside);
        QTest::mouseClick(form.HoverImage2, Qt::LeftButton);
        EXPECT_FALSE(setTime.isVisible());
    }
};

TEST_F(UserPath, AWindowThatHidesUnderThePointerLeavesItsControlUnlit)
{
    struct Row
    {
        const char* what;
        QWidget* window;
        QWidget* control;
        std::function<void()> hide;
    };
    auto click = [](QWidget* w) { return [w] { QTest::mouseClick(w, Qt::LeftButton); }; };
    const Row rows[] = {
        {"actions: cross", &actions, actions.HoverImage2, click(actions.HoverImage2)},
        {"actions: tick", &actions, actions.HoverImage1, click(actions.HoverImage1)},
        {"set time: OK", &setTime, setTime.HoverImage1, click(setTime.HoverImage1)},
        {"set time: Cancel", &setTime, setTime.HoverImage2, click(setTime.HoverImage2)},
        {"set time: close", &setTime, setTime.SpeedButton3, click(setTime.SpeedButton3)},
        {"message: close", &windows.frmMsg, windows.frmMsg.SpeedButton1,
         click(windows.frmMsg.SpeedButton1)},
        {"main: add, window hidden", &form, form.HoverImage4, [this] { form.hide(); }},
        {"main: close glyph, window hidden", &form, form.HoverImage9, [this] { form.hide(); }},
    };
    for (const Row& r : rows) {
        // Each window alone on the screen, so the pointer reaches it and nothing beneath.
        form.setVisible(r.window == &form);
        ASSERT_TRUE(showExposed(*r.window)) << r.what;
        pointAt(r.control);
        EXPECT_TRUE(looksHovered(r.control)) << r.what;
        r.hide();
        // The leave comes from the event loop, as the pointer's own would.
        QCoreApplication::processEvents();
        ASSERT_FALSE(r.window->isVisible()) << r.what;
        // Nothing else reaches a hidden window's control: this is the look of its next showing.
        EXPECT_FALSE(looksHovered(r.control)) << r.what;
        if (r.window == &form) {
            EXPECT_EQ(form.Label6->text(), QString()) << r.what << ": the hint line is cleared";
        }
    }
}

TEST_F(UserPath, ADoubleClickOnAClickableLabelOrPictureActsOnce)
{
    actions.show();
    struct Row
    {
        const char* what;
        QWidget* control;
        const char* call;
    };
    const Row rows[] = {
        {"main: link label", form.Label2, "openTarget"},
        {"actions: question mark", actions.HoverImage3, "openTarget"},
        {"actions: hidden folder", actions.HoverImage7, "openTarget"},
        {"actions: headphones", actions.HoverImage8, "playBuiltInSound"},
    };
    for (const Row& r : rows) {
        platform.clearCalls();
        doubleClick(r.control);
        EXPECT_EQ(platform.callsTo(QString::fromLatin1(r.call)).size(), 1) << r.what;
    }
}

TEST_F(UserPath, RightAndMiddleClicksOnTheDialogsButtonsDoNothing)
{
    setTime.Edit1->setText(QStringLiteral("7"));
    form.engine().SetDuration(0, 2, 0);
    const QList<std::pair<QWidget*, QWidget*>> buttons = {
        {&setTime, setTime.HoverImage1},  {&setTime, setTime.HoverImage2},
        {&setTime, setTime.SpeedButton3}, {&actions, actions.HoverImage1},
        {&actions, actions.HoverImage2},  {&actions, actions.HoverImage3},
        {&actions, actions.HoverImage4},  {&actions, actions.HoverImage5},
        {&actions, actions.HoverImage8},
    };
    for (const auto& [window, button] : buttons) {
        window->show();
        platform.clearCalls();
        for (Qt::MouseButton mouse : {Qt::RightButton, Qt::MiddleButton}) {
            QTest::mouseClick(button, mouse);
            doubleClick(button, mouse);
        }
        const std::string name = button->objectName().toStdString();
        EXPECT_TRUE(window->isVisible()) << name;
        EXPECT_EQ(platform.calls(), QStringList()) << name;
        window->hide();
    }
    EXPECT_EQ(form.state().TotalSeconds, 120);
    EXPECT_EQ(setTime.Edit1->text(), QStringLiteral("7"));
}

TEST_F(UserPath, TextTypedIntoTheSetTimeDialogSurvivesCancelToTheNextShowing)
{
    form.engine().SetDuration(0, 2, 0);
    withSetTime([this] {
        setTime.Edit3->selectAll();
        QTest::keyClicks(setTime.Edit3, QStringLiteral("12"));
        setTime.Edit1->selectAll();
        QTest::keyClicks(setTime.Edit1, QStringLiteral("75"));
        setTime.Edit2->selectAll();
        QTest::keyClicks(setTime.Edit2, QStringLiteral("x9"));
        QTest::mouseClick(setTime.HoverImage2, Qt::LeftButton);
    });
    EXPECT_EQ(form.state().TotalSeconds, 120);
    QStringList shown;
    withSetTime([&] {
        shown = {setTime.Edit3->text(), setTime.Edit1->text(), setTime.Edit2->text()};
        QTest::mouseClick(setTime.SpeedButton3, Qt::LeftButton);
    });
    EXPECT_EQ(shown,
              (QStringList{QStringLiteral("12"), QStringLiteral("75"), QStringLiteral("x9")}));
}

TEST_F(UserPath, ALongMessageWrapsAtTheFieldsWidthWithoutAScrollBar)
{
    QString text;
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("倒计时结束 %1 ").arg(i);
    windows.frmMsg.showText(text);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&windows.frmMsg));
    const QImage field =
        windows.frmMsg.RichEdit1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Aqua text on black inside a thin frame: a scroll bar would be grey in the strip along the
    // right edge; wrapping gives several bands of text rows.
    int greys = 0;
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < field.height(); ++y) {
        bool text = false;
        for (int x = 0; x < field.width(); ++x) {
            const QColor c = field.pixelColor(x, y);
            if (c.green() > 120 && c.red() < c.green() / 2)
                text = true;
            const bool strip =
                x >= field.width() - 18 && x < field.width() - 3 && y > 2 && y < field.height() - 3;
            if (strip && c.red() > 90 && qAbs(c.red() - c.green()) < 12 &&
                qAbs(c.green() - c.blue()) < 12)
                ++greys;
        }
        bands += (text && !inBand) ? 1 : 0;
        inBand = text;
    }
    EXPECT_EQ(greys, 0);
    EXPECT_GE(bands, 2);
    EXPECT_EQ(windows.frmMsg.RichEdit1->toPlainText(), text) << "nothing of the text is lost";
}

} // namespace
