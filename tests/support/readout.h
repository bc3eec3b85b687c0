#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

class GlyphStrip;

// Reads glyphs back from pictures, for tests that check what a read-out really shows.

// The digit whose cell of `strip` equals the `cellWidth`-wide region of `image` at `at`
// (colours only; the cell may be cut to `visibleWidth` columns), or -1 when none matches.
int matchCell(const QImage& image, QPoint at, const GlyphStrip& strip, int visibleWidth = -1);

// The six-digit counter as drawn on `image` with its first cell at `origin`; '?' where no digit
// matches.
QString readCounter(const QImage& image, QPoint origin);

// HH:MM:SS as drawn on `image` with the first hour digit at `origin`; '?' where no digit matches.
QString readClock(const QImage& image, QPoint origin);

// The main window's two displays as drawn on a picture of the whole window (its client area).
QString mainWindowCounter(const QImage& window);
QString mainWindowClock(const QImage& window);
