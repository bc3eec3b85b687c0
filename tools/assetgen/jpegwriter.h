#pragma once

#include <QByteArray>
#include <QImage>

// Encodes a picture as a baseline JPEG (8 bits, three components, no chroma subsampling)
// with libjpeg's integer DCT and standard Huffman tables, so the bytes never vary.
QByteArray encodeJpeg(const QImage& image, int quality);
