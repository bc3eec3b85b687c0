#pragma once

#include "assets/glyphstrip.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// The one place that knows which embedded asset each window component wears. Windows ask by
// their own object name ("Form1", "frmActions", "frmSetTime", "frmMsg") and the component name.
namespace Assets {

// Registers the embedded resources with Qt. Every function below calls it, so a program needs
// it only to open a ":/assets/..." path before asking this namespace for anything.
void init();

// The strip `component` of `window` (e.g. "Form1", "ImageList3"); a null strip if unknown.
GlyphStrip strip(const QString& window, const QString& component);

// The initial picture of a picture control of `window` ("HoverImage4", "Image1", ...), as a
// bitmap that code may recolour in place; a null image if the control has no picture.
QImage picture(const QString& window, const QString& component);

// The window's background picture, the same as picture(window, "Image1").
QImage background(const QString& window);

// The bytes of built-in sound `id` (a RIFF WAVE file, ids 1 to 3); empty for any other id.
QByteArray sound(int id);

// Resource path of the program icon "MAINICON".
QString iconPath();

} // namespace Assets
