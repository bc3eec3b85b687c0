#include "skin/hoverimage.h"

#include "assets/glyphstrip.h"
#include "skin/accessibility.h"

#include <utility>

namespace {

constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kRed = 0xFFFF0000u;

// Changes, in place, every pixel of the button's picture for which `match` holds to `to`.
// Colours are compared without alpha: the pictures are opaque apart from their colour key.
template <typename Match> void recolour(THoverImage* image, Match match, QRgb to)
{
    if (!image)
        return;
    QImage& picture = image->Picture();
    const int height = picture.height();
    if (height <= 0)
        return;
    for (int y = 0; y < height; ++y) {
        const int width = picture.width();
        for (int x = 0; x < width; ++x) {
            if (match(picture.pixel(x, y) | kBlack))
                picture.setPixel(x, y, to);
        }
    }
    image->pictureChanged();
}

} // namespace

THoverImage::THoverImage(QWidget* parent) : TImage(parent)
{
    Center = true;
    Transparent = true;
    installSkinAccessibility();
}

void THoverImage::enterEvent(QEnterEvent* event)
{
    TImage::enterEvent(event);
    m_underPointer = true;
    Q_EMIT OnMouseEnter(this);
}

void THoverImage::leaveEvent(QEvent* event)
{
    TImage::leaveEvent(event);
    // A leave after the hide already raised one is not a second leave.
    if (!std::exchange(m_underPointer, false))
        return;
    Q_EMIT OnMouseLeave(this);
}

void THoverImage::hideEvent(QHideEvent* event)
{
    TImage::hideEvent(event);
    // Raised from the event loop, as the pointer's own leave would be: a window being destroyed
    // hides its controls too, and the control, going with it, then cancels the call.
    if (std::exchange(m_underPointer, false))
        QMetaObject::invokeMethod(
            this, [this] { Q_EMIT OnMouseLeave(this); }, Qt::QueuedConnection);
}

void MakeImageRed(THoverImage* image)
{
    recolour(
        image, [](QRgb c) { return c != kBlack; }, kRed);
}

void MakeBlackRed(THoverImage* image)
{
    recolour(
        image, [](QRgb c) { return c == kBlack; }, kRed);
}

void MakeRedBlack(THoverImage* image)
{
    recolour(
        image, [](QRgb c) { return c == kRed; }, kBlack);
}

void RestoreFromStrip(THoverImage* image, const GlyphStrip& strip, int cell)
{
    if (!image)
        return;
    image->Picture() = QImage();
    strip.CopyCell(cell, image->Picture());
    image->pictureChanged();
}
