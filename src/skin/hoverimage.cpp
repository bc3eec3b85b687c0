#include "skin/hoverimage.h"

THoverImage::THoverImage(QWidget* parent) : TImage(parent)
{
    Center = true;
    Transparent = true;
}
