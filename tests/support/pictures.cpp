#include "support/pictures.h"

QImage rgb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

bool isLit(const QImage& picture)
{
    constexpr QRgb kRed = 0xFFFF0000u;
    constexpr QRgb kBlack = 0xFF000000u;
    bool anyRed = false;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb c = picture.pixel(x, y) | 0xFF000000u;
            if (c == kRed)
                anyRed = true;
            else if (c != kBlack)
                return false;
        }
    }
    return anyRed;
}
