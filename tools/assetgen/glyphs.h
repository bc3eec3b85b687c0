#pragma once

#include <QImage>

// The glyph strips and button pictures, each drawn pixel by pixel as a 24-bit picture.
namespace Glyphs {

QImage form1ImageList1();
QImage form1ImageList2();
QImage form1ImageList3();
QImage actionsImageList1();
QImage actionsImageList2();
QImage setTimeImageList1();
QImage actionsHoverImage6();
QImage closeGlyph();
QImage minimiseGlyph();

} // namespace Glyphs
