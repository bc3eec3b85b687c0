#pragma once

#include <QFont>
#include <QString>

// The windows name the fonts of their layouts ("Courier New", "Verdana", "Consolas", "Tahoma",
// "MS Sans Serif"). Where a family is missing, the substitutes registered here stand in: close
// metrics first, then a CJK face so Chinese captions never turn into boxes.
void installFontSubstitutes();

// A font of `family` whose characters are `pixelHeight` pixels tall.
QFont layoutFont(const QString& family, int pixelHeight, bool bold = false);
