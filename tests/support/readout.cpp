#include "support/readout.h"

#include "assets/assettable.h"
#include "assets/glyphstrip.h"

int matchCell(const QImage& image, QPoint at, const GlyphStrip& strip, int visibleWidth)
{
    const int w = visibleWidth < 0 ? strip.cellWidth() : visibleWidth;
    for (int index = 0; index < strip.count(); ++index) {
        const QImage cell = strip.cell(index);
        bool same = true;
        for (int y = 0; same && y < cell.height(); ++y) {
            for (int x = 0; same && x < w; ++x) {
                const QPoint p = at + QPoint(x, y);
                if (!image.rect().contains(p) ||
                    (image.pixel(p) & 0xFFFFFFu) != (cell.pixel(x, y) & 0xFFFFFFu))
                    same = false;
            }
        }
        if (same)
            return index;
    }
    return -1;
}

namespace {

QChar digitChar(int index)
{
    return index >= 0 && index <= 9 ? QChar(u'0' + index) : QChar(u'?');
}

} // namespace

QString readCounter(const QImage& image, QPoint origin)
{
    const GlyphStrip strip = Assets::strip(QStringLiteral("Form1"), QStringLiteral("ImageList1"));
    QString text;
    for (int i = 0; i < 6; ++i)
        text += digitChar(matchCell(image, origin + QPoint(16 * i, 0), strip));
    return text;
}

QString readClock(const QImage& image, QPoint origin)
{
    const GlyphStrip strip = Assets::strip(QStringLiteral("Form1"), QStringLiteral("ImageList3"));
    constexpr int kDigitX[] = {0, 40, 91, 131, 182, 222};
    QString text;
    for (int i = 0; i < 6; ++i) {
        if (i == 2 || i == 4)
            text += QLatin1Char(':');
        text += digitChar(matchCell(image, origin + QPoint(kDigitX[i], 0), strip));
    }
    return text;
}

namespace {

// The black panel that holds both displays, in the main window.
constexpr QPoint kPanel(29, 32);

} // namespace

QString mainWindowCounter(const QImage& window)
{
    return readCounter(window, kPanel + QPoint(15, 15));
}

QString mainWindowClock(const QImage& window)
{
    return readClock(window, kPanel + QPoint(13, 85));
}
