#pragma once

#include <QImage>
#include <QRect>

#include <ostream>

namespace e2e {

// How many pixels of an area have each colour the skin uses.
struct PixelCensus
{
    int red = 0;      // exactly (255,0,0): a lit icon or glyph, and the hint text
    int iconGrey = 0; // R=G=B from 94 to 169: an unlit icon; the face around it is lighter
    int black = 0;    // exactly (0,0,0)
    int lit = 0;      // anything but black
    QRect litBounds;  // where the lit pixels are
};

PixelCensus census(const QImage& image);

std::ostream& operator<<(std::ostream& out, const PixelCensus& census);

} // namespace e2e
