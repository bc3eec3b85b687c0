#include "glyphs.h"

#include "raster.h"

#include <algorithm>
#include <array>
#include <vector>

using namespace Raster;

namespace Glyphs {

namespace {

// Lit segments of each digit, in the order a b c d e f g (top, upper right, lower right,
// bottom, lower left, upper left, middle).
constexpr std::array<const char*, 10> kSegments = {
    "1111110", "0110000", "1101101", "1111001", "0110011",
    "1011011", "1011111", "1110000", "1111111", "1111011",
};

bool segmentLit(int digit, int index)
{
    return kSegments[static_cast<std::size_t>(digit)][index] == '1';
}

// Lays the cells out four to a row; cells past the count stay black.
QImage sheet(const std::vector<QImage>& cells, int cellWidth, int cellHeight)
{
    const int rows = (static_cast<int>(cells.size()) + 3) / 4;
    QImage out(4 * cellWidth, rows * cellHeight, QImage::Format_RGB888);
    out.fill(Qt::black);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int ox = static_cast<int>(i % 4) * cellWidth;
        const int oy = static_cast<int>(i / 4) * cellHeight;
        for (int y = 0; y < cellHeight; ++y) {
            for (int x = 0; x < cellWidth; ++x)
                out.setPixel(ox + x, oy + y, cells[i].pixel(x, y));
        }
    }
    return out;
}

QImage blackCell(int width, int height)
{
    QImage cell(width, height, QImage::Format_RGB888);
    cell.fill(Qt::black);
    return cell;
}

// A grey icon on black: the pixels at least half covered take a grey that runs from `top` on
// the icon's first row to `bottom` on its last; everything else is pure black ground.
QImage greyIcon(const Shape& shape, int width, int height, int top = 168, int bottom = 95)
{
    const Coverage cov = render(shape, width, height);
    int first = height;
    int last = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (cov.inside(x, y)) {
                first = std::min(first, y);
                last = std::max(last, y);
            }
        }
    }
    QImage cell = blackCell(width, height);
    const int span = std::max(1, last - first);
    for (int y = first; y <= last; ++y) {
        const int g = lerp(top, bottom, y - first, span);
        for (int x = 0; x < width; ++x) {
            if (cov.inside(x, y))
                cell.setPixel(x, y, qRgb(g, g, g));
        }
    }
    return cell;
}

// --- Small cyan digits -------------------------------------------------------------------

// Each segment is two pixels thick and cut at 45 degrees where it meets its neighbour, so
// the corner pixels belong to both segments and a lit pair closes the corner.
bool smallSegmentHas(int index, int x, int y)
{
    switch (index) {
    case 0: // a
        return (y == 0 && x <= 12) || (y == 1 && x >= 1 && x <= 11);
    case 1: // b
        return (x == 12 && y <= 10) || (x == 11 && y >= 1 && y <= 9);
    case 2: // c
        return (x == 12 && y >= 11) || (x == 11 && y >= 12 && y <= 20);
    case 3: // d
        return (y == 21 && x <= 12) || (y == 20 && x >= 1 && x <= 11);
    case 4: // e
        return (x == 0 && y >= 11) || (x == 1 && y >= 12 && y <= 20);
    case 5: // f
        return (x == 0 && y <= 10) || (x == 1 && y >= 1 && y <= 9);
    default: // g
        return (y == 10 || y == 11) && x >= 1 && x <= 11;
    }
}

QImage smallDigit(int digit)
{
    QImage cell = blackCell(13, 22);
    for (int y = 0; y < 22; ++y) {
        for (int x = 0; x < 13; ++x) {
            for (int s = 0; s < 7; ++s) {
                if (segmentLit(digit, s) && smallSegmentHas(s, x, y))
                    cell.setPixel(x, y, qRgb(0, 255, 255));
            }
        }
    }
    return cell;
}

// --- Large red digits --------------------------------------------------------------------

// The digits lean right by one pixel in 21 rows, measured from their bottom edge.
constexpr double kSlant = 1.0 / 21.0;
constexpr double kBase = 69.0;

Shape largeSegment(int index)
{
    // Centre lines of the upright digit: columns 5 and 30, rows 8, 37 and 66; 6 px thick.
    constexpr double l = 5, r = 30, t = 8, m = 37, b = 66, h = 3, g = 0.9;
    Shape s;
    switch (index) {
    case 0:
        s = segment(l, t, r, t, h, g);
        break;
    case 1:
        s = segment(r, t, r, m, h, g);
        break;
    case 2:
        s = segment(r, m, r, b, h, g);
        break;
    case 3:
        s = segment(l, b, r, b, h, g);
        break;
    case 4:
        s = segment(l, m, l, b, h, g);
        break;
    case 5:
        s = segment(l, t, l, m, h, g);
        break;
    default:
        s = segment(l, m, r, m, h, g);
        break;
    }
    return sheared(s, kSlant, kBase);
}

QImage largeDigit(int digit)
{
    std::vector<Shape> lit;
    std::vector<Shape> unlit;
    for (int s = 0; s < 7; ++s)
        (segmentLit(digit, s) ? lit : unlit).push_back(largeSegment(s));
    const Coverage on = render(unite(lit), 40, 74);
    const Coverage off = render(unite(unlit), 40, 74);
    QImage cell = blackCell(40, 74);
    for (int y = 0; y < 74; ++y) {
        for (int x = 0; x < 40; ++x) {
            // Segments never overlap, so the edge blend of each is simply its coverage.
            const int a = on.at(x, y);
            const int u = off.at(x, y);
            cell.setPixel(x, y,
                          qRgb(lerp(0, 255, a, 16) + lerp(0, 64, u, 16), lerp(0, 43, u, 16),
                               lerp(0, 42, u, 16)));
        }
    }
    return cell;
}

QImage largeColon()
{
    // Two dots on the digits' slant; a dot's half-covered edge pixels form its dimmer rim.
    const Shape dots =
        unite({sheared(ellipse(6.0 - kSlant * (kBase - 26.5), 26.5, 3.5, 4.0), kSlant, kBase),
               sheared(ellipse(5.0 - kSlant * (kBase - 47.5), 47.5, 3.5, 4.0), kSlant, kBase)});
    const Coverage cov = render(dots, 40, 74);
    QImage cell = blackCell(40, 74);
    for (int y = 0; y < 74; ++y) {
        for (int x = 0; x < 10; ++x)
            cell.setPixel(x, y, qRgb(lerp(0, 255, cov.at(x, y), 16), 0, 0));
    }
    return cell;
}

// --- Main window button icons ------------------------------------------------------------

// The icons are centred on column 25.5 of the 48 x 32 cell, inside columns 9-41.
constexpr double kCx = 25.5;

Shape upArrow()
{
    return unite(
        {polygon({pt(kCx, 2), pt(40, 16.5), pt(11, 16.5)}), rect(kCx - 6, 16, kCx + 6, 29.5)});
}

Shape downArrow()
{
    return unite(
        {polygon({pt(kCx, 30), pt(11, 15.5), pt(40, 15.5)}), rect(kCx - 6, 2.5, kCx + 6, 16)});
}

Shape lightningBolt()
{
    return polygon({pt(28, 2), pt(38, 2), pt(31, 10), pt(36, 10), pt(27, 19), pt(32, 19),
                    pt(14, 30), pt(21, 21), pt(17, 21), pt(24, 13), pt(19, 13)});
}

Shape stopwatch()
{
    constexpr double cy = 18;
    const Shape body = unite({
        disc(kCx, cy, 11.5),
        roundedRect(kCx - 2.5, 2, kCx + 2.5, 5, 1),         // crown button
        rect(kCx - 1.25, 4.5, kCx + 1.25, 7.5),             // crown stem
        capsule(kCx - 8, cy - 8, kCx - 9.4, cy - 9.4, 2.1), // studs
        capsule(kCx + 8, cy - 8, kCx + 9.4, cy - 9.4, 2.1),
    });
    // The black circle parts the dial from the ring; the dot marks its centre.
    return subtract(body, unite({ring(kCx, cy, 8.6, 6.9), disc(kCx, cy, 1.7)}));
}

Shape clockFace()
{
    constexpr double cy = 16;
    // A regular octagon of apothem 13 whose corners a slightly smaller circle rounds off.
    const Shape octagon = intersect(
        polygon({pt(kCx - 5.385, cy - 13), pt(kCx + 5.385, cy - 13), pt(kCx + 13, cy - 5.385),
                 pt(kCx + 13, cy + 5.385), pt(kCx + 5.385, cy + 13), pt(kCx - 5.385, cy + 13),
                 pt(kCx - 13, cy + 5.385), pt(kCx - 13, cy - 5.385)}),
        disc(kCx, cy, 13.7));
    const Shape details = unite({
        capsule(kCx, cy, kCx - 4.5, cy - 7.8, 1.3), // hand towards 11 o'clock
        capsule(kCx, cy, kCx + 7.5, cy, 1.3),       // hand towards 3 o'clock
        disc(kCx, cy + 9.8, 1.4),                   // mark near 6 o'clock
        disc(kCx - 4.9, cy + 8.5, 1.4),             // mark near 7 o'clock
    });
    return subtract(octagon, details);
}

Shape play()
{
    return polygon({pt(16.5, 3), pt(39, 16), pt(16.5, 29)});
}

Shape pause()
{
    return unite({roundedRect(15, 4, 22, 28, 1.5), roundedRect(29, 4, 36, 28, 1.5)});
}

Shape stop()
{
    return roundedRect(14, 4.5, 37, 27.5, 2);
}

// --- Dialog button icons -----------------------------------------------------------------

Shape badge(const Shape& symbol)
{
    return subtract(disc(16, 16, 14), symbol);
}

Shape checkBadge()
{
    return badge(unite({capsule(9.5, 16.5, 14, 21, 1.9), capsule(14, 21, 22.5, 10.5, 1.9)}));
}

Shape crossBadge()
{
    return badge(
        unite({capsule(10.5, 10.5, 21.5, 21.5, 1.9), capsule(21.5, 10.5, 10.5, 21.5, 1.9)}));
}

Shape questionBadge()
{
    // The hook: the top half of a ring and its right side down to the stem.
    const Shape hook =
        intersect(ring(16, 12, 5.6, 2.5), unite({rect(0, 0, 32, 12), rect(16, 0, 32, 15.5)}));
    return badge(unite({hook, disc(12.05, 12, 1.55), capsule(19.6, 14.6, 16, 18.2, 1.6),
                        capsule(16, 18.2, 16, 19.6, 1.6), disc(16, 24.2, 1.9)}));
}

Shape closedFolder()
{
    return unite({polygon({pt(3.5, 6.5), pt(12, 6.5), pt(14.5, 10), pt(3.5, 10)}),
                  roundedRect(3.5, 9, 28.5, 26.5, 1.5)});
}

Shape openFolder()
{
    const Shape back =
        unite({polygon({pt(2, 3), pt(8, 3), pt(10, 5.5), pt(2, 5.5)}), rect(2, 5, 18, 19)});
    const Shape front = polygon({pt(6.5, 10), pt(23, 10), pt(19, 21), pt(2, 21)});
    // The front flap is parted from the back by a black gap along its top and left edges,
    // wide enough to stay one open channel down to the ground.
    const Shape gap = unite({capsule(6.5, 10, 23, 10, 1.6), capsule(6.5, 10, 2, 21, 1.6)});
    return unite({subtract(back, gap), front});
}

Shape headphones(double ox, double oy)
{
    const Shape band = intersect(ring(ox + 12, oy + 13, 10, 7.5), rect(ox, oy, ox + 24, oy + 13));
    return unite({band, roundedRect(ox + 2, oy + 12, ox + 7.5, oy + 21, 1.5),
                  roundedRect(ox + 16.5, oy + 12, ox + 22, oy + 21, 1.5)});
}

} // namespace

QImage form1ImageList1()
{
    std::vector<QImage> cells;
    for (int d = 0; d < 10; ++d)
        cells.push_back(smallDigit(d));
    return sheet(cells, 13, 22);
}

QImage form1ImageList3()
{
    std::vector<QImage> cells;
    for (int d = 0; d < 10; ++d)
        cells.push_back(largeDigit(d));
    cells.push_back(largeColon());
    return sheet(cells, 40, 74);
}

QImage form1ImageList2()
{
    const std::vector<Shape> icons = {upArrow(),   downArrow(), lightningBolt(), stopwatch(),
                                      clockFace(), play(),      pause(),         stop()};
    std::vector<QImage> cells;
    for (const Shape& icon : icons)
        cells.push_back(greyIcon(icon, 48, 32));
    return sheet(cells, 48, 32);
}

QImage actionsImageList1()
{
    return sheet({greyIcon(checkBadge(), 32, 32), greyIcon(crossBadge(), 32, 32),
                  greyIcon(questionBadge(), 32, 32), greyIcon(closedFolder(), 32, 32)},
                 32, 32);
}

QImage actionsImageList2()
{
    return sheet({greyIcon(openFolder(), 24, 24, 200, 98), greyIcon(headphones(0, 0), 24, 24)}, 24,
                 24);
}

QImage setTimeImageList1()
{
    return sheet({greyIcon(checkBadge(), 32, 32), greyIcon(crossBadge(), 32, 32)}, 32, 32);
}

QImage actionsHoverImage6()
{
    // The same headphones as the strip cell, shifted by (4, 4) on a 32 x 32 black picture.
    const QImage small = greyIcon(headphones(0, 0), 24, 24);
    QImage out = blackCell(32, 32);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x)
            out.setPixel(x + 4, y + 4, small.pixel(x, y));
    }
    return out;
}

QImage closeGlyph()
{
    // Black runs per row, as [first, last] column pairs.
    struct Run
    {
        int row, first, last;
    };
    constexpr Run runs[] = {{1, 2, 3}, {1, 8, 9}, {2, 3, 4}, {2, 7, 8}, {3, 4, 7}, {4, 5, 6},
                            {5, 4, 7}, {6, 3, 4}, {6, 7, 8}, {7, 2, 3}, {7, 8, 9}};
    QImage out(12, 10, QImage::Format_RGB888);
    out.fill(QColor(192, 192, 192));
    for (const Run& r : runs) {
        for (int x = r.first; x <= r.last; ++x)
            out.setPixel(x, r.row, qRgb(0, 0, 0));
    }
    return out;
}

QImage minimiseGlyph()
{
    QImage out(12, 10, QImage::Format_RGB888);
    out.fill(QColor(192, 192, 192));
    for (int y = 7; y <= 8; ++y) {
        for (int x = 2; x <= 7; ++x)
            out.setPixel(x, y, qRgb(0, 0, 0));
    }
    return out;
}

} // namespace Glyphs
