#include "appicon.h"

#include "raster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

using namespace Raster;

namespace AppIcon {

namespace {

struct Rgb
{
    int r = 0, g = 0, b = 0;
    bool operator<(const Rgb& o) const { return std::array{r, g, b} < std::array{o.r, o.g, o.b}; }
    bool operator==(const Rgb& o) const = default;
};

Rgb mix(Rgb a, Rgb b, std::int64_t num, std::int64_t den)
{
    return {lerp(a.r, b.r, num, den), lerp(a.g, b.g, num, den), lerp(a.b, b.b, num, den)};
}

// The picture is designed on a 48 x 48 grid and sampled at each size.
constexpr int kDesign = 48;

// The fine parts (dashes, segments) are fitted to the pixel grid of each size, so the
// small images stay crisp instead of blurring into the screen.
struct Scene
{
    double px; // one pixel in design units
    Shape frame = roundedRect(1, 1, 47, 47, 9);
    Shape frameInner = roundedRect(2, 2, 46, 46, 8);
    Shape gloss = ellipse(24, 7, 25, 13);
    Shape band = roundedRect(6, 40, 42, 44.5, 2.2);
    Shape bezel = roundedRect(4.5, 5, 43.5, 38.5, 3);
    Shape screen = roundedRect(5.5, 6, 42.5, 37.5, 2.5);
    Shape dashes;
    std::int64_t dashStep;
    Shape lit;
    Shape unlit;

    explicit Scene(int size) : px(static_cast<double>(kDesign) / size), dashStep(fx(px))
    {
        auto snap = [this](double v) { return std::round(v / px) * px; };
        dashes = unite(
            {rect(8, snap(10.4), 40, snap(10.4) + px), rect(8, snap(32.2), 40, snap(32.2) + px)});

        // Four zeros: every segment but the middle one lit; the colon between the pairs.
        const double h = std::max(0.95, px / 2);
        const double g = px > 2 ? 0.1 : 0.35;
        std::vector<Shape> on;
        std::vector<Shape> off;
        for (double x0 : {8.0, 15.0, 27.0, 34.0}) {
            const double l = x0 + 1.0, r = x0 + 5.2, t = 15.4, m = 21.5, b = 27.6;
            on.push_back(sheared(unite({segment(l, t, r, t, h, g), segment(r, t, r, m, h, g),
                                        segment(r, m, r, b, h, g), segment(l, b, r, b, h, g),
                                        segment(l, m, l, b, h, g), segment(l, t, l, m, h, g)}),
                                 0.08, b));
            off.push_back(sheared(segment(l, m, r, m, h, g), 0.08, b));
        }
        const double dot = std::max(1.15, px / 2);
        on.push_back(disc(24.9, 18.4, dot));
        on.push_back(disc(24.4, 24.6, dot));
        lit = unite(on);
        unlit = unite(off);
    }
};

// Colour at one design-space sample point inside the frame.
Rgb colourAt(const Scene& s, std::int64_t x, std::int64_t y)
{
    if (!s.frameInner(x, y))
        return {18, 44, 112}; // dark outline
    if (s.bezel(x, y) && !s.screen(x, y))
        return {10, 28, 78};
    if (s.screen(x, y)) {
        if (s.lit(x, y))
            return {240, 34, 30};
        if (s.unlit(x, y))
            return {70, 14, 14};
        if (s.dashes(x, y) && ((x - fx(8)) / s.dashStep) % 3 != 2)
            return {0, 230, 255};
        return {0, 0, 0};
    }
    if (s.band(x, y))
        return {126, 192, 250};
    // Vertical gradient from a light to a deep blue, with a gloss over the upper part.
    const Rgb base = mix({98, 162, 238}, {20, 66, 166}, y - fx(2), fx(44));
    return s.gloss(x, y) ? mix(base, {255, 255, 255}, 2, 5) : base;
}

struct Pixel
{
    Rgb colour;
    int coverage = 0; // samples of 16 inside the frame
};

std::vector<Pixel> sample(int size)
{
    const Scene scene(size);
    const std::int64_t step = 8 * kDesign * 8 / size; // 1/64 design units per 1/8 pixel
    std::vector<Pixel> out(static_cast<std::size_t>(size * size));
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int j = 0; j < 4; ++j) {
                for (int i = 0; i < 4; ++i) {
                    const std::int64_t x = (px * 8 + 2 * i + 1) * step / 8;
                    const std::int64_t y = (py * 8 + 2 * j + 1) * step / 8;
                    if (!scene.frame(x, y))
                        continue;
                    const Rgb c = colourAt(scene, x, y);
                    r += c.r;
                    g += c.g;
                    b += c.b;
                    ++n;
                }
            }
            Pixel& p = out[static_cast<std::size_t>(py * size + px)];
            p.coverage = n;
            if (n > 0)
                p.colour = {(r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n};
        }
    }
    return out;
}

// Median cut over the opaque pixels: split the box with the widest channel at its median
// until there are `limit` boxes; each box's mean becomes a palette entry.
std::vector<Rgb> medianCut(std::vector<Rgb> colours, std::size_t limit)
{
    std::vector<Rgb> unique = colours;
    std::sort(unique.begin(), unique.end());
    unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
    if (unique.size() <= limit)
        return unique;

    auto widest = [](const std::vector<Rgb>& box, int& channel) {
        std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
        for (const Rgb& c : box) {
            const std::array<int, 3> v{c.r, c.g, c.b};
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], v[k]);
                hi[k] = std::max(hi[k], v[k]);
            }
        }
        channel = 0;
        for (int k = 1; k < 3; ++k) {
            if (hi[k] - lo[k] > hi[channel] - lo[channel])
                channel = k;
        }
        return hi[channel] - lo[channel];
    };

    std::vector<std::vector<Rgb>> boxes{std::move(colours)};
    while (boxes.size() < limit) {
        std::size_t pick = 0;
        int pickChannel = 0;
        int pickRange = -1;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            int channel = 0;
            const int range = boxes[i].size() > 1 ? widest(boxes[i], channel) : 0;
            if (range > pickRange) {
                pick = i;
                pickRange = range;
                pickChannel = channel;
            }
        }
        if (pickRange <= 0)
            break;
        std::vector<Rgb>& box = boxes[pick];
        std::sort(box.begin(), box.end(), [pickChannel](const Rgb& a, const Rgb& b) {
            const std::array<int, 3> va{a.r, a.g, a.b}, vb{b.r, b.g, b.b};
            if (va[pickChannel] != vb[pickChannel])
                return va[pickChannel] < vb[pickChannel];
            return a < b;
        });
        const auto mid = box.begin() + static_cast<std::ptrdiff_t>(box.size() / 2);
        std::vector<Rgb> upper(mid, box.end());
        box.erase(mid, box.end());
        boxes.push_back(std::move(upper));
    }
    std::vector<Rgb> palette;
    for (const auto& box : boxes) {
        std::int64_t r = 0, g = 0, b = 0;
        for (const Rgb& c : box) {
            r += c.r;
            g += c.g;
            b += c.b;
        }
        const auto n = static_cast<std::int64_t>(box.size());
        palette.push_back({static_cast<int>((r + n / 2) / n), static_cast<int>((g + n / 2) / n),
                           static_cast<int>((b + n / 2) / n)});
    }
    return palette;
}

int nearest(const std::vector<Rgb>& palette, Rgb c)
{
    int best = 0;
    int bestDistance = 1 << 30;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = palette[i].r - c.r, dg = palette[i].g - c.g, db = palette[i].b - c.b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = d;
        }
    }
    return best;
}

void put8(QByteArray& out, int v)
{
    out.append(static_cast<char>(v & 0xFF));
}

void put16(QByteArray& out, int v)
{
    put8(out, v);
    put8(out, v >> 8);
}

void put32(QByteArray& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        put8(out, static_cast<int>(v >> (8 * i)));
}

int rowBytes(int width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}

// The AND mask, bottom-up, one bit per pixel, set where the pixel is transparent.
QByteArray andMask(int size, const std::vector<bool>& transparent)
{
    QByteArray out;
    const int stride = rowBytes(size, 1);
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < size; ++x) {
            if (transparent[static_cast<std::size_t>(y * size + x)])
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(row);
    }
    return out;
}

QByteArray infoHeader(int size, int bits, int imageBytes)
{
    QByteArray out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(size));
    put32(out, static_cast<std::uint32_t>(2 * size)); // colour rows plus mask rows
    put16(out, 1);
    put16(out, bits);
    put32(out, 0); // uncompressed
    put32(out, static_cast<std::uint32_t>(imageBytes));
    put32(out, 0);
    put32(out, 0);
    put32(out, bits == 8 ? 256 : 0);
    put32(out, 0);
    return out;
}

QByteArray palettedImage(int size)
{
    const std::vector<Pixel> px = sample(size);
    std::vector<bool> transparent(px.size());
    std::vector<Rgb> opaque;
    for (std::size_t i = 0; i < px.size(); ++i) {
        transparent[i] = px[i].coverage < 8;
        if (!transparent[i])
            opaque.push_back(px[i].colour);
    }
    // Entry 0 is black: transparent pixels use it, so the colour plane stays black there.
    std::vector<Rgb> palette{{0, 0, 0}};
    for (const Rgb& c : medianCut(opaque, 255))
        palette.push_back(c);
    palette.resize(256);

    QByteArray colour;
    const int stride = rowBytes(size, 8);
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < size; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * size + x);
            if (!transparent[i])
                row[x] = static_cast<char>(nearest(palette, px[i].colour));
        }
        colour.append(row);
    }
    const QByteArray mask = andMask(size, transparent);
    QByteArray out = infoHeader(size, 8, static_cast<int>(colour.size() + mask.size()));
    for (const Rgb& c : palette) {
        put8(out, c.b);
        put8(out, c.g);
        put8(out, c.r);
        put8(out, 0);
    }
    out.append(colour);
    out.append(mask);
    return out;
}

QByteArray trueColourImage(int size)
{
    const std::vector<Pixel> px = sample(size);
    std::vector<bool> transparent(px.size());
    QByteArray colour;
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const Pixel& p = px[static_cast<std::size_t>(y * size + x)];
            const int alpha = (p.coverage * 255 + 8) / 16;
            transparent[static_cast<std::size_t>(y * size + x)] = alpha == 0;
            put8(colour, p.colour.b);
            put8(colour, p.colour.g);
            put8(colour, p.colour.r);
            put8(colour, alpha);
        }
    }
    const QByteArray mask = andMask(size, transparent);
    QByteArray out = infoHeader(size, 32, static_cast<int>(colour.size() + mask.size()));
    out.append(colour);
    out.append(mask);
    return out;
}

} // namespace

QImage render(int size)
{
    const std::vector<Pixel> px = sample(size);
    QImage out(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Pixel& p = px[static_cast<std::size_t>(y * size + x)];
            out.setPixel(x, y,
                         qRgba(p.colour.r, p.colour.g, p.colour.b, (p.coverage * 255 + 8) / 16));
        }
    }
    return out;
}

QByteArray ico()
{
    struct Entry
    {
        int size;
        int bits;
    };
    constexpr std::array<Entry, 7> entries = {
        {{48, 8}, {32, 8}, {24, 8}, {16, 8}, {32, 32}, {24, 32}, {16, 32}}};
    std::vector<QByteArray> images;
    for (const Entry& e : entries)
        images.push_back(e.bits == 8 ? palettedImage(e.size) : trueColourImage(e.size));

    QByteArray out;
    put16(out, 0);
    put16(out, 1); // icon
    put16(out, static_cast<int>(entries.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        put8(out, entries[i].size);
        put8(out, entries[i].size);
        put8(out, 0); // colour count: 0 for 256 colours and more
        put8(out, 0);
        put16(out, 1);
        put16(out, entries[i].bits);
        put32(out, static_cast<std::uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const QByteArray& image : images)
        out.append(image);
    return out;
}

} // namespace AppIcon
