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
    static QPoint actionsButton() { return {100 + 18, 272 + 18}; }
    static QPoint setTimeButton() { return {139 + 18, 272 + 18}; }
    static QPoint startButton() { return {177 + 18, 272 + 18}; }
    static QRect addButtonArea() { return {22, 272, 36, 36}; }
    static QRect closeGlyphArea() { return {298, 10, 16, 16}; }
    // The one-line hint label inside the black display panel.
    static QRect hintLineArea() { return {29 + 16, 32 + 205, 255, 21}; }
    static QRect displayPanelArea() { return {29, 32, 294, 233}; }
    // The line that sums up the ticked actions, inside the panel.
    static QRect summaryLineArea() { return {29 + 16, 32 + 48, 274, 33}; }

    // The six-digit seconds counter, e.g. "000180"; '?' marks a digit that matches no glyph.
    static QString counter(const QImage& window);
    // The large read-out as "HH:MM:SS"; the colons are not read, only placed.
    static QString readout(const QImage& window);
};

// Points of the set-time dialog, relative to its client area.
struct SetTimeScreen
{
    static QPoint hoursField() { return {30 + 31 + 20, 65 + 40 + 10}; }
    static QPoint okButton() { return {125 + 18, 168 + 18}; }
};

// Points of the action dialog, relative to its client area.
struct ActionsScreen
{
    // The box of "显示信息", the message action.
    static QPoint messageBox() { return {20 + 30, 110 + 8}; }
    // The cross at the dialog's foot, which closes it.
    static QPoint closeButton() { return {155 + 18, 410 + 18}; }
};

} // namespace e2e
