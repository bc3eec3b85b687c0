#include "assets/assettable.h"
#include "skin/hoverimage.h"
#include "skin/skinnedwindow.h"
#include "skin/speedbutton.h"
#include "support/pictures.h"
#include "support/widgetinput.h"
#include "support/windowstest.h"

#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kBlack = qRgb(0, 0, 0);

// ---------------------------------------------------------------------------------------------

TEST(Recolouring, EmptyPicturesAreLeftAlone)
{
    THoverImage button;
    for (auto routine : {&MakeImageRed, &MakeBlackRed, &MakeRedBlack}) {
        routine(&button);
        EXPECT_TRUE(button.Picture().isNull());
    }
}

TEST(Recolouring, LightingTwiceIsLightingOnce)
{
    const QImage icon = Assets::picture(QStringLiteral("Form1"), QStringLiteral("HoverImage4"));
    THoverImage button;
    button.setPicture(icon);
    MakeImageRed(&button);
    const QImage once = rgb(button.Picture());
    EXPECT_TRUE(isLit(once));
    MakeImageRed(&button);
    EXPECT_EQ(rgb(button.Picture()), once);

    // The outline is the icon's: exactly its non-black pixels turned red.
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const bool ground = (icon.pixel(x, y) | 0xFF000000u) == kBlack;
            EXPECT_EQ(once.pixel(x, y), ground ? kBlack : kRed) << x << "," << y;
        }
    }

    THoverImage glyph;
    glyph.setPicture(Assets::picture(QStringLiteral("Form1"), QStringLiteral("HoverImage9")));
    MakeBlackRed(&glyph);
    const QImage glyphOnce = rgb(glyph.Picture());
    MakeBlackRed(&glyph);
    EXPECT_EQ(rgb(glyph.Picture()), glyphOnce);
}

TEST(Recolouring, AlmostBlackCountsAsColour)
{
    QImage picture(3, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(1, 0, 0)); // colour 1: the faintest red
    picture.setPixel(1, 0, kBlack);
    picture.setPixel(2, 0, qRgb(0, 0, 1));
    THoverImage a;
    a.setPicture(picture);
    MakeImageRed(&a);
    EXPECT_EQ(a.Picture().pixel(0, 0), kRed);
    EXPECT_EQ(a.Picture().pixel(1, 0), kBlack);
    EXPECT_EQ(a.Picture().pixel(2, 0), kRed);

    THoverImage b;
    b.setPicture(picture);
    MakeBlackRed(&b);
    EXPECT_EQ(b.Picture().pixel(0, 0), qRgb(1, 0, 0));
    EXPECT_EQ(b.Picture().pixel(1, 0), kRed);
}

TEST(Recolouring, CloseAndMinimiseGlyphsComeBackPixelForPixel)
{
    for (const char* name : {"HoverImage9", "HoverImage10"}) {
        const QImage original = Assets::picture(QStringLiteral("Form1"), QLatin1String(name));
        ASSERT_EQ(original.size(), QSize(12, 10)) << name;
        THoverImage glyph;
        glyph.setPicture(original);
        MakeRedBlack(&glyph);
        EXPECT_EQ(glyph.Picture(), original) << name << ": never lit, nothing to darken";
        MakeBlackRed(&glyph);
        EXPECT_NE(glyph.Picture(), original) << name;
        EXPECT_EQ(glyph.Picture().pixel(0, 9) | 0xFF000000u, qRgb(192, 192, 192))
            << name << ": the silver key stays";
        MakeRedBlack(&glyph);
        EXPECT_EQ(glyph.Picture(), original) << name;
    }
}

TEST(Restore, DialogButtonFromItsCellLooksTheSameInItsBox)
{
    const QImage initial =
        Assets::picture(QStringLiteral("frmSetTime"), QStringLiteral("HoverImage1"));
    ASSERT_EQ(initial.size(), QSize(48, 32));
    THoverImage button;
    button.resize(36, 36);
    button.setPicture(initial);
    const QImage before = button.grab().toImage();

    RestoreFromStrip(&button,
                     Assets::strip(QStringLiteral("frmSetTime"), QStringLiteral("ImageList1")), 0);
    EXPECT_EQ(button.Picture().size(), QSize(32, 32));
    EXPECT_EQ(button.grab().toImage(), before);
}

TEST(Restore, AnInvalidCellLeavesThePictureEmpty)
{
    THoverImage button;
    button.setPicture(Assets::picture(QStringLiteral("Form1"), QStringLiteral("HoverImage4")));
    const GlyphStrip strip = Assets::strip(QStringLiteral("Form1"), QStringLiteral("ImageList2"));
    RestoreFromStrip(&button, strip, strip.count());
    EXPECT_TRUE(button.Picture().isNull());
}

// ---------------------------------------------------------------------------------------------

TEST(Frame, SnapsWithinTenPixelsInItsOrder)
{
    const QSize size(351, 347);
    const QRect work(0, 0, 1280, 800);
    struct Case
    {
        const char* name;
        QPoint proposed;
        QRect work;
        QSize size;
        QPoint expected;
    };
    const Case cases[] = {
        {"9 from the left snaps", {9, 200}, work, size, {0, 200}},
        {"10 from the left stays", {10, 200}, work, size, {10, 200}},
        {"9 past the left snaps back", {-9, 200}, work, size, {0, 200}},
        {"9 from the top snaps", {300, 9}, work, size, {300, 0}},
        {"9 from the right snaps", {1280 - 351 - 9, 200}, work, size, {1280 - 351, 200}},
        {"10 from the bottom stays", {300, 800 - 347 - 10}, work, size, {300, 800 - 347 - 10}},
        {"9 from the bottom snaps", {300, 800 - 347 + 9}, work, size, {300, 800 - 347}},
        {"near both sides ends on the right", {5, 0}, QRect(0, 0, 360, 800), size, {9, 0}},
        {"work area less a task bar", {105, 45}, QRect(100, 40, 1180, 700), size, {100, 40}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(snapToWorkArea(c.proposed, c.size, c.work), c.expected) << c.name;
}

TEST(Frame, RoundedRegionCutsTheCorners)
{
    const QRegion region = roundRectRegion(QRect(0, 0, 351, 347));
    for (QPoint out : {QPoint(0, 0), QPoint(2, 2), QPoint(350, 0), QPoint(0, 346), QPoint(350, 346),
                       QPoint(6, 3)})
        EXPECT_FALSE(region.contains(out)) << out.x() << "," << out.y();
    for (QPoint in : {QPoint(175, 0), QPoint(0, 173), QPoint(350, 173), QPoint(175, 346),
                      QPoint(30, 30), QPoint(12, 12), QPoint(30, 0)})
        EXPECT_TRUE(region.contains(in)) << in.x() << "," << in.y();
    EXPECT_EQ(region.boundingRect(), QRect(0, 0, 351, 347));
}

// ---------------------------------------------------------------------------------------------

struct Windows : WindowsTest
{
    // Each main button's picture: 'R' lit, 'n' normal (its strip cell), '?' anything else.
    QString pictures()
    {
        QString states;
        const std::pair<const char*, int> cells[] = {
            {"HoverImage4", 0}, {"HoverImage5", 1}, {"HoverImage1", 2}, {"HoverImage2", 4},
            {"HoverImage6", 5}, {"HoverImage7", 6}, {"HoverImage8", 7}, {"HoverImage3", 3}};
        for (const auto& [name, cell] : cells) {
            const QImage p = button(name)->Picture();
            if (isLit(p))
                states += QLatin1Char('R');
            else if (rgb(p) == rgb(form.ImageList2.cell(cell)))
                states += QLatin1Char('n');
            else
                states += QLatin1Char('?');
        }
        return states;
    }

    void pointAtBackground() { QTest::mouseMove(&form, QPoint(10, 150)); }
};

TEST_F(Windows, WindowsAreRoundedAndPlacedOnTheMainWindowAtFirstShowing)
{
    EXPECT_EQ(form.mask(), roundRectRegion(form.rect()));
    const QRect screen = form.screen()->geometry();
    EXPECT_EQ(form.pos(), QPoint((screen.width() - 351) / 2, (screen.height() - 347) / 2));

    form.move(400, 300);
    const QPoint m = form.pos();
    struct Dialog
    {
        QWidget* window;
        QPoint offset;
    };
    const Dialog dialogs[] = {{&windows.frmActions, {0, -63}},
                              {&windows.frmSetTime, {0, 60}},
                              {&windows.frmMsg, {-124, 123}}};
    for (const Dialog& d : dialogs) {
        EXPECT_EQ(d.window->mask(), roundRectRegion(d.window->rect()))
            << d.window->objectName().toStdString();
        d.window->show();
        EXPECT_EQ(d.window->pos(), m + d.offset) << d.window->objectName().toStdString();
        // Moved by the user, hidden, and the main window moves: it comes back where it was.
        d.window->move(d.window->pos() + QPoint(17, 23));
        const QPoint left = d.window->pos();
        d.window->hide();
        form.move(500, 350);
        d.window->show();
        EXPECT_EQ(d.window->pos(), left) << d.window->objectName().toStdString();
        d.window->hide();
        form.move(m);
    }
}

TEST_F(Windows, HoverTableRowByRow)
{
    pointAtBackground();
    ASSERT_EQ(pictures(), QStringLiteral("nnnnnnnn"));

    struct Step
    {
        const char* to; // a button, or "" for the background
        const char* pictures;
        const char* hint;
    };
    // Order of `pictures`: add, subtract, actions, set time, start, pause, stop, stopwatch.
    const Step steps[] = {
        {"HoverImage4", "Rnnnnnnn", "增加时间"},
        {"HoverImage5", "nRnnnnnn", "减少时间"}, // leaving add restored all
        {"HoverImage2", "nnnRnnnn", "设置定时"}, // leaving subtract restored all
        {"HoverImage3", "nnnnnnnR", "跑表"},     // set time restored only itself
        {"HoverImage6", "nnnnRnnn", "开始定时"}, // start lights alone
        {"HoverImage7", "nnnnnRnn", "暂停定时"},
        {"HoverImage8", "nnnnnnRn", "停止并重置定时"},
        {"HoverImage1", "nnRnnnnn", "设置操作"},
        {"", "nnnnnnnn", ""},
    };
    for (const Step& s : steps) {
        if (*s.to)
            pointAt(button(s.to));
        else
            pointAtBackground();
        EXPECT_EQ(pictures().toStdString(), s.pictures) << "at " << s.to;
        EXPECT_EQ(form.Label6->text(), QString::fromUtf8(s.hint)) << "at " << s.to;
    }
}

TEST_F(Windows, ButtonsThatKeepOthersLitLeaveThemLit)
{
    // Entering set time or stopwatch does not restore the others: a button that missed its
    // leave stays lit until the next resetAll.
    MakeImageRed(button("HoverImage6"));
    pointAt(button("HoverImage2"));
    EXPECT_EQ(pictures(), QStringLiteral("nnnRRnnn"));
    pointAt(button("HoverImage4"));
    EXPECT_EQ(pictures(), QStringLiteral("Rnnnnnnn"));
}

TEST_F(Windows, ClickRulesForThePictureState)
{
    form.engine().SetDuration(0, 1, 0);
    pointAt(button("HoverImage6"));
    QTest::mouseClick(button("HoverImage6"), Qt::LeftButton);
    EXPECT_EQ(pictures(), QStringLiteral("nnnnnnnn")) << "start shows its normal picture";
    EXPECT_TRUE(form.Timer1.Enabled());

    pointAt(button("HoverImage8"));
    QTest::mouseClick(button("HoverImage8"), Qt::LeftButton);
    EXPECT_EQ(pictures(), QStringLiteral("nnnnnnRn")) << "stop stays lit";

    pointAt(button("HoverImage4"));
    QTest::mouseClick(button("HoverImage4"), Qt::LeftButton);
    EXPECT_EQ(pictures(), QStringLiteral("Rnnnnnnn")) << "add stays lit";
}

TEST_F(Windows, LinkLabelAndGlyphs)
{
    MakeImageRed(button("HoverImage7"));
    pointAt(form.Label2);
    EXPECT_EQ(form.Label2->fontColor(), 131579u);
    EXPECT_EQ(pictures(), QStringLiteral("nnnnnnnn"));
    MakeImageRed(button("HoverImage7"));
    pointAtBackground();
    EXPECT_EQ(form.Label2->fontColor(), 6447714u);
    EXPECT_EQ(pictures(), QStringLiteral("nnnnnnnn"));

    QTest::mouseClick(form.Label2, Qt::LeftButton);
    EXPECT_EQ(platform.callsTo(QStringLiteral("openTarget")),
              QStringList{QStringLiteral("openTarget www.vokari.org none")});

    pointAt(button("HoverImage4"));
    const QString hint = form.Label6->text();
    for (const char* name : {"HoverImage9", "HoverImage10"}) {
        const QImage original = button(name)->Picture();
        pointAt(button(name));
        EXPECT_NE(button(name)->Picture(), original) << name;
        EXPECT_EQ(form.Label6->text(), QString()) << "leaving add emptied the hint";
        pointAtBackground();
        EXPECT_EQ(button(name)->Picture(), original) << name;
    }
    EXPECT_FALSE(hint.isEmpty());
}

TEST_F(Windows, AnyButtonOnBackgroundOrTitleDragsNothingElseDoes)
{
    TfrmSetTime& setTime = windows.frmSetTime;
    setTime.show();
    struct Press
    {
        QWidget* source;
        Qt::MouseButton mouse;
        bool moves;
    };
    const Press presses[] = {
        {form.Image1, Qt::RightButton, true},
        {form.Image1, Qt::MiddleButton, true},
        {form.Label3, Qt::LeftButton, true},
        {form.Panel1, Qt::LeftButton, false},
        {form.Label2, Qt::LeftButton, false},
        {button("HoverImage6"), Qt::LeftButton, false},
        {setTime.Image1, Qt::LeftButton, true},
        {setTime.Image1, Qt::RightButton, true},
        {setTime.Label5, Qt::MiddleButton, true},
        {setTime.Panel1, Qt::LeftButton, false},
        // The labels inside the black panel are part of the panel, not of the background.
        {setTime.Label4, Qt::LeftButton, false},
        {setTime.Label2, Qt::LeftButton, false},
        {setTime.Label3, Qt::RightButton, false},
        {setTime.Label6, Qt::LeftButton, false},
    };
    for (const Press& p : presses) {
        QWidget* window = p.source->window();
        window->move(300, 200);
        dragBy(p.source, p.mouse, QPoint(40, 25));
        EXPECT_EQ(window->pos(), p.moves ? QPoint(340, 225) : QPoint(300, 200))
            << window->objectName().toStdString() << " " << p.source->objectName().toStdString()
            << " " << int(p.mouse);
    }
}

TEST_F(Windows, CloseButtonsCloseTheirWindow)
{
    windows.frmMsg.show();
    QTest::mouseClick(windows.frmMsg.SpeedButton1, Qt::LeftButton);
    EXPECT_FALSE(windows.frmMsg.isVisible());

    duringModal(windows.frmSetTime,
                [this] { QTest::mouseClick(windows.frmSetTime.SpeedButton3, Qt::LeftButton); });
    EXPECT_EQ(windows.frmSetTime.exec(), TfrmSetTime::mrCancel)
        << "the close button ends a modal showing with Cancel";
    EXPECT_FALSE(windows.frmSetTime.isVisible());
}

TEST_F(Windows, FlatCloseButtonFramesFollowThePointer)
{
    windows.frmMsg.show();
    TSpeedButton* close = windows.frmMsg.SpeedButton1;
    const QImage flat = close->grab().toImage();
    QTest::mouseMove(close, close->rect().center());
    EXPECT_TRUE(close->isHovered());
    const QImage raised = close->grab().toImage();
    EXPECT_NE(raised, flat);
    QTest::mousePress(close, Qt::LeftButton);
    EXPECT_TRUE(close->isDown());
    EXPECT_NE(close->grab().toImage(), raised);
    QTest::mouseRelease(close, Qt::LeftButton, {}, QPoint(-3, -3));
    EXPECT_TRUE(windows.frmMsg.isVisible()) << "released outside: no click";
}

} // namespace
