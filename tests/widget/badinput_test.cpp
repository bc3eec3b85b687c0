// Text the program cannot use as it stands, typed into the real dialogs: what each field makes of
// it at OK or at the next completion, and that the typed text itself is never lost or corrected.
// How every repeat-count text converts is the unit completion test's table; here it is the whole
// path from the keyboard through the dialog to the recording platform, on its simulated clock.
#include "skin/hoverimage.h"
#include "skin/updown.h"
#include "support/widgetinput.h"
#include "support/windowstest.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>

using namespace Qt::StringLiterals;

// Failure messages show texts as text.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

struct BadInput : WindowsTest
{
    TfrmActions& actions = windows.frmActions;
    TfrmSetTime& setTime = windows.frmSetTime;
    TfrmMsg& msg = windows.frmMsg;

    void TearDown() override { msg.hide(); }

    // Opens `dialog` with its main-window button and runs `inside` during the modal showing;
    // `inside` must end it.
    void during(QDialog& dialog, THoverImage* button, const std::function<void()>& inside)
    {
        bool ran = false;
        duringModal(dialog, [&] {
            ran = true;
            inside();
        });
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(dialog.isVisible()) << "the showing was not ended";
    }
    void withActions(const std::function<void()>& inside)
    {
        during(actions, form.HoverImage1, [&] {
            inside();
            QTest::mouseClick(actions.HoverImage1, Qt::LeftButton);
        });
    }
    // Ends with OK when `ok`, else with Cancel.
    void withSetTime(bool ok, const std::function<void()>& inside)
    {
        during(setTime, form.HoverImage2, [&] {
            inside();
            QTest::mouseClick(ok ? setTime.HoverImage1 : setTime.HoverImage2, Qt::LeftButton);
        });
    }

    // Check boxes are clicked on their indicator.
    static void tick(QCheckBox* box, bool on)
    {
        if (box->isChecked() != on)
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

    // Replaces the field's text by typing it. QTest's own typing drops whatever is not Latin-1,
    // so each character is its own key press, a character beyond 16 bits arriving whole in one
    // event as the keyboard delivers it.
    static void typeInto(QLineEdit* edit, const QString& text)
    {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype n = text.at(i).isHighSurrogate() ? 2 : 1;
            const QString character = text.mid(i, n);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, character);
            QApplication::sendEvent(edit, &press);
            QApplication::sendEvent(edit, &release);
            i += n - 1;
        }
    }

    // The tick that finds the countdown at zero; the alarm's pauses move the fake's clock on.
    void complete()
    {
        form.engine().StopAndReset();
        form.engine().Tick();
    }
};

TEST_F(BadInput, RepeatCountTextPlaysWhatItSaysAndStaysAsTyped)
{
    struct Row
    {
        QString typed;
        int plays;
    };
    // Out of the spin's 1 to 10 the text still counts as a number; junk plays once.
    const Row rows[] = {
        {u"abc"_s, 1}, {u""_s, 1}, {u" 5"_s, 5}, {u"-3"_s, 0}, {u"0"_s, 0}, {u"99999999999"_s, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE((u"typed \""_s + r.typed + u'"').toStdString());
        withActions([&] {
            tick(actions.CheckBox1, true);
            typeInto(actions.Edit4, r.typed);
        });
        platform.clearCalls();
        complete();
        EXPECT_EQ(platform.callsTo(u"playBuiltInSound"_s).size(), r.plays);
        QString shown;
        withActions([&] { shown = actions.Edit4->text(); });
        EXPECT_EQ(shown, r.typed) << "at the next showing, after the completion";
    }
}

TEST_F(BadInput, AMegabyteMessageIsShownWholeAndKeptInTheDialog)
{
    // Lines of mixed scripts, blanks, tabs and shell syntax up to 1 MiB of UTF-16 units.
    const QString line = u"第%1行\tline ⏰ 𝄞 مرحبا ; rm -rf ~ $(x) `y` 'q' \"d\" | && \n"_s;
    QString message;
    for (int n = 0; message.size() < (1 << 20); ++n)
        message += line.arg(n);
    message.truncate(1 << 20);
    if (message.back().isHighSurrogate())
        message.back() = u'x';

    // Pasted, as a text this long would be.
    QApplication::clipboard()->setText(message);
    withActions([&] {
        tick(actions.CheckBox1, false);
        tick(actions.CheckBox2, true);
        actions.Memo1->setFocus();
        QTest::keyClick(actions.Memo1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(actions.Memo1, Qt::Key_V, Qt::ControlModifier);
    });
    ASSERT_EQ(actions.Memo1->toPlainText().size(), message.size()) << "the paste did not land";

    QElapsedTimer clock;
    clock.start();
    complete();
    const qint64 completionMs = clock.elapsed();
    clock.restart();
    msg.grab();
    const qint64 paintMs = clock.elapsed();
    std::printf("1 MiB message: completion %lld ms, first paint of the window %lld ms\n",
                static_cast<long long>(completionMs), static_cast<long long>(paintMs));

    EXPECT_TRUE(msg.isVisible());
    EXPECT_TRUE(msg.RichEdit1->toPlainText() == message) << "the window shows another text";
    // A generous ceiling: it catches work per character gone wrong, not a timing goal.
    EXPECT_LT(completionMs, 2000);
    bool kept = false;
    withActions([&] { kept = actions.Memo1->toPlainText() == message; });
    EXPECT_TRUE(kept) << "the dialog lost the message";
}

TEST_F(BadInput, ProgramAndUrlTextsReachThePlatformExactlyAsTyped)
{
    // Nothing here is quoted, split, trimmed or re-encoded on the way: the platform receives one
    // call per field carrying the field's text. What the real opener makes of such text is the
    // Linux launcher's test.
    const QString rows[] = {
        u"; rm -rf ~"_s,
        u"$(touch x)"_s,
        u"`touch x`"_s,
        u"a | b"_s,
        u"a && b"_s,
        u"  my program  .exe "_s,
        u"it's"_s,
        u"say \"hi\""_s,
        u"-e"_s,
        u"--help"_s,
        u"⏰"_s,
        u"𝄞"_s,
        u"مرحبا بالعالم"_s,
        u"https://example.com/⏰/𝄞?q=مرحبا&a='b'"_s,
    };
    for (const QString& typed : rows) {
        SCOPED_TRACE((u"typed \""_s + typed + u'"').toStdString());
        withActions([&] {
            tick(actions.CheckBox1, false);
            tick(actions.CheckBox3, true);
            tick(actions.CheckBox7, true);
            typeInto(actions.Edit1, typed);
            typeInto(actions.Edit2, typed);
        });
        platform.clearCalls();
        complete();
        // The program is opened over the main window, the URL over nothing.
        EXPECT_EQ(platform.callsTo(u"openTarget"_s),
                  (QStringList{u"openTarget "_s + typed + u" owner"_s,
                               u"openTarget "_s + typed + u" none"_s}));
        QString program;
        QString url;
        withActions([&] {
            program = actions.Edit1->text();
            url = actions.Edit2->text();
        });
        EXPECT_EQ(program, typed);
        EXPECT_EQ(url, typed);
    }
}

TEST_F(BadInput, SetTimeTakesOnlyWholeNumbersInRangeAndNeverCorrectsTheText)
{
    struct Row
    {
        QString typed;
        std::optional<int> taken; // nullopt: the spin keeps its last value
    };
    const Row rows[] = {
        // Choice: only ASCII digits make a number; another script's three is text.
        {u"٣"_s, std::nullopt},
        // Choice: a leading plus is a sign, so this is the whole number 5.
        {u"+5"_s, 5},
        // Defined: a whole number in range; the leading zero is part of the usual "05".
        {u"05"_s, 5},
        // Defined: not a whole number.
        {u"5.0"_s, std::nullopt},
        // Choice: blanks around the number are ignored, as for the repeat count.
        {u" 7"_s, 7},
        // Defined: out of range for every field, hours included.
        {u"99999"_s, std::nullopt},
    };
    struct Field
    {
        const char* name;
        QLineEdit* edit;
    };
    const Field fields[] = {
        {"hours", setTime.Edit3}, {"minutes", setTime.Edit1}, {"seconds", setTime.Edit2}};
    // Last values unlike every number above, so "kept" and "taken" differ in each field.
    const int known[] = {11, 22, 33};
    auto seconds = [](const int(&hms)[3]) { return hms[0] * 3600 + hms[1] * 60 + hms[2]; };

    for (const Row& r : rows) {
        for (int f = 0; f < 3; ++f) {
            SCOPED_TRACE(std::string(fields[f].name) + " typed \"" + r.typed.toStdString() + '"');
            withSetTime(true, [&] {
                for (int i = 0; i < 3; ++i)
                    typeInto(fields[i].edit, QString::number(known[i]));
            });
            ASSERT_EQ(form.state().TotalSeconds, seconds(known));

            withSetTime(true, [&] { typeInto(fields[f].edit, r.typed); });
            int expected[3] = {known[0], known[1], known[2]};
            if (r.taken)
                expected[f] = *r.taken;
            EXPECT_EQ(form.state().TotalSeconds, seconds(expected));

            // Defined for every row: the text is left as typed.
            QString shown;
            withSetTime(false, [&] { shown = fields[f].edit->text(); });
            EXPECT_EQ(shown, r.typed) << "at the next showing";
        }
    }
}

} // namespace
