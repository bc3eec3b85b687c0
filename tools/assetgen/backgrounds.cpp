#include "backgrounds.h"

#include "raster.h"

#include <array>

using Raster::isqrt;
using Raster::lerp;

namespace Backgrounds {

namespace {

struct Rgb
{
    int r, g, b;
};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kFace{173, 173, 173};
constexpr Rgb kOutline{84, 82, 83};
constexpr Rgb kHighlight{255, 247, 247};
constexpr Rgb kShadow{66, 66, 66};
constexpr Rgb kLightLine{222, 220, 220};
constexpr Rgb kLightEdge{196, 196, 196};

Rgb mix(Rgb a, Rgb b, std::int64_t num, std::int64_t den)
{
    return {lerp(a.r, b.r, num, den), lerp(a.g, b.g, num, den), lerp(a.b, b.b, num, den)};
}

// Colour of the tile at `depth` (1/64 px) inside its outline. A lit edge faces up or left.
// The bands ease out quadratically, so the light and the dark hug the edges.
Rgb bandColour(std::int64_t depth, bool lit, int band)
{
    constexpr std::int64_t u = Raster::kUnit;
    const std::int64_t end = band * u;
    if (depth >= end)
        return kFace;
    if (lit) {
        if (depth < u)
            return kOutline;
        const std::int64_t rest = end - depth; // distance still to go to the face
        const std::int64_t span = end - u;
        return mix(kFace, kHighlight, rest * rest, span * span);
    }
    if (depth < u)
        return kLightEdge;
    if (depth < 2 * u)
        return kOutline;
    if (depth < 3 * u)
        return kLightLine;
    const std::int64_t rest = end - depth;
    const std::int64_t span = end - 3 * u;
    return mix(kFace, kShadow, rest * rest, span * span);
}

// The colour at one sample point (fixed point), white outside the rounded tile.
Rgb sampleColour(std::int64_t x, std::int64_t y, const Tile& t)
{
    constexpr std::int64_t u = Raster::kUnit;
    const std::int64_t w = t.width * u;
    const std::int64_t h = t.tileHeight * u;
    const std::int64_t r = t.radius * u;
    if (x >= w || y >= h)
        return kWhite;
    // Inside a corner square the depth is measured from the corner arc; elsewhere from the
    // nearest straight edge.
    const bool left = x < r;
    const bool right = x >= w - r;
    const bool top = y < r;
    const bool bottom = y >= h - r;
    if ((left || right) && (top || bottom)) {
        const std::int64_t vx = left ? x - r : x - (w - r);
        const std::int64_t vy = top ? y - r : y - (h - r);
        const std::int64_t depth = r - isqrt(vx * vx + vy * vy);
        if (depth < 0)
            return kWhite;
        return bandColour(depth, vx + vy < 0, t.band);
    }
    const std::array<std::int64_t, 4> d = {x, y, w - x, h - y};
    std::size_t nearest = 0;
    for (std::size_t i = 1; i < d.size(); ++i) {
        if (d[i] < d[nearest])
            nearest = i;
    }
    return bandColour(d[nearest], nearest < 2, t.band);
}

} // namespace

QImage draw(const Tile& tile)
{
    constexpr std::int64_t u = Raster::kUnit;
    QImage out(tile.width, tile.height, QImage::Format_RGB888);
    for (int py = 0; py < tile.height; ++py) {
        for (int px = 0; px < tile.width; ++px) {
            // Average a 4 x 4 grid of samples so the rounded outline is smooth.
            int r = 0, g = 0, b = 0;
            for (int j = 0; j < 4; ++j) {
                for (int i = 0; i < 4; ++i) {
                    const Rgb c = sampleColour(px * u + (2 * i + 1) * u / 8,
                                               py * u + (2 * j + 1) * u / 8, tile);
                    r += c.r;
                    g += c.g;
                    b += c.b;
                }
            }
            out.setPixel(px, py, qRgb((r + 8) / 16, (g + 8) / 16, (b + 8) / 16));
        }
    }
    return out;
}

} // namespace Backgrounds
