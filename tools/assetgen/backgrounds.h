#pragma once

#include <QImage>

// The window backgrounds: one raised grey tile with rounded corners on white.
namespace Backgrounds {

struct Tile
{
    int width = 0; // picture size
    int height = 0;
    int tileHeight = 0; // rows below the tile stay white
    int radius = 0;     // corner radius
    int band = 0;       // width of the highlight and shadow bands, outline included
};

QImage draw(const Tile& tile);

} // namespace Backgrounds
