#pragma once

#include <QImage>

// A fixed list of equal-sized, fully opaque pictures (cells) addressed by a zero-based index.
// The sheet holds the cells four to a row, left to right and top to bottom.
class GlyphStrip
{
public:
    GlyphStrip() = default;
    GlyphStrip(QImage sheet, int cellWidth, int cellHeight, int count);

    int cellWidth() const { return m_cellWidth; }
    int cellHeight() const { return m_cellHeight; }
    int count() const { return m_count; }
    bool isNull() const { return m_count == 0; }

    // A copy of one cell; a null image for an index out of range.
    QImage cell(int index) const;

    // Copies cell `index` onto `surface` with its top-left corner at (x, y), replacing every
    // pixel of the cell's rectangle. An index out of range draws nothing.
    void DrawCell(QImage& surface, int x, int y, int index) const;

    // Gives `picture` the cell's size and copies the cell into it; an index out of range
    // leaves the picture untouched.
    void CopyCell(int index, QImage& picture) const;

private:
    QImage m_sheet;
    int m_cellWidth = 0;
    int m_cellHeight = 0;
    int m_count = 0;
};
