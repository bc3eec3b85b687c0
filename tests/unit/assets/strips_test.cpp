#include "assets/assettable.h"
#include "testimages.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

using TestImages::isBlack;
using TestImages::rgb;

namespace {

GlyphStrip stripOf(const char* window, const char* component)
{
    return Assets::strip(QString::fromLatin1(window), QString::fromLatin1(component));
}

// Seven-segment patterns, segments in the order a (top), b (upper right), c (lower right),
// d (bottom), e (lower left), f (upper left), g (middle).
constexpr std::array<std::array<bool, 7>, 10> kDigitSegments = {{
    {1, 1, 1, 1, 1, 1, 0},
    {0, 1, 1, 0, 0, 0, 0},
    {1, 1, 0, 1, 1, 0, 1},
    {1, 1, 1, 1, 0, 0, 1},
    {0, 1, 1, 0, 0, 1, 1},
    {1, 0, 1, 1, 0, 1, 1},
    {1, 0, 1, 1, 1, 1, 1},
    {1, 1, 1, 0, 0, 0, 0},
    {1, 1, 1, 1, 1, 1, 1},
    {1, 1, 1, 1, 0, 1, 1},
}};
constexpr std::array<const char*, 7> kSegmentNames = {"a", "b", "c", "d", "e", "f", "g"};

const QRgb kCyan = qRgb(0, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kUnlit = qRgb(64, 43, 42);

struct Point
{
    int x, y;
};

} // namespace

TEST(Strips, EveryStripHasItsCellSizeAndCount)
{
    struct Case
    {
        const char* window;
        const char* component;
        const char* resource;
        int cellWidth, cellHeight, count;
    };
    const std::vector<Case> cases = {
        {"Form1", "ImageList1", ":/assets/form1_imagelist1.png", 13, 22, 10},
        {"Form1", "ImageList2", ":/assets/form1_imagelist2.png", 48, 32, 8},
        {"Form1", "ImageList3", ":/assets/form1_imagelist3.png", 40, 74, 11},
        {"frmActions", "ImageList1", ":/assets/frmactions_imagelist1.png", 32, 32, 4},
        {"frmActions", "ImageList2", ":/assets/frmactions_imagelist2.png", 24, 24, 2},
        {"frmSetTime", "ImageList1", ":/assets/frmsettime_imagelist1.png", 32, 32, 2},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.window) + "." + c.component;
        const GlyphStrip strip = stripOf(c.window, c.component);
        ASSERT_FALSE(strip.isNull()) << name;
        EXPECT_EQ(strip.count(), c.count) << name;
        EXPECT_EQ(strip.cellWidth(), c.cellWidth) << name;
        EXPECT_EQ(strip.cellHeight(), c.cellHeight) << name;
        EXPECT_EQ(strip.cell(c.count - 1).size(), QSize(c.cellWidth, c.cellHeight)) << name;
        EXPECT_TRUE(strip.cell(c.count).isNull()) << name;

        // The sheet: four cells to a row, 24-bit, unused cells of the last row black.
        const QImage sheet(QString::fromLatin1(c.resource));
        ASSERT_FALSE(sheet.isNull()) << name << ": " << c.resource;
        EXPECT_FALSE(sheet.hasAlphaChannel()) << name;
        EXPECT_EQ(sheet.size(), QSize(4 * c.cellWidth, (c.count + 3) / 4 * c.cellHeight)) << name;
        for (int i = c.count; i < (c.count + 3) / 4 * 4; ++i) {
            const int ox = (i % 4) * c.cellWidth;
            const int oy = (i / 4) * c.cellHeight;
            for (int y = 0; y < c.cellHeight; ++y) {
                for (int x = 0; x < c.cellWidth; ++x) {
                    ASSERT_TRUE(isBlack(sheet.pixel(ox + x, oy + y)))
                        << name << ": unused cell " << i << " pixel (" << x << ", " << y << ")";
                }
            }
        }
    }
}

TEST(Strips, UnknownStripsAreNull)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"Form1", "ImageList4"}, {"frmMsg", "ImageList1"}, {"frmSetTime", "ImageList2"},
        {"Form1", "Image1"},     {"Form1", "HoverImage4"}, {"Nowhere", "ImageList1"},
        {"form1", "ImageList1"},
    };
    for (const auto& [window, component] : cases)
        EXPECT_TRUE(stripOf(window, component).isNull()) << window << "." << component;
}

TEST(Strips, SmallDigitsShowTheirDigitInCyan)
{
    const GlyphStrip strip = stripOf("Form1", "ImageList1");
    ASSERT_EQ(strip.count(), 10);
    // One pixel of each segment that no other segment shares.
    constexpr std::array<Point, 7> probes = {
        {{6, 0}, {12, 5}, {12, 16}, {6, 21}, {0, 16}, {0, 5}, {6, 10}}};
    for (int d = 0; d < 10; ++d) {
        const QImage cell = strip.cell(d);
        for (int y = 0; y < cell.height(); ++y) {
            for (int x = 0; x < cell.width(); ++x) {
                const QRgb c = cell.pixel(x, y);
                ASSERT_TRUE(isBlack(c) || c == kCyan)
                    << "digit " << d << " pixel (" << x << ", " << y << ") is " << rgb(c);
            }
        }
        for (std::size_t s = 0; s < probes.size(); ++s) {
            const QRgb want = kDigitSegments[d][s] ? kCyan : qRgb(0, 0, 0);
            EXPECT_EQ(cell.pixel(probes[s].x, probes[s].y), want)
                << "digit " << d << " segment " << kSegmentNames[s];
        }
        for (int e = 0; e < d; ++e)
            EXPECT_NE(cell, strip.cell(e)) << "digits " << e << " and " << d << " are the same";
    }
}

TEST(Strips, SmallDigitsFillTheCellAndOneUsesOnlyTheRightColumns)
{
    const GlyphStrip strip = stripOf("Form1", "ImageList1");
    const QImage eight = strip.cell(8);
    for (const Point& p : {Point{0, 0}, Point{12, 0}, Point{0, 21}, Point{12, 21}})
        EXPECT_EQ(eight.pixel(p.x, p.y), kCyan) << "corner (" << p.x << ", " << p.y << ") of 8";

    const QImage one = strip.cell(1);
    for (int y = 0; y < 22; ++y) {
        for (int x = 0; x < 13; ++x) {
            if (x < 11) {
                EXPECT_TRUE(isBlack(one.pixel(x, y))) << "1 lights (" << x << ", " << y << ")";
            }
        }
        EXPECT_EQ(one.pixel(12, y), kCyan) << "1 leaves row " << y << " of column 12 dark";
    }
}

TEST(Strips, LargeDigitsLightTheirSegmentsAndShowTheOthersDark)
{
    const GlyphStrip strip = stripOf("Form1", "ImageList3");
    ASSERT_EQ(strip.count(), 11);
    // The middle of each slanted segment.
    constexpr std::array<Point, 7> probes = {
        {{20, 8}, {32, 22}, {30, 51}, {17, 66}, {5, 51}, {7, 22}, {19, 37}}};
    for (int d = 0; d < 10; ++d) {
        const QImage cell = strip.cell(d);
        for (std::size_t s = 0; s < probes.size(); ++s) {
            const QRgb got = cell.pixel(probes[s].x, probes[s].y);
            const QRgb want = kDigitSegments[d][s] ? kRed : kUnlit;
            EXPECT_EQ(got, want) << "digit " << d << " segment " << kSegmentNames[s] << " is "
                                 << rgb(got);
        }
        for (int e = 0; e < d; ++e)
            EXPECT_NE(cell, strip.cell(e)) << "digits " << e << " and " << d << " are the same";
    }
}

TEST(Strips, LargeDigitsShareOneOutlineInsideTheirBox)
{
    // All seven segments are always drawn, lit or dark, so every digit covers the same
    // pixels; what is lit in any digit is lit in the 8.
    const GlyphStrip strip = stripOf("Form1", "ImageList3");
    const QImage eight = strip.cell(8);
    int left = 40, right = -1, top = 74, bottom = -1;
    for (int y = 0; y < 74; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (!isBlack(eight.pixel(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    EXPECT_GE(left, 1);
    EXPECT_LE(left, 3);
    EXPECT_GE(right, 35);
    EXPECT_LE(right, 37);
    EXPECT_GE(top, 4);
    EXPECT_LE(top, 6);
    EXPECT_GE(bottom, 67);
    EXPECT_LE(bottom, 69);

    for (int d = 0; d < 10; ++d) {
        const QImage cell = strip.cell(d);
        for (int y = 0; y < 74; ++y) {
            for (int x = 0; x < 40; ++x) {
                const QRgb c = cell.pixel(x, y);
                ASSERT_EQ(isBlack(c), isBlack(eight.pixel(x, y)))
                    << "digit " << d << " outline differs at (" << x << ", " << y << ")";
                if (c == kRed) {
                    ASSERT_EQ(eight.pixel(x, y), kRed)
                        << "digit " << d << " lights (" << x << ", " << y << ") that 8 does not";
                }
                // Only red, the dark segment colour and their blends occur.
                ASSERT_TRUE(qGreen(c) <= 43 && qBlue(c) <= 42 && qBlue(c) <= qGreen(c))
                    << "digit " << d << " pixel (" << x << ", " << y << ") is " << rgb(c);
            }
        }
    }
}

TEST(Strips, ColonIsTwoSlantedRedDotsAtTheLeftEdge)
{
    const QImage colon = stripOf("Form1", "ImageList3").cell(10);
    ASSERT_EQ(colon.size(), QSize(40, 74));
    struct Dot
    {
        const char* name;
        int left, right, top, bottom;
        Point centre;
    };
    const std::vector<Dot> dots = {{"upper", 2, 9, 22, 30, {5, 26}},
                                   {"lower", 1, 8, 43, 51, {4, 47}}};
    std::set<std::pair<int, int>> inDots;
    for (const Dot& dot : dots) {
        int core = 0, rim = 0;
        for (int y = dot.top; y <= dot.bottom; ++y) {
            for (int x = dot.left; x <= dot.right; ++x) {
                inDots.insert({x, y});
                const QRgb c = colon.pixel(x, y);
                if (c == kRed)
                    ++core;
                else if (!isBlack(c) && qGreen(c) == 0 && qBlue(c) == 0)
                    ++rim;
            }
        }
        EXPECT_EQ(colon.pixel(dot.centre.x, dot.centre.y), kRed) << dot.name;
        EXPECT_EQ(colon.pixel(dot.centre.x + 1, dot.centre.y), kRed) << dot.name;
        EXPECT_GE(core, 30) << dot.name << " dot core";
        EXPECT_LE(core, 48) << dot.name << " dot core";
        EXPECT_GE(rim, 12) << dot.name << " dot rim";
    }
    for (int y = 0; y < 74; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (!inDots.count({x, y})) {
                ASSERT_TRUE(isBlack(colon.pixel(x, y)))
                    << "colon pixel (" << x << ", " << y << ") is " << rgb(colon.pixel(x, y));
            }
        }
    }
}

TEST(Strips, ButtonIconsAreGreyGradientsOnBlack)
{
    struct Case
    {
        const char* window;
        const char* strip;
        int cell;
        const char* name;
        int topGrey;
        int bottomGrey;
        bool blackCutOut; // a black detail inside the icon
    };
    const std::vector<Case> cases = {
        {"Form1", "ImageList2", 0, "up arrow", 168, 95, false},
        {"Form1", "ImageList2", 1, "down arrow", 168, 95, false},
        {"Form1", "ImageList2", 2, "lightning bolt", 168, 95, false},
        {"Form1", "ImageList2", 3, "stopwatch", 168, 95, true},
        {"Form1", "ImageList2", 4, "clock face", 168, 95, true},
        {"Form1", "ImageList2", 5, "play", 168, 95, false},
        {"Form1", "ImageList2", 6, "pause", 168, 95, false},
        {"Form1", "ImageList2", 7, "stop", 168, 95, false},
        {"frmActions", "ImageList1", 0, "check-mark disc", 168, 95, true},
        {"frmActions", "ImageList1", 1, "cross disc", 168, 95, true},
        {"frmActions", "ImageList1", 2, "question-mark disc", 168, 95, true},
        {"frmActions", "ImageList1", 3, "closed folder", 168, 95, false},
        {"frmActions", "ImageList2", 0, "open folder", 200, 98, false},
        {"frmActions", "ImageList2", 1, "headphones", 168, 95, false},
        {"frmSetTime", "ImageList1", 0, "check-mark disc", 168, 95, true},
        {"frmSetTime", "ImageList1", 1, "cross disc", 168, 95, true},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.window) + "." + c.strip + " cell " +
                                 std::to_string(c.cell) + " (" + c.name + ")";
        const QImage icon = stripOf(c.window, c.strip).cell(c.cell);
        ASSERT_FALSE(icon.isNull()) << name;
        EXPECT_TRUE(isBlack(icon.pixel(0, icon.height() - 1))) << name << ": bottom-left pixel";

        // Each row of the icon has one grey; the greys fall from the top row to the bottom.
        int firstRow = -1, lastRow = -1, firstGrey = 0, lastGrey = 0, previousGrey = 256;
        int pixels = 0;
        for (int y = 0; y < icon.height(); ++y) {
            int rowGrey = -1;
            for (int x = 0; x < icon.width(); ++x) {
                const QRgb p = icon.pixel(x, y);
                if (isBlack(p))
                    continue;
                ++pixels;
                ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) >= 94 &&
                            qRed(p) <= c.topGrey + 1)
                    << name << ": pixel (" << x << ", " << y << ") is " << rgb(p);
                if (rowGrey < 0)
                    rowGrey = qRed(p);
                ASSERT_EQ(qRed(p), rowGrey) << name << ": row " << y << " mixes greys";
            }
            if (rowGrey < 0)
                continue;
            ASSERT_LE(rowGrey, previousGrey) << name << ": grey rises at row " << y;
            previousGrey = rowGrey;
            if (firstRow < 0) {
                firstRow = y;
                firstGrey = rowGrey;
            }
            lastRow = y;
            lastGrey = rowGrey;
        }
        EXPECT_GE(pixels, icon.width() * icon.height() / 8) << name << ": too few icon pixels";
        EXPECT_NEAR(firstGrey, c.topGrey, 2) << name << ": grey of the top row " << firstRow;
        EXPECT_NEAR(lastGrey, c.bottomGrey, 3) << name << ": grey of the bottom row " << lastRow;
        EXPECT_EQ(TestImages::hasEnclosedBlack(icon), c.blackCutOut) << name;
    }
}

TEST(Strips, MainButtonIconsStayInsideTheVisibleColumns)
{
    // The 36-pixel buttons show columns 6-41 of the 48-pixel cells; the icons keep to 9-41.
    const GlyphStrip strip = stripOf("Form1", "ImageList2");
    for (int i = 0; i < strip.count(); ++i) {
        const QImage icon = strip.cell(i);
        for (int y = 0; y < icon.height(); ++y) {
            for (int x = 0; x < icon.width(); ++x) {
                if (x < 9 || x > 41) {
                    ASSERT_TRUE(isBlack(icon.pixel(x, y)))
                        << "cell " << i << " draws at (" << x << ", " << y << ")";
                }
            }
        }
    }
}
