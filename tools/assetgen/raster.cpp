#include "raster.h"

#include <cmath>
#include <utility>

namespace Raster {

namespace {

// Divides rounding to nearest, halves away from zero; den must be positive.
std::int64_t divRound(std::int64_t num, std::int64_t den)
{
    return num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
}

} // namespace

std::int64_t fx(double pixels)
{
    return std::llround(pixels * static_cast<double>(kUnit));
}

Point pt(double x, double y)
{
    return {fx(x), fx(y)};
}

Shape polygon(std::vector<Point> vertices)
{
    // Crossing-number test with the edge intersection compared by cross-multiplication, so
    // no division and no rounding.
    return [v = std::move(vertices)](std::int64_t x, std::int64_t y) {
        bool in = false;
        const std::size_t n = v.size();
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const Point& a = v[j];
            const Point& b = v[i];
            if ((a.y > y) == (b.y > y))
                continue;
            const std::int64_t lhs = (x - a.x) * (b.y - a.y);
            const std::int64_t rhs = (y - a.y) * (b.x - a.x);
            if (b.y > a.y ? lhs < rhs : lhs > rhs)
                in = !in;
        }
        return in;
    };
}

Shape rect(double x0, double y0, double x1, double y1)
{
    return [a = pt(x0, y0), b = pt(x1, y1)](std::int64_t x, std::int64_t y) {
        return x >= a.x && x < b.x && y >= a.y && y < b.y;
    };
}

Shape roundedRect(double x0, double y0, double x1, double y1, double radius)
{
    return [a = pt(x0, y0), b = pt(x1, y1), r = fx(radius)](std::int64_t x, std::int64_t y) {
        if (x < a.x || x >= b.x || y < a.y || y >= b.y)
            return false;
        // Distance to the inner rectangle whose corners are the arc centres.
        const std::int64_t dx = x < a.x + r ? a.x + r - x : (x > b.x - r ? x - (b.x - r) : 0);
        const std::int64_t dy = y < a.y + r ? a.y + r - y : (y > b.y - r ? y - (b.y - r) : 0);
        return dx * dx + dy * dy <= r * r;
    };
}

Shape ellipse(double cx, double cy, double rx, double ry)
{
    return [c = pt(cx, cy), rx = fx(rx), ry = fx(ry)](std::int64_t x, std::int64_t y) {
        const std::int64_t dx = (x - c.x) * ry;
        const std::int64_t dy = (y - c.y) * rx;
        const std::int64_t r = rx * ry;
        return dx * dx + dy * dy <= r * r;
    };
}

Shape disc(double cx, double cy, double r)
{
    return ellipse(cx, cy, r, r);
}

Shape ring(double cx, double cy, double outer, double inner)
{
    return subtract(disc(cx, cy, outer), disc(cx, cy, inner));
}

Shape capsule(double ax, double ay, double bx, double by, double radius)
{
    return [a = pt(ax, ay), b = pt(bx, by), r = fx(radius)](std::int64_t x, std::int64_t y) {
        const std::int64_t ex = b.x - a.x;
        const std::int64_t ey = b.y - a.y;
        const std::int64_t px = x - a.x;
        const std::int64_t py = y - a.y;
        const std::int64_t t = px * ex + py * ey;
        const std::int64_t len2 = ex * ex + ey * ey;
        if (t <= 0 || len2 == 0)
            return px * px + py * py <= r * r;
        if (t >= len2) {
            const std::int64_t qx = x - b.x;
            const std::int64_t qy = y - b.y;
            return qx * qx + qy * qy <= r * r;
        }
        // Perpendicular distance squared times len2 is the squared cross product; our pictures
        // are under 128 pixels, which keeps these products far inside 64 bits.
        const std::int64_t cross = px * ey - py * ex;
        return cross * cross <= r * r * len2;
    };
}

Shape leftOf(double ax, double ay, double bx, double by)
{
    return [a = pt(ax, ay), b = pt(bx, by)](std::int64_t x, std::int64_t y) {
        return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x) <= 0;
    };
}

Shape segment(double x0, double y0, double x1, double y1, double half, double gap)
{
    if (y0 == y1) {
        const double a = x0 + gap;
        const double b = x1 - gap;
        return polygon({pt(a, y0), pt(a + half, y0 - half), pt(b - half, y0 - half), pt(b, y0),
                        pt(b - half, y0 + half), pt(a + half, y0 + half)});
    }
    const double a = y0 + gap;
    const double b = y1 - gap;
    return polygon({pt(x0, a), pt(x0 + half, a + half), pt(x0 + half, b - half), pt(x0, b),
                    pt(x0 - half, b - half), pt(x0 - half, a + half)});
}

Shape unite(std::vector<Shape> parts)
{
    return [p = std::move(parts)](std::int64_t x, std::int64_t y) {
        for (const Shape& s : p) {
            if (s(x, y))
                return true;
        }
        return false;
    };
}

Shape subtract(Shape base, Shape cut)
{
    return [b = std::move(base), c = std::move(cut)](std::int64_t x, std::int64_t y) {
        return b(x, y) && !c(x, y);
    };
}

Shape intersect(Shape a, Shape b)
{
    return [a = std::move(a), b = std::move(b)](std::int64_t x, std::int64_t y) {
        return a(x, y) && b(x, y);
    };
}

Shape sheared(Shape shape, double slope, double baseY)
{
    // The slope becomes a ratio over 4096 once, so the per-sample work stays integral.
    constexpr std::int64_t kDen = 4096;
    return [s = std::move(shape), num = std::llround(slope * kDen),
            base = fx(baseY)](std::int64_t x, std::int64_t y) {
        return s(x - divRound(num * (base - y), kDen), y);
    };
}

Coverage render(const Shape& shape, int width, int height)
{
    Coverage c;
    c.width = width;
    c.height = height;
    c.samples.assign(static_cast<std::size_t>(width * height), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int count = 0;
            for (int j = 0; j < 4; ++j) {
                for (int i = 0; i < 4; ++i) {
                    const std::int64_t sx = x * kUnit + (2 * i + 1) * kUnit / 8;
                    const std::int64_t sy = y * kUnit + (2 * j + 1) * kUnit / 8;
                    count += shape(sx, sy) ? 1 : 0;
                }
            }
            c.samples[static_cast<std::size_t>(y * width + x)] = count;
        }
    }
    return c;
}

std::int64_t isqrt(std::int64_t value)
{
    if (value <= 0)
        return 0;
    std::int64_t r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(value)));
    // Correct the floating estimate so the result is exactly floor(sqrt(value)).
    while (r * r > value)
        --r;
    while ((r + 1) * (r + 1) <= value)
        ++r;
    return r;
}

int lerp(int a, int b, std::int64_t num, std::int64_t den)
{
    return a + static_cast<int>(divRound(static_cast<std::int64_t>(b - a) * num, den));
}

} // namespace Raster
