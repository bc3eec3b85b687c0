#include "pixelcensus.h"

namespace e2e {

PixelCensus census(const QImage& image)
{
    constexpr QRgb kRed = 0xffff0000;
    constexpr QRgb kBlack = 0xff000000;
    PixelCensus result;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) | 0xff000000u;
            const int grey = qRed(pixel);
            if (pixel == kRed)
                ++result.red;
            else if (grey == qGreen(pixel) && grey == qBlue(pixel) && grey >= 94 && grey <= 169)
                ++result.iconGrey;
            if (pixel == kBlack) {
                ++result.black;
            } else {
                ++result.lit;
                result.litBounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return result;
}

std::ostream& operator<<(std::ostream& out, const PixelCensus& census)
{
    return out << "{red " << census.red << ", icon grey " << census.iconGrey << ", black "
               << census.black << ", not black " << census.lit << '}';
}

} // namespace e2e
