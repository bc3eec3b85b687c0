#include "assets/glyphstrip.h"

#include <algorithm>
#include <cstring>
#include <utility>

GlyphStrip::GlyphStrip(QImage sheet, int cellWidth, int cellHeight, int count)
{
    // A sheet too small for its cells would make every copy read outside it: such a strip is
    // null rather than half usable.
    const int columns = count < 4 ? count : 4;
    const int rows = count > 0 ? (count + 3) / 4 : 0;
    if (cellWidth <= 0 || cellHeight <= 0 || count <= 0 || sheet.width() < columns * cellWidth ||
        sheet.height() < rows * cellHeight)
        return;
    m_sheet = std::move(sheet).convertToFormat(QImage::Format_RGB32);
    m_cellWidth = cellWidth;
    m_cellHeight = cellHeight;
    m_count = count;
}

QImage GlyphStrip::cell(int index) const
{
    if (index < 0 || index >= m_count)
        return {};
    return m_sheet.copy((index % 4) * m_cellWidth, (index / 4) * m_cellHeight, m_cellWidth,
                        m_cellHeight);
}

void GlyphStrip::DrawCell(QImage& surface, int x, int y, int index) const
{
    if (index < 0 || index >= m_count || surface.isNull())
        return;
    // Rows are copied byte for byte, so palette surfaces first become true-colour ones.
    if (surface.depth() < 8 || surface.format() == QImage::Format_Indexed8)
        surface = surface.convertToFormat(QImage::Format_RGB32);

    // Clip the cell's rectangle to the surface; cells are opaque, so every pixel inside the
    // clipped rectangle is replaced.
    const int left = std::max(0, -x);
    const int top = std::max(0, -y);
    const int right = std::min(m_cellWidth, surface.width() - x);
    const int bottom = std::min(m_cellHeight, surface.height() - y);
    if (left >= right || top >= bottom)
        return;

    // The read-outs redraw 14 cells every second: when the surface shares the sheet's format the
    // rows come straight from the sheet, with no copy of the cell in between.
    const bool direct = surface.format() == m_sheet.format();
    const QImage converted = direct ? QImage() : cell(index).convertToFormat(surface.format());
    const uchar* source = direct ? m_sheet.constBits() : converted.constBits();
    const qsizetype sourceStride = direct ? m_sheet.bytesPerLine() : converted.bytesPerLine();
    const qsizetype bytesPerPixel = surface.depth() / 8;
    if (direct) {
        source += qsizetype(index / 4) * m_cellHeight * sourceStride +
                  qsizetype(index % 4) * m_cellWidth * bytesPerPixel;
    }
    uchar* target = surface.bits();
    const qsizetype targetStride = surface.bytesPerLine();
    const auto rowBytes = static_cast<std::size_t>(qsizetype(right - left) * bytesPerPixel);
    for (int row = top; row < bottom; ++row) {
        std::memcpy(target + qsizetype(y + row) * targetStride +
                        qsizetype(x + left) * bytesPerPixel,
                    source + qsizetype(row) * sourceStride + left * bytesPerPixel, rowBytes);
    }
}

void GlyphStrip::CopyCell(int index, QImage& picture) const
{
    if (index < 0 || index >= m_count)
        return;
    // The picture keeps its own pixel format when it has one that holds colours directly.
    const bool keepFormat =
        !picture.isNull() && picture.depth() >= 8 && picture.format() != QImage::Format_Indexed8;
    const QImage source = cell(index);
    picture = keepFormat ? source.convertToFormat(picture.format()) : source;
}
