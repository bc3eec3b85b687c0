#include "assets/glyphstrip.h"
#include "testimages.h"

#include <QImage>

#include <gtest/gtest.h>
#include <string>
#include <vector>

using TestImages::rgb;

namespace {

// Every pixel of every cell has its own colour, so a copy from the wrong cell or offset shows.
QRgb patternPixel(int cell, int x, int y)
{
    return qRgb(16 * cell + 7, 3 * x + 1, 5 * y + 2);
}

// A sheet laid out four cells to a row; pixels outside the cells stay black. Cell 0 has a
// black pixel of its own so opacity of black ground is exercised too.
QImage makeSheet(int cellWidth, int cellHeight, int count, int columns = 4)
{
    const int rows = (count + columns - 1) / columns;
    QImage sheet(columns * cellWidth, rows * cellHeight, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    for (int i = 0; i < count; ++i) {
        for (int y = 0; y < cellHeight; ++y) {
            for (int x = 0; x < cellWidth; ++x) {
                sheet.setPixel((i % columns) * cellWidth + x, (i / columns) * cellHeight + y,
                               patternPixel(i, x, y));
            }
        }
    }
    sheet.setPixel(1, 1, qRgb(0, 0, 0));
    return sheet;
}

QRgb expectedCellPixel(int cell, int x, int y)
{
    return cell == 0 && x == 1 && y == 1 ? qRgb(0, 0, 0) : patternPixel(cell, x, y);
}

QImage filled(int w, int h, QImage::Format format, QRgb colour)
{
    QImage image(w, h, format);
    image.fill(colour);
    return image;
}

} // namespace

TEST(GlyphStrip, RejectsInconsistentGeometry)
{
    struct Case
    {
        const char* name;
        QImage sheet;
        int cellWidth, cellHeight, count;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"well formed", makeSheet(5, 4, 6), 5, 4, 6, true},
        {"fewer than four cells in a narrower sheet", makeSheet(5, 4, 2, 2), 5, 4, 2, true},
        {"zero count", makeSheet(5, 4, 6), 5, 4, 0, false},
        {"negative count", makeSheet(5, 4, 6), 5, 4, -1, false},
        {"zero cell width", makeSheet(5, 4, 6), 0, 4, 6, false},
        {"negative cell height", makeSheet(5, 4, 6), 5, -4, 6, false},
        {"sheet too narrow for four columns", makeSheet(5, 4, 6, 3), 5, 4, 6, false},
        {"sheet too short for the last row", makeSheet(5, 4, 4), 5, 4, 5, false},
        {"null sheet", QImage(), 5, 4, 1, false},
    };
    for (const Case& c : cases) {
        const GlyphStrip strip(c.sheet, c.cellWidth, c.cellHeight, c.count);
        EXPECT_EQ(strip.isNull(), !c.valid) << c.name;
        if (c.valid) {
            EXPECT_EQ(strip.count(), c.count) << c.name;
            EXPECT_EQ(strip.cellWidth(), c.cellWidth) << c.name;
            EXPECT_EQ(strip.cellHeight(), c.cellHeight) << c.name;
        } else {
            EXPECT_EQ(strip.count(), 0) << c.name;
            EXPECT_TRUE(strip.cell(0).isNull()) << c.name;
        }
    }
}

TEST(GlyphStrip, CellsComeFromTheirPlaceInTheSheet)
{
    const GlyphStrip strip(makeSheet(5, 4, 6), 5, 4, 6);
    for (int i = 0; i < 6; ++i) {
        const QImage cell = strip.cell(i);
        ASSERT_EQ(cell.size(), QSize(5, 4)) << "cell " << i;
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 5; ++x) {
                ASSERT_EQ(cell.pixel(x, y), expectedCellPixel(i, x, y))
                    << "cell " << i << " pixel (" << x << ", " << y << ") is "
                    << rgb(cell.pixel(x, y));
            }
        }
    }
    EXPECT_TRUE(strip.cell(-1).isNull());
    EXPECT_TRUE(strip.cell(6).isNull());
}

TEST(GlyphStrip, DrawCellReplacesExactlyTheCellRectangle)
{
    const GlyphStrip strip(makeSheet(5, 4, 6), 5, 4, 6);
    const QRgb earlier = qRgb(250, 251, 252);
    struct Case
    {
        const char* name;
        QImage::Format format;
        int x, y, index;
        bool draws;
    };
    const std::vector<Case> cases = {
        {"inside", QImage::Format_RGB32, 3, 2, 5, true},
        {"cell with a black pixel", QImage::Format_RGB32, 0, 0, 0, true},
        {"clipped at the left and top", QImage::Format_RGB32, -2, -3, 4, true},
        {"clipped at the right and bottom", QImage::Format_RGB32, 9, 7, 3, true},
        {"24-bit surface", QImage::Format_RGB888, 1, 1, 2, true},
        {"surface with alpha", QImage::Format_ARGB32, 2, 5, 1, true},
        {"entirely outside", QImage::Format_RGB32, 12, 0, 1, false},
        {"index equal to the count", QImage::Format_RGB32, 1, 1, 6, false},
        {"negative index", QImage::Format_RGB32, 1, 1, -1, false},
    };
    for (const Case& c : cases) {
        QImage surface = filled(12, 9, c.format, earlier);
        strip.DrawCell(surface, c.x, c.y, c.index);
        ASSERT_EQ(surface.size(), QSize(12, 9)) << c.name;
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 12; ++x) {
                const bool inCell = c.draws && x >= c.x && x < c.x + 5 && y >= c.y && y < c.y + 4;
                const QRgb want = inCell ? expectedCellPixel(c.index, x - c.x, y - c.y) : earlier;
                ASSERT_EQ(surface.pixel(x, y) | 0xFF000000u, want)
                    << c.name << ": pixel (" << x << ", " << y << ") is "
                    << rgb(surface.pixel(x, y)) << ", expected " << rgb(want);
            }
        }
    }
}

TEST(GlyphStrip, DrawCellOverAnEarlierGlyphLeavesNothingOfIt)
{
    const GlyphStrip strip(makeSheet(5, 4, 6), 5, 4, 6);
    QImage surface = filled(5, 4, QImage::Format_RGB32, qRgb(0, 0, 0));
    strip.DrawCell(surface, 0, 0, 3);
    strip.DrawCell(surface, 0, 0, 0);
    EXPECT_EQ(surface, strip.cell(0));
}

TEST(GlyphStrip, CopyCellOutOfRangeChangesNothing)
{
    const GlyphStrip strip(makeSheet(5, 4, 6), 5, 4, 6);
    for (int index : {-1, 6, 7, 100}) {
        QImage picture = filled(3, 2, QImage::Format_RGB32, qRgb(9, 8, 7));
        const QImage before = picture.copy();
        strip.CopyCell(index, picture);
        EXPECT_EQ(picture, before) << "index " << index;

        QImage empty;
        strip.CopyCell(index, empty);
        EXPECT_TRUE(empty.isNull()) << "index " << index << " on an empty picture";
    }
}

TEST(GlyphStrip, CopyCellResizesThePictureToTheCell)
{
    const GlyphStrip strip(makeSheet(5, 4, 6), 5, 4, 6);
    struct Case
    {
        const char* name;
        QImage picture;
        QImage::Format format;
    };
    const std::vector<Case> cases = {
        {"empty picture", QImage(), QImage::Format_RGB32},
        {"larger 32-bit picture", filled(48, 32, QImage::Format_RGB32, qRgb(1, 2, 3)),
         QImage::Format_RGB32},
        {"smaller 24-bit picture", filled(2, 2, QImage::Format_RGB888, qRgb(1, 2, 3)),
         QImage::Format_RGB888},
    };
    for (const Case& c : cases) {
        for (int index = 0; index < 6; ++index) {
            QImage picture = c.picture;
            strip.CopyCell(index, picture);
            ASSERT_EQ(picture.size(), QSize(5, 4)) << c.name << ", cell " << index;
            EXPECT_EQ(picture.format(), c.format) << c.name << ", cell " << index;
            EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), strip.cell(index))
                << c.name << ", cell " << index;
        }
    }
}
