#include "app/startup.h"
#include "assets/assettable.h"
#include "core/makerpages.h"
#include "skin/hoverimage.h"
#include "skin/updown.h"
#include "support/pictures.h"
#include "support/widgetinput.h"
#include "support/windowstest.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTranslator>

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Failure messages show texts as text.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

QString ticked(bool on)
{
    return on ? QStringLiteral("ticked") : QStringLiteral("clear");
}

// Every option as the completion reads it, one "name=value" line each, so a failure shows
// exactly which option differs.
QStringList readers(const ActionSettings& s)
{
    return {
        QStringLiteral("soundAlarm=") + ticked(s.soundAlarmEnabled()),
        QStringLiteral("builtIn=") + ticked(s.builtInSoundSelected()),
        QStringLiteral("soundFile=") + ticked(s.soundFileSelected()),
        QStringLiteral("soundIndex=%1").arg(s.builtInSoundIndex()),
        QStringLiteral("count=") + s.repeatCountText(),
        QStringLiteral("soundFileText=") + s.soundFileText(),
        QStringLiteral("message=") + ticked(s.messageEnabled()),
        QStringLiteral("messageText=") + s.messageText(),
        QStringLiteral("program=") + ticked(s.programEnabled()),
        QStringLiteral("programText=") + s.programText(),
        QStringLiteral("sessionEnd=") + ticked(s.sessionEndEnabled()),
        QStringLiteral("sessionEndIndex=%1").arg(s.sessionEndIndex()),
        QStringLiteral("url=") + ticked(s.urlEnabled()),
        QStringLiteral("urlText=") + s.urlText(),
        QStringLiteral("loop=") + ticked(s.loopEnabled()),
    };
}

const QStringList kDefaults = {
    QStringLiteral("soundAlarm=ticked"), QStringLiteral("builtIn=ticked"),
    QStringLiteral("soundFile=clear"),   QStringLiteral("soundIndex=0"),
    QStringLiteral("count=5"),           QStringLiteral("soundFileText="),
    QStringLiteral("message=clear"),     QStringLiteral("messageText=信息:"),
    QStringLiteral("program=clear"),     QStringLiteral("programText="),
    QStringLiteral("sessionEnd=clear"),  QStringLiteral("sessionEndIndex=0"),
    QStringLiteral("url=clear"),         QStringLiteral("urlText=") + MakerPages::homePage(),
    QStringLiteral("loop=clear"),
};

// Check boxes and radio buttons are clicked on their indicator, which every caption starts
// with, whatever the caption's length.
void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

void click(THoverImage* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Replaces the edit's text by typing, as the user would.
void typeInto(QLineEdit* edit, const QString& text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void clickSpin(TfrmActions& dialog, int direction)
{
    TUpDown* spin = dialog.UpDown1;
    const int y = direction > 0 ? spin->height() / 4 : spin->height() * 3 / 4;
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, y));
}

struct ActionsDialog : WindowsTest
{
    TfrmActions& dlg = windows.frmActions;

    void SetUp() override { ASSERT_TRUE(showExposed(dlg)); }

    // Shows the dialog modally, runs `whileShown` inside the showing and returns how it ended.
    int showModal(const std::function<void()>& whileShown)
    {
        dlg.hide();
        duringModal(dlg, whileShown);
        return dlg.exec();
    }

    // A point of the background picture clear of every control.
    void pointAtBackground() { QTest::mouseMove(&dlg, QPoint(338, 240)); }
};

// ---------------------------------------------------------------------------------------------

TEST_F(ActionsDialog, StartsWithTheDefaults)
{
    EXPECT_EQ(readers(dlg), kDefaults);

    struct Control
    {
        const char* what;
        QString got;
        QString want;
    };
    const Control controls[] = {
        {"caption", dlg.windowTitle(), QStringLiteral("操作")},
        {"RadioButton2", ticked(dlg.RadioButton2->isChecked()), QStringLiteral("clear")},
        {"cbSnd text", dlg.cbSnd->currentText(), QStringLiteral("蜂鸣声")},
        {"Edit4", dlg.Edit4->text(), QStringLiteral("5")},
        {"Edit3", dlg.Edit3->text(), QString()},
        {"Memo1 lines", QString::number(dlg.Memo1->blockCount()), QStringLiteral("1")},
        {"item 0", ticked(dlg.RadioGroup1Items[0]->isChecked()), QStringLiteral("ticked")},
        {"item 1", ticked(dlg.RadioGroup1Items[1]->isChecked()), QStringLiteral("clear")},
        {"item 2", ticked(dlg.RadioGroup1Items[2]->isChecked()), QStringLiteral("clear")},
        {"Memo1 enabled", ticked(dlg.Memo1->isEnabled()), QStringLiteral("clear")},
        {"RadioGroup1 enabled", ticked(dlg.RadioGroup1->isEnabled()), QStringLiteral("clear")},
        {"HoverImage6 shown", ticked(dlg.HoverImage6->isVisible()), QStringLiteral("clear")},
        {"HoverImage7 shown", ticked(dlg.HoverImage7->isVisible()), QStringLiteral("clear")},
    };
    for (const Control& c : controls)
        EXPECT_EQ(c.got, c.want) << c.what;
}

TEST_F(ActionsDialog, LayoutCaptionsAndFontsFollowTheWindowDesign)
{
    EXPECT_EQ(dlg.size(), QSize(350, 474));
    EXPECT_EQ(dlg.palette().color(QPalette::Window), QColor(173, 173, 173));
    EXPECT_EQ(dlg.font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(dlg.font().pixelSize(), 11);

    struct Box
    {
        const char* name;
        QRect geometry;
        const char* caption; // nullptr where the control has none
        const char* family;  // nullptr where the control keeps the window's font
        int pixels;
        bool bold;
    };
    const Box boxes[] = {
        {"Image1", {0, 0, 350, 474}, nullptr, nullptr, 0, false},
        {"Label3", {91, 10, 150, 18}, "操作管理器", "Courier New", 16, true},
        {"HoverImage1", {110, 410, 36, 36}, nullptr, nullptr, 0, false},
        {"HoverImage2", {155, 410, 36, 36}, nullptr, nullptr, 0, false},
        {"HoverImage3", {200, 410, 36, 36}, nullptr, nullptr, 0, false},
        {"HoverImage4", {299, 80, 24, 24}, nullptr, nullptr, 0, false},
        {"HoverImage5", {299, 250, 24, 24}, nullptr, nullptr, 0, false},
        {"HoverImage6", {38, 8, 32, 32}, nullptr, nullptr, 0, false},
        {"HoverImage7", {35, 410, 36, 36}, nullptr, nullptr, 0, false},
        {"HoverImage8", {211, 48, 24, 24}, nullptr, nullptr, 0, false},
        {"Label1", {248, 52, 29, 13}, "计数", "Tahoma", 11, false},
        {"CheckBox1", {20, 35, 97, 17}, "声音警报", "Courier New", 12, false},
        {"CheckBox2", {20, 110, 116, 17}, "显示信息", "Courier New", 12, false},
        {"Memo1", {20, 130, 301, 89}, nullptr, "Consolas", 11, false},
        {"CheckBox3", {20, 230, 156, 17}, "执行程序", "Courier New", 12, false},
        {"Edit1", {20, 250, 274, 22}, nullptr, "Courier New", 11, false},
        {"CheckBox4", {20, 280, 156, 17}, "关闭 Windows", "Courier New", 12, false},
        {"RadioGroup1", {35, 297, 291, 36}, "选项", "Courier New", 11, false},
        {"CheckBox6", {20, 391, 91, 17}, "循环定时", "Courier New", 12, false},
        {"CheckBox7", {20, 347, 97, 17}, "启动 URL", "Courier New", 12, false},
        {"Edit2", {20, 365, 306, 22}, nullptr, "Courier New", 11, false},
        {"RadioButton1", {29, 50, 126, 17}, "使用内置声音", "Tahoma", 11, false},
        {"RadioButton2", {29, 65, 113, 17}, "播放声音文件", "Tahoma", 11, false},
        {"Edit3", {65, 80, 229, 22}, nullptr, "Courier New", 11, false},
        {"cbSnd", {136, 48, 73, 22}, nullptr, "Courier New", 11, false},
        {"Edit4", {280, 48, 25, 21}, nullptr, "Tahoma", 11, true},
        {"UpDown1", {305, 48, 16, 21}, nullptr, nullptr, 0, false},
    };
    for (const Box& b : boxes) {
        auto* w = dlg.findChild<QWidget*>(QLatin1String(b.name));
        ASSERT_NE(w, nullptr) << b.name;
        EXPECT_EQ(w->parentWidget(), &dlg) << b.name;
        EXPECT_EQ(w->geometry(), b.geometry) << b.name;
        if (b.caption) {
            QString caption;
            if (auto* label = qobject_cast<QLabel*>(w))
                caption = label->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(w))
                caption = button->text();
            else if (auto* group = qobject_cast<QGroupBox*>(w))
                caption = group->title();
            EXPECT_EQ(caption, QString::fromUtf8(b.caption)) << b.name;
        }
        if (b.family) {
            EXPECT_EQ(w->font().family(), QLatin1String(b.family)) << b.name;
            EXPECT_EQ(w->font().pixelSize(), b.pixels) << b.name;
            EXPECT_EQ(w->font().bold(), b.bold) << b.name;
        }
    }

    // The group's items in three columns side by side, inside the group.
    const char* const items[] = {"关机", "重新启动", "注销"};
    for (int i = 0; i < 3; ++i) {
        QRadioButton* item = dlg.RadioGroup1Items[i];
        EXPECT_EQ(item->text(), QString::fromUtf8(items[i])) << "item " << i;
        EXPECT_EQ(item->parentWidget(), dlg.RadioGroup1) << "item " << i;
        EXPECT_TRUE(dlg.RadioGroup1->rect().contains(item->geometry())) << "item " << i;
        if (i > 0) {
            EXPECT_EQ(item->y(), dlg.RadioGroup1Items[0]->y()) << "item " << i;
            EXPECT_GE(item->x(), dlg.RadioGroup1Items[i - 1]->geometry().right()) << "item " << i;
        }
    }
}

TEST_F(ActionsDialog, FieldsAreAquaOnBlackAndCaptionsBlackOverThePicture)
{
    const QColor aqua(0, 255, 255);
    for (QWidget* field : std::initializer_list<QWidget*>{dlg.Edit1, dlg.Edit2, dlg.Edit3,
                                                          dlg.Edit4, dlg.Memo1, dlg.cbSnd}) {
        const QPalette& pal = field->palette();
        EXPECT_EQ(pal.color(QPalette::Active, QPalette::Text), aqua)
            << field->objectName().toStdString();
        EXPECT_EQ(pal.color(QPalette::Active, QPalette::Base), QColor(Qt::black))
            << field->objectName().toStdString();
    }
    EXPECT_EQ(dlg.cbSnd->palette().color(QPalette::ButtonText), aqua);

    QList<QAbstractButton*> captions = {dlg.CheckBox1,    dlg.CheckBox2,   dlg.CheckBox3,
                                        dlg.CheckBox4,    dlg.CheckBox6,   dlg.CheckBox7,
                                        dlg.RadioButton1, dlg.RadioButton2};
    for (QAbstractButton* b : captions) {
        EXPECT_EQ(b->palette().color(QPalette::Active, QPalette::WindowText), QColor(Qt::black))
            << b->objectName().toStdString();
        EXPECT_FALSE(b->autoFillBackground()) << b->objectName().toStdString();
    }

    // The background picture shows through beside a check box's caption.
    const QImage shot = dlg.grab().toImage();
    const QImage picture = dlg.Image1->grab().toImage();
    const QPoint besideCaption = dlg.CheckBox6->geometry().topRight() - QPoint(2, -2);
    EXPECT_EQ(shot.pixel(besideCaption), picture.pixel(besideCaption));
}

// ---------------------------------------------------------------------------------------------

TEST_F(ActionsDialog, OnlyMemoAndGroupFollowTheirBoxesAndNothingElseIsEverDisabled)
{
    const QList<QWidget*> all = dlg.findChildren<QWidget*>();
    auto inside = [](QWidget* outer, QWidget* w) { return w == outer || outer->isAncestorOf(w); };

    QAbstractButton* const clicks[] = {
        dlg.CheckBox2, dlg.CheckBox4, dlg.CheckBox1,    dlg.CheckBox3, dlg.CheckBox7,
        dlg.CheckBox6, dlg.CheckBox2, dlg.RadioButton2, dlg.CheckBox4, dlg.RadioButton1,
        dlg.CheckBox1, dlg.CheckBox3, dlg.CheckBox7,    dlg.CheckBox6,
    };
    int step = 0;
    for (QAbstractButton* b : clicks) {
        ++step;
        const bool before = b->isChecked();
        click(b);
        const std::string at = "step " + std::to_string(step) + " " + b->objectName().toStdString();
        if (qobject_cast<QCheckBox*>(b)) {
            EXPECT_NE(b->isChecked(), before) << at;
        }
        EXPECT_EQ(dlg.Memo1->isEnabled(), dlg.CheckBox2->isChecked()) << at;
        EXPECT_EQ(dlg.RadioGroup1->isEnabled(), dlg.CheckBox4->isChecked()) << at;
        for (QWidget* w : all) {
            if (inside(dlg.Memo1, w) || inside(dlg.RadioGroup1, w))
                continue;
            EXPECT_TRUE(w->isEnabled()) << at << ": " << w->objectName().toStdString() << " "
                                        << w->metaObject()->className();
        }
    }
}

TEST_F(ActionsDialog, ShutDownGroupKeepsItsChoiceWhileGreyedOut)
{
    click(dlg.CheckBox4);
    ASSERT_TRUE(dlg.RadioGroup1->isEnabled());
    EXPECT_EQ(dlg.sessionEndIndex(), 0) << "ticking enables the group on 关机";

    struct Step
    {
        const char* what;
        QAbstractButton* target;
        bool groupEnabled;
        int index;
    };
    const Step steps[] = {
        {"pick 注销", dlg.RadioGroup1Items[2], true, 2},
        {"pick 重新启动", dlg.RadioGroup1Items[1], true, 1},
        {"pick 注销 again", dlg.RadioGroup1Items[2], true, 2},
        {"untick", dlg.CheckBox4, false, 2},
        {"greyed item ignores a click", dlg.RadioGroup1Items[0], false, 2},
        {"tick again", dlg.CheckBox4, true, 2},
    };
    for (const Step& s : steps) {
        click(s.target);
        EXPECT_EQ(dlg.RadioGroup1->isEnabled(), s.groupEnabled) << s.what;
        EXPECT_EQ(dlg.sessionEndIndex(), s.index) << s.what;
        int checked = 0;
        for (QRadioButton* item : dlg.RadioGroup1Items)
            checked += item->isChecked() ? 1 : 0;
        EXPECT_EQ(checked, 1) << s.what << ": one item selected";
    }
}

TEST_F(ActionsDialog, SoundSourcesAreOneExclusivePair)
{
    struct Step
    {
        QRadioButton* target;
        bool builtIn;
    };
    const Step steps[] = {{dlg.RadioButton2, false},
                          {dlg.RadioButton2, false},
                          {dlg.RadioButton1, true},
                          {dlg.RadioButton1, true},
                          {dlg.RadioButton2, false}};
    int step = 0;
    for (const Step& s : steps) {
        ++step;
        click(s.target);
        EXPECT_EQ(dlg.RadioButton1->isChecked(), s.builtIn) << "step " << step;
        EXPECT_EQ(dlg.RadioButton2->isChecked(), !s.builtIn) << "step " << step;
    }
    // The group's items belong to another group: picking one leaves the sound source alone.
    click(dlg.CheckBox4);
    click(dlg.RadioGroup1Items[1]);
    EXPECT_TRUE(dlg.RadioButton2->isChecked());
}

TEST_F(ActionsDialog, SoundListIsAFixedDropDownList)
{
    QComboBox* list = dlg.cbSnd;
    EXPECT_FALSE(list->isEditable());
    ASSERT_EQ(list->count(), 3);
    const char* const items[] = {"蜂鸣声", "警报", "蜂鸣声2"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list->itemText(i), QString::fromUtf8(items[i])) << "item " << i;
        EXPECT_EQ(list->view()->sizeHintForRow(i), 14) << "item " << i;
    }

    // The arrow keys walk the list and stop at its ends; typing adds nothing.
    struct Key
    {
        Qt::Key key;
        int index;
    };
    const Key keys[] = {{Qt::Key_Up, 0},   {Qt::Key_Down, 1}, {Qt::Key_Down, 2},
                        {Qt::Key_Down, 2}, {Qt::Key_Up, 1},   {Qt::Key_Up, 0}};
    int step = 0;
    for (const Key& k : keys) {
        ++step;
        QTest::keyClick(list, k.key);
        EXPECT_EQ(list->currentIndex(), k.index) << "step " << step;
    }
    QTest::keyClicks(list, QStringLiteral("xyz"));
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentIndex(), 0) << "no item starts with the typed letters";
}

// ---------------------------------------------------------------------------------------------

TEST(RepeatCount, SpinStepsWithinOneToTenAndTypedTextStays)
{
    RecordingPlatform platform;
    QWidget host;
    struct Case
    {
        const char* name;
        const char* typed; // nullptr: the start text "5"
        // 'u' and 'd' click the spin's halves, 'U' and 'D' press the arrow keys in the edit.
        const char* steps;
        const char* expected;
    };
    const Case cases[] = {
        {"up five times from 5 reaches 10", nullptr, "uuuuu", "10"},
        {"up past 10 stops there", nullptr, "uuuuuuuu", "10"},
        {"down to the bottom stops at 1", nullptr, "dddddddd", "1"},
        {"down from a typed 1 stays at 1", "1", "d", "1"},
        {"keys step like the arrows", nullptr, "UUD", "6"},
        {"key up stops at 10", "9", "UUU", "10"},
        {"key down stops at 1", "2", "DDD", "1"},
        {"arrows and keys together", nullptr, "uUdD", "5"},
        {"typed text in range is the start", "8", "u", "9"},
        {"typed 10 then down", "10", "d", "9"},
        {"typed 25 steps from the last position", "25", "u", "6"},
        {"typed junk steps from the last position", "abc", "d", "4"},
        {"typed 0 is out of range", "0", "D", "4"},
        {"typed 25 stays as typed", "25", "", "25"},
        {"typed junk stays as typed", "abc", "", "abc"},
        {"typed empty stays empty", "", "", ""},
    };
    for (const Case& c : cases) {
        TfrmActions dialog(platform, &host);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog)) << c.name;
        if (c.typed)
            typeInto(dialog.Edit4, QString::fromUtf8(c.typed));
        for (const char* s = c.steps; *s; ++s) {
            switch (*s) {
            case 'u':
                clickSpin(dialog, +1);
                break;
            case 'd':
                clickSpin(dialog, -1);
                break;
            case 'U':
                QTest::keyClick(dialog.Edit4, Qt::Key_Up);
                break;
            case 'D':
                QTest::keyClick(dialog.Edit4, Qt::Key_Down);
                break;
            }
        }
        EXPECT_EQ(dialog.Edit4->text(), QString::fromUtf8(c.expected)) << c.name;
        EXPECT_EQ(dialog.repeatCountText(), QString::fromUtf8(c.expected)) << c.name;
    }
}

TEST_F(ActionsDialog, SpinIsNoFocusStopAndLeavesTheFocusInTheCount)
{
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    dlg.Edit4->setFocus();
    ASSERT_TRUE(dlg.Edit4->hasFocus());
    clickSpin(dlg, +1);
    EXPECT_TRUE(dlg.Edit4->hasFocus());
    EXPECT_EQ(dlg.Edit4->text(), QStringLiteral("6"));
    EXPECT_EQ(dlg.UpDown1->focusPolicy(), Qt::NoFocus);
}

TEST_F(ActionsDialog, TabWalksTheTabledOrderOverTheEnabledControls)
{
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    auto walk = [this] {
        dlg.CheckBox1->setFocus();
        QStringList order;
        for (int i = 0; i < 20; ++i) {
            QWidget* focus = QApplication::focusWidget();
            if (!focus)
                break;
            order += focus->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
            if (QApplication::focusWidget() == dlg.CheckBox1)
                break;
        }
        return order.join(QLatin1Char(' '));
    };
    EXPECT_EQ(walk().toStdString(), "CheckBox1 CheckBox2 CheckBox3 Edit1 CheckBox4 CheckBox6 "
                                    "CheckBox7 Edit2 RadioButton1 Edit3 cbSnd Edit4")
        << "greyed controls are passed over; a pair of radio buttons is one stop";

    click(dlg.CheckBox2);
    click(dlg.CheckBox4);
    EXPECT_EQ(walk().toStdString(),
              "CheckBox1 CheckBox2 Memo1 CheckBox3 Edit1 CheckBox4 RadioGroup1Item0 CheckBox6 "
              "CheckBox7 Edit2 RadioButton1 Edit3 cbSnd Edit4")
        << "Tab leaves the message for the next control";
}

// ---------------------------------------------------------------------------------------------

TEST_F(ActionsDialog, FolderButtonsChooseFilesAndReopenOnTheLastChoice)
{
    struct Chooser
    {
        const char* name;
        THoverImage* button;
        QLineEdit* edit;
        const char* kind;
    };
    const Chooser choosers[] = {{"sound file", dlg.HoverImage4, dlg.Edit3, "sound"},
                                {"program", dlg.HoverImage5, dlg.Edit1, "program"}};
    for (const Chooser& c : choosers) {
        const QString first = QStringLiteral("/data/%1/first").arg(QLatin1String(c.kind));
        const QString second = QStringLiteral("/data/%1/second").arg(QLatin1String(c.kind));
        auto call = [&](const QString& previous) {
            return QStringLiteral("chooseFile %1 %2 owner").arg(QLatin1String(c.kind), previous);
        };
        struct Step
        {
            const char* what;
            std::optional<QString> answer;
            QString typedBefore;
            QString previous;
            QString edit;
        };
        const Step steps[] = {
            {"first choice opens on nothing", first, {}, {}, first},
            {"cancel leaves typed text", std::nullopt, QStringLiteral("typed by hand"), first,
             QStringLiteral("typed by hand")},
            {"typed text is not where it opens", second, {}, first, second},
            {"cancel after a second choice", std::nullopt, {}, second, second},
        };
        for (const Step& s : steps) {
            if (!s.typedBefore.isEmpty())
                typeInto(c.edit, s.typedBefore);
            platform.clearCalls();
            platform.chosenFile = s.answer;
            click(c.button);
            EXPECT_EQ(platform.calls(), QStringList{call(s.previous)}) << c.name << ": " << s.what;
            EXPECT_EQ(c.edit->text(), s.edit) << c.name << ": " << s.what;
        }
    }
    // Each button remembers its own choice.
    EXPECT_EQ(dlg.Edit3->text(), QStringLiteral("/data/sound/second"));
    EXPECT_EQ(dlg.Edit1->text(), QStringLiteral("/data/program/second"));
}

TEST_F(ActionsDialog, HeadphonesPlayTheSelectedBuiltInSoundOnce)
{
    // Neither the alarm box nor the sound source matters for a test play.
    click(dlg.CheckBox1);
    click(dlg.RadioButton2);
    struct Play
    {
        Qt::Key move; // Qt::Key_unknown: leave the list as it is
        int id;
    };
    const Play plays[] = {{Qt::Key_unknown, 1},
                          {Qt::Key_Down, 2},
                          {Qt::Key_Down, 3},
                          {Qt::Key_Up, 2},
                          {Qt::Key_Up, 1}};
    for (const Play& p : plays) {
        if (p.move != Qt::Key_unknown)
            QTest::keyClick(dlg.cbSnd, p.move);
        platform.clearCalls();
        click(dlg.HoverImage8);
        EXPECT_EQ(platform.calls(), QStringList{QStringLiteral("playBuiltInSound %1").arg(p.id)})
            << "index " << dlg.cbSnd->currentIndex();
    }
}

TEST_F(ActionsDialog, QuestionMarkAndHiddenFolderOpenThePersonalPage)
{
    for (THoverImage* button : {dlg.HoverImage3, dlg.HoverImage7}) {
        platform.clearCalls();
        click(button);
        EXPECT_EQ(platform.calls(),
                  QStringList{QStringLiteral("openTarget %1 none").arg(MakerPages::personalPage())})
            << button->objectName().toStdString();
    }
    EXPECT_TRUE(dlg.isVisible()) << "neither button closes the dialog";
}

// ---------------------------------------------------------------------------------------------

TEST_F(ActionsDialog, HoverLightsRedAndLeavingRestoresTheButtonsOwnCell)
{
    struct Hover
    {
        THoverImage* button;
        const GlyphStrip& strip;
        int cell;
    };
    const Hover hovers[] = {
        {dlg.HoverImage1, dlg.ImageList1, 0}, {dlg.HoverImage2, dlg.ImageList1, 1},
        {dlg.HoverImage3, dlg.ImageList1, 2}, {dlg.HoverImage4, dlg.ImageList2, 0},
        {dlg.HoverImage5, dlg.ImageList2, 0}, {dlg.HoverImage8, dlg.ImageList2, 1},
    };
    pointAtBackground();
    for (const Hover& h : hovers) {
        const std::string name = h.button->objectName().toStdString();
        const QImage before = h.button->grab().toImage();
        pointAt(h.button);
        EXPECT_TRUE(isLit(h.button->Picture())) << name;
        EXPECT_NE(h.button->grab().toImage(), before) << name << " shows red";
        pointAtBackground();
        EXPECT_EQ(h.button->Picture().size(), QSize(h.strip.cellWidth(), h.strip.cellHeight()))
            << name;
        EXPECT_EQ(rgb(h.button->Picture()), rgb(h.strip.cell(h.cell))) << name;
        EXPECT_EQ(h.button->grab().toImage(), before) << name << " looks as it did";
    }

    // Straight from one button to its neighbour: the first is back before the second lights.
    pointAt(dlg.HoverImage1);
    pointAt(dlg.HoverImage2);
    EXPECT_EQ(rgb(dlg.HoverImage1->Picture()), rgb(dlg.ImageList1.cell(0)));
    EXPECT_TRUE(isLit(dlg.HoverImage2->Picture()));
    pointAtBackground();
}

TEST_F(ActionsDialog, HiddenButtonsHoverAsTabledWhenTheyHearThePointer)
{
    // Nobody can point at a hidden button; its handlers are fed the events directly.
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QEvent leave(QEvent::Leave);

    QApplication::sendEvent(dlg.HoverImage7, &enter);
    EXPECT_TRUE(isLit(dlg.HoverImage7->Picture()));
    QApplication::sendEvent(dlg.HoverImage7, &leave);
    EXPECT_EQ(rgb(dlg.HoverImage7->Picture()), rgb(dlg.ImageList1.cell(3)));

    const QImage headphones = rgb(dlg.HoverImage6->Picture());
    ASSERT_FALSE(headphones.isNull());
    QApplication::sendEvent(dlg.HoverImage6, &enter);
    EXPECT_EQ(rgb(dlg.HoverImage6->Picture()), headphones) << "no handlers";
    QApplication::sendEvent(dlg.HoverImage6, &leave);
    EXPECT_EQ(rgb(dlg.HoverImage6->Picture()), headphones) << "no handlers";
}

// ---------------------------------------------------------------------------------------------

TEST_F(ActionsDialog, EnterAndEscapeLeaveTheModalShowingOpen)
{
    struct Press
    {
        QWidget* target;
        Qt::Key key;
    };
    const Press presses[] = {
        {&dlg, Qt::Key_Escape},
        {&dlg, Qt::Key_Return},
        {dlg.Edit1, Qt::Key_Return},
        {dlg.Edit2, Qt::Key_Escape},
        {dlg.Edit4, Qt::Key_Enter},
        {dlg.CheckBox1, Qt::Key_Escape},
        {dlg.cbSnd, Qt::Key_Escape},
        {dlg.cbSnd, Qt::Key_Return},
        {dlg.RadioButton1, Qt::Key_Return},
    };
    QStringList closedBy;
    QString memo;
    const int result = showModal([&] {
        for (const Press& p : presses) {
            QTest::keyClick(p.target, p.key);
            if (!dlg.isVisible())
                closedBy += p.target->objectName();
        }
        click(dlg.CheckBox2);
        QTest::keyClick(dlg.Memo1, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(dlg.Memo1, QStringLiteral("abc"));
        QTest::keyClick(dlg.Memo1, Qt::Key_Return);
        QTest::keyClicks(dlg.Memo1, QStringLiteral("def"));
        if (!dlg.isVisible())
            closedBy += QStringLiteral("Memo1");
        memo = dlg.messageText();
        click(dlg.HoverImage2);
    });
    EXPECT_TRUE(closedBy.isEmpty()) << closedBy.join(QLatin1Char(' ')).toStdString();
    EXPECT_NE(result, kStuck) << "the cross ends the showing";
    EXPECT_EQ(memo, QStringLiteral("信息:abc\ndef")) << "Enter in the message starts a new line";
}

TEST_F(ActionsDialog, BothPictureCloseButtonsEndTheShowing)
{
    for (THoverImage* button : {dlg.HoverImage1, dlg.HoverImage2}) {
        bool shownWhileModal = false;
        const int result = showModal([&] {
            shownWhileModal = dlg.isVisible() && dlg.isModal();
            click(button);
        });
        const std::string name = button->objectName().toStdString();
        EXPECT_TRUE(shownWhileModal) << name;
        EXPECT_NE(result, kStuck) << name;
        EXPECT_FALSE(dlg.isVisible()) << name;
    }
}

TEST_F(ActionsDialog, SecondShowingKeepsEveryValue)
{
    const int first = showModal([&] {
        click(dlg.CheckBox1);
        click(dlg.RadioButton2);
        QTest::keyClick(dlg.cbSnd, Qt::Key_Down);
        QTest::keyClick(dlg.cbSnd, Qt::Key_Down);
        typeInto(dlg.Edit4, QStringLiteral("25"));
        platform.chosenFile = QStringLiteral("/sounds/bell.wav");
        click(dlg.HoverImage4);
        click(dlg.CheckBox2);
        QTest::keyClick(dlg.Memo1, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(dlg.Memo1, Qt::Key_Return);
        QTest::keyClicks(dlg.Memo1, QStringLiteral("time is up"));
        click(dlg.CheckBox3);
        platform.chosenFile = QStringLiteral("/bin/program");
        click(dlg.HoverImage5);
        click(dlg.CheckBox4);
        click(dlg.RadioGroup1Items[1]);
        click(dlg.CheckBox7);
        typeInto(dlg.Edit2, QStringLiteral("example.org/next"));
        click(dlg.CheckBox6);
        click(dlg.HoverImage2);
    });
    ASSERT_NE(first, kStuck);

    QStringList seen;
    bool memoEnabled = false;
    bool groupEnabled = false;
    const int second = showModal([&] {
        seen = readers(dlg);
        memoEnabled = dlg.Memo1->isEnabled();
        groupEnabled = dlg.RadioGroup1->isEnabled();
        // Both choosers open on the file chosen in the first showing.
        platform.clearCalls();
        platform.chosenFile.reset();
        click(dlg.HoverImage4);
        click(dlg.HoverImage5);
        click(dlg.HoverImage1);
    });
    ASSERT_NE(second, kStuck);
    const QStringList expected = {
        QStringLiteral("soundAlarm=clear"),  QStringLiteral("builtIn=clear"),
        QStringLiteral("soundFile=ticked"),  QStringLiteral("soundIndex=2"),
        QStringLiteral("count=25"),          QStringLiteral("soundFileText=/sounds/bell.wav"),
        QStringLiteral("message=ticked"),    QStringLiteral("messageText=信息:\ntime is up"),
        QStringLiteral("program=ticked"),    QStringLiteral("programText=/bin/program"),
        QStringLiteral("sessionEnd=ticked"), QStringLiteral("sessionEndIndex=1"),
        QStringLiteral("url=ticked"),        QStringLiteral("urlText=example.org/next"),
        QStringLiteral("loop=ticked"),
    };
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(memoEnabled);
    EXPECT_TRUE(groupEnabled);
    EXPECT_EQ(platform.calls(),
              (QStringList{QStringLiteral("chooseFile sound /sounds/bell.wav owner"),
                           QStringLiteral("chooseFile program /bin/program owner")}));
}

TEST_F(ActionsDialog, ReadersFollowEachControlLive)
{
    const ActionSettings& settings = dlg;
    ASSERT_EQ(readers(settings), kDefaults);

    // Each change shows in exactly its own reader, while the dialog is still open.
    struct Change
    {
        const char* what;
        std::function<void()> act;
        const char* line; // the reader's line afterwards
    };
    const Change changes[] = {
        {"alarm box", [&] { click(dlg.CheckBox1); }, "soundAlarm=clear"},
        {"sound list", [&] { QTest::keyClick(dlg.cbSnd, Qt::Key_Down); }, "soundIndex=1"},
        {"count", [&] { clickSpin(dlg, -1); }, "count=4"},
        {"sound file", [&] { typeInto(dlg.Edit3, QStringLiteral("ding.wav")); },
         "soundFileText=ding.wav"},
        {"message box", [&] { click(dlg.CheckBox2); }, "message=ticked"},
        {"message text",
         [&] {
             QTest::keyClick(dlg.Memo1, Qt::Key_End, Qt::ControlModifier);
             QTest::keyClicks(dlg.Memo1, QStringLiteral("x"));
         },
         "messageText=信息:x"},
        {"program box", [&] { click(dlg.CheckBox3); }, "program=ticked"},
        {"program", [&] { typeInto(dlg.Edit1, QStringLiteral("notes.txt")); },
         "programText=notes.txt"},
        {"shut-down box", [&] { click(dlg.CheckBox4); }, "sessionEnd=ticked"},
        {"kind of ending", [&] { click(dlg.RadioGroup1Items[2]); }, "sessionEndIndex=2"},
        {"URL box", [&] { click(dlg.CheckBox7); }, "url=ticked"},
        {"URL", [&] { typeInto(dlg.Edit2, QStringLiteral("a.b")); }, "urlText=a.b"},
        {"loop box", [&] { click(dlg.CheckBox6); }, "loop=ticked"},
    };
    QStringList expected = kDefaults;
    for (const Change& c : changes) {
        c.act();
        const QString line = QString::fromUtf8(c.line);
        const QString key = line.section(QLatin1Char('='), 0, 0) + QLatin1Char('=');
        for (QString& e : expected) {
            if (e.startsWith(key))
                e = line;
        }
        EXPECT_EQ(readers(settings), expected) << c.what;
    }

    // The source pair: both readers move together.
    click(dlg.RadioButton2);
    EXPECT_FALSE(settings.builtInSoundSelected());
    EXPECT_TRUE(settings.soundFileSelected());

    // A greyed group still reports its choice.
    click(dlg.CheckBox4);
    ASSERT_FALSE(dlg.RadioGroup1->isEnabled());
    EXPECT_EQ(settings.sessionEndIndex(), 2);
    EXPECT_FALSE(settings.sessionEndEnabled());
}

TEST(QtTexts, TheFileChooserAndTheEditMenuSpeakChinese)
{
    QTranslator* translator = Startup::translateQt();
    ASSERT_NE(translator, nullptr) << "the program carries no translation of Qt's texts";
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QFileDialog chooser;
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    const auto* lookIn = chooser.findChild<QLabel*>(QStringLiteral("lookInLabel"));
    ASSERT_NE(lookIn, nullptr);
    struct Row
    {
        const char* what;
        QString text;
    };
    const Row rows[] = {
        {"the edit menu's first entry", menu->actions().value(0)->text()},
        {"the file chooser's folder label", lookIn->text()},
    };
    for (const Row& row : rows) {
        const bool chinese = std::any_of(row.text.begin(), row.text.end(), [](QChar c) {
            return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF;
        });
        EXPECT_TRUE(chinese) << row.what << ": " << row.text.toStdString();
    }
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

} // namespace
