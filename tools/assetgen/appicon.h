#pragma once

#include <QByteArray>
#include <QImage>

// The program icon: a glossy blue frame round a black screen reading 00:00.
namespace AppIcon {

// The picture at `size` pixels with straight (not premultiplied) alpha.
QImage render(int size);

// The .ico file: 48, 32, 24 and 16 px with 256-colour palettes and a transparency mask,
// then 32, 24 and 16 px with 32-bit colour and alpha.
QByteArray ico();

} // namespace AppIcon
