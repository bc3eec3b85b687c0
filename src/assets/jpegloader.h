#pragma once

#include <QByteArray>
#include <QImage>

// Decodes a baseline JPEG with libjpeg into a 24-bit picture; a null image if the data is not
// a JPEG it can read (a corrupt file must never take the program down).
QImage decodeJpeg(const QByteArray& data);
