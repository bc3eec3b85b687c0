#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

namespace e2e {

// What an end-to-end test knows about the main window's face: where its buttons are and how
// to read its two time displays. All positions are relative to the window's client area.
class MainWindowScreen
{
public:
    static QPoint addButton() { return {22 + 18, 272 + 18}; }
    static QPoint startButton() { return {177 + 18, 272 + 18}; }
    static QRect addButtonArea() { return {22, 272, 36, 36}; }
    static QRect closeGlyphArea() { return {298, 10, 16, 16}; }
    // The one-line hint label inside the black display panel.
    static QRect hintLineArea() { return {29 + 16, 32 + 205, 255, 21}; }
    static QRect displayPanelArea() { return {29, 32, 294, 233}; }

    // The six-digit seconds counter, e.g. "000180"; '?' marks a digit that matches no glyph.
    static QString counter(const QImage& window);
    // The large read-out as "HH:MM:SS"; the colons are not read, only placed.
    static QString readout(const QImage& window);
};

} // namespace e2e
