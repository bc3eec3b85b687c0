#include "assets/assettable.h"
#include "testimages.h"

#include <QFile>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>
#include <string>
#include <vector>

using TestImages::isBlack;
using TestImages::rgb;

namespace {

QString s(const char* text)
{
    return QString::fromLatin1(text);
}

QImage pictureOf(const char* window, const char* component)
{
    return Assets::picture(s(window), s(component));
}

// The glyphs as drawn: '#' black, '.' silver.
const std::vector<std::string> kCloseGlyph = {
    "............", //
    "..##....##..", //
    "...##..##...", //
    "....####....", //
    ".....##.....", //
    "....####....", //
    "...##..##...", //
    "..##....##..", //
    "............", //
    "............", //
};
const std::vector<std::string> kMinimiseGlyph = {
    "............", //
    "............", //
    "............", //
    "............", //
    "............", //
    "............", //
    "............", //
    "..######....", //
    "..######....", //
    "............", //
};

} // namespace

TEST(Pictures, EveryEmbeddedFileIsReachable)
{
    // Nothing but the Assets functions registers the resources, so ask one first.
    ASSERT_FALSE(Assets::iconPath().isEmpty());
    const char* files[] = {
        "form1_background.jpg",
        "frmactions_background.jpg",
        "frmsettime_background.jpg",
        "frmmsg_background.jpg",
        "form1_imagelist1.png",
        "form1_imagelist2.png",
        "form1_imagelist3.png",
        "frmactions_imagelist1.png",
        "frmactions_imagelist2.png",
        "frmsettime_imagelist1.png",
        "frmactions_hoverimage6.png",
        "close_glyph.png",
        "minimise_glyph.png",
        "sound1.wav",
        "sound2.wav",
        "sound3.wav",
        "vokari.ico",
    };
    for (const char* file : files) {
        QFile f(QStringLiteral(":/assets/") + s(file));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file;
        EXPECT_GT(f.size(), 40) << file;
    }
    EXPECT_EQ(Assets::iconPath(), QStringLiteral(":/assets/vokari.ico"));
}

TEST(Pictures, ButtonPicturesAreTheirStripCells)
{
    struct Case
    {
        const char* window;
        const char* component;
        const char* strip;
        int cell;
        QImage::Format format;
    };
    const std::vector<Case> cases = {
        {"Form1", "HoverImage4", "ImageList2", 0, QImage::Format_RGB32},
        {"Form1", "HoverImage5", "ImageList2", 1, QImage::Format_RGB32},
        {"Form1", "HoverImage1", "ImageList2", 2, QImage::Format_RGB32},
        {"Form1", "HoverImage3", "ImageList2", 3, QImage::Format_RGB32},
        {"Form1", "HoverImage2", "ImageList2", 4, QImage::Format_RGB32},
        {"Form1", "HoverImage6", "ImageList2", 5, QImage::Format_RGB32},
        {"Form1", "HoverImage7", "ImageList2", 6, QImage::Format_RGB32},
        {"Form1", "HoverImage8", "ImageList2", 7, QImage::Format_RGB32},
        {"frmActions", "HoverImage4", "ImageList2", 0, QImage::Format_RGB32},
        {"frmActions", "HoverImage5", "ImageList2", 0, QImage::Format_RGB32},
        {"frmActions", "HoverImage8", "ImageList2", 1, QImage::Format_RGB888},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.window) + "." + c.component;
        const QImage picture = pictureOf(c.window, c.component);
        const QImage cell = Assets::strip(s(c.window), s(c.strip)).cell(c.cell);
        ASSERT_FALSE(cell.isNull()) << name;
        EXPECT_EQ(picture.format(), c.format) << name;
        EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), cell) << name;
    }
}

TEST(Pictures, DialogButtonsStartWithPaddedCells)
{
    struct Case
    {
        const char* window;
        const char* component;
        int cell;
    };
    const std::vector<Case> cases = {
        {"frmActions", "HoverImage1", 0}, {"frmActions", "HoverImage2", 1},
        {"frmActions", "HoverImage3", 2}, {"frmActions", "HoverImage7", 3},
        {"frmSetTime", "HoverImage1", 0}, {"frmSetTime", "HoverImage2", 1},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.window) + "." + c.component;
        const GlyphStrip strip = Assets::strip(s(c.window), QStringLiteral("ImageList1"));
        const QImage cell = strip.cell(c.cell);
        const QImage initial = pictureOf(c.window, c.component);
        ASSERT_EQ(initial.size(), QSize(48, 32)) << name;
        EXPECT_EQ(initial.format(), QImage::Format_RGB32) << name;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 48; ++x) {
                const QRgb want = x >= 8 && x < 40 ? cell.pixel(x - 8, y) : qRgb(0, 0, 0);
                ASSERT_EQ(initial.pixel(x, y), want)
                    << name << ": pixel (" << x << ", " << y << ") is " << rgb(initial.pixel(x, y));
            }
        }

        // The first restore swaps the 48 x 32 picture for the bare 32 x 32 cell; centred in
        // the 36 x 36 button the icon must not move.
        QImage restored; // a restore empties the picture, then copies the cell into it
        strip.CopyCell(c.cell, restored);
        ASSERT_EQ(restored.size(), QSize(32, 32)) << name;
        EXPECT_EQ(TestImages::centredIn(restored, 36, 36), TestImages::centredIn(initial, 36, 36))
            << name;
        // ...and the whole icon is in view: no pixel of it falls outside the button.
        const QImage shown = TestImages::centredIn(restored, 36, 36);
        int inCell = 0, inButton = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x)
                inCell += isBlack(cell.pixel(x, y)) ? 0 : 1;
        }
        for (int y = 0; y < 36; ++y) {
            for (int x = 0; x < 36; ++x)
                inButton += isBlack(shown.pixel(x, y)) ? 0 : 1;
        }
        EXPECT_GT(inCell, 0) << name;
        EXPECT_EQ(inButton, inCell) << name;
    }
}

TEST(Pictures, CloseAndMinimiseGlyphsArePixelExact)
{
    struct Case
    {
        const char* window;
        const char* component;
        const std::vector<std::string>* glyph;
    };
    const std::vector<Case> cases = {
        {"Form1", "HoverImage9", &kCloseGlyph},
        {"frmSetTime", "SpeedButton3", &kCloseGlyph},
        {"frmMsg", "SpeedButton1", &kCloseGlyph},
        {"Form1", "HoverImage10", &kMinimiseGlyph},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.window) + "." + c.component;
        const QImage glyph = pictureOf(c.window, c.component);
        ASSERT_EQ(glyph.size(), QSize(12, 10)) << name;
        EXPECT_EQ(glyph.format(), QImage::Format_RGB888) << name;
        EXPECT_EQ(glyph.pixel(0, 9), qRgb(192, 192, 192)) << name << ": bottom-left pixel";
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 12; ++x) {
                const bool ink = (*c.glyph)[static_cast<std::size_t>(y)][x] == '#';
                const QRgb want = ink ? qRgb(0, 0, 0) : qRgb(192, 192, 192);
                ASSERT_EQ(glyph.pixel(x, y), want)
                    << name << ": pixel (" << x << ", " << y << ") is " << rgb(glyph.pixel(x, y));
            }
        }
    }
}

TEST(Pictures, HiddenHeadphonesSitAtFourFour)
{
    const QImage picture = pictureOf("frmActions", "HoverImage6");
    const QImage cell = Assets::strip(s("frmActions"), s("ImageList2")).cell(1);
    ASSERT_EQ(picture.size(), QSize(32, 32));
    ASSERT_EQ(cell.size(), QSize(24, 24));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool inside = x >= 4 && x < 28 && y >= 4 && y < 28;
            const QRgb want = inside ? cell.pixel(x - 4, y - 4) : qRgb(0, 0, 0);
            ASSERT_EQ(picture.pixel(x, y), want) << "pixel (" << x << ", " << y << ")";
        }
    }
}

TEST(Pictures, RecolouringAPictureLeavesTheNextCopyAlone)
{
    // Buttons recolour their own picture in place; that must not reach the shared asset.
    for (const char* component : {"HoverImage4", "HoverImage9"}) {
        QImage lit = pictureOf("Form1", component);
        const QImage original = lit.copy();
        for (int y = 0; y < lit.height(); ++y) {
            for (int x = 0; x < lit.width(); ++x)
                lit.setPixel(x, y, qRgb(255, 0, 0));
        }
        EXPECT_EQ(pictureOf("Form1", component), original) << component;
    }
}

TEST(Pictures, ComponentsWithoutAPictureGiveNullImages)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"Form1", "HoverImage11"},     {"Form1", "ImageList2"}, {"frmMsg", "HoverImage1"},
        {"frmSetTime", "HoverImage3"}, {"Nowhere", "Image1"},   {"frmActions", "hoverimage1"},
    };
    for (const auto& [window, component] : cases)
        EXPECT_TRUE(pictureOf(window, component).isNull()) << window << "." << component;
}
