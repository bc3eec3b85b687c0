#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Integer-only shape rasterisation. Every coordinate is held in 1/64 pixel and every test is
// exact integer arithmetic, so the same source draws the same pixels on any machine.
namespace Raster {

constexpr std::int64_t kUnit = 64;

// A length in pixels (may be fractional) as a fixed-point value; our literals are exact.
std::int64_t fx(double pixels);

struct Point
{
    std::int64_t x = 0;
    std::int64_t y = 0;
};

// Builds a fixed-point point from pixel coordinates.
Point pt(double x, double y);

// A region of the plane: whether a fixed-point sample point lies inside.
using Shape = std::function<bool(std::int64_t x, std::int64_t y)>;

Shape polygon(std::vector<Point> vertices);
Shape rect(double x0, double y0, double x1, double y1);
Shape roundedRect(double x0, double y0, double x1, double y1, double radius);
Shape ellipse(double cx, double cy, double rx, double ry);
Shape disc(double cx, double cy, double r);
Shape ring(double cx, double cy, double outer, double inner);
// All points within `radius` of the segment a-b (a stroke with round ends).
Shape capsule(double ax, double ay, double bx, double by, double radius);
// The points on the left of the directed line a-b (y grows downwards, so "left" is
// counter-clockwise on screen).
Shape leftOf(double ax, double ay, double bx, double by);

// A display segment along the horizontal or vertical centre line (x0, y0)-(x1, y1), `half`
// thick on each side, pointed at both ends and shortened by `gap` so neighbours stay apart.
Shape segment(double x0, double y0, double x1, double y1, double half, double gap);

Shape unite(std::vector<Shape> parts);
Shape subtract(Shape base, Shape cut);
Shape intersect(Shape a, Shape b);
// The shape slanted to the right: a point at height y moves by slope * (baseY - y).
Shape sheared(Shape shape, double slope, double baseY);

// Coverage of each pixel, 0..16 from a 4 x 4 grid of samples, row-major.
struct Coverage
{
    int width = 0;
    int height = 0;
    std::vector<int> samples;

    int at(int x, int y) const { return samples[static_cast<std::size_t>(y * width + x)]; }
    // A pixel is inside when at least half of its samples are.
    bool inside(int x, int y) const { return at(x, y) >= 8; }
};

Coverage render(const Shape& shape, int width, int height);

// Integer square root, rounded down.
std::int64_t isqrt(std::int64_t value);

// a + (b - a) * num / den, rounded to nearest, all integers.
int lerp(int a, int b, std::int64_t num, std::int64_t den);

} // namespace Raster
