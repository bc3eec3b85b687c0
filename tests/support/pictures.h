#pragma once

#include <QImage>

// Picture checks shared by the widget tests.

// The picture as 32-bit RGB, for comparisons that should not depend on the stored format.
QImage rgb(const QImage& image);

// A grey icon is lit when every pixel is black or pure red and some are red.
bool isLit(const QImage& picture);
