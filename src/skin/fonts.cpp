#include "skin/fonts.h"

#include <QFont>
#include <QStringList>

namespace {

struct Substitute
{
    const char* family;
    const char* standIns;
};

// Metric-compatible faces where Debian has them (Liberation), close ones otherwise; the CJK
// face last, for the characters the Latin faces lack.
constexpr Substitute kSubstitutes[] = {
    {"Courier New", "Liberation Mono,Cousine,DejaVu Sans Mono"},
    {"Verdana", "DejaVu Sans,Liberation Sans"},
    {"Consolas", "DejaVu Sans Mono,Liberation Mono"},
    {"Tahoma", "DejaVu Sans,Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans,DejaVu Sans"},
};

constexpr const char* kCjkFaces = "WenQuanYi Micro Hei,WenQuanYi Zen Hei,Noto Sans CJK SC";

} // namespace

void installFontSubstitutes()
{
    const QStringList cjk = QString::fromLatin1(kCjkFaces).split(QLatin1Char(','));
    for (const Substitute& s : kSubstitutes) {
        // Qt turns to the substitutes only when the family itself is missing, so an installed
        // original still wins; asking the database first would load every font at start-up.
        const QString family = QString::fromLatin1(s.family);
        QStringList standIns = QString::fromLatin1(s.standIns).split(QLatin1Char(','));
        standIns += cjk;
        QFont::insertSubstitutions(family, standIns);
    }
}

QFont layoutFont(const QString& family, int pixelHeight, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}
