#include "assets/assettable.h"

#include "assets/jpegloader.h"

#include <QFile>

#include <map>
#include <mutex>

// Outside any namespace: the macro declares the resource initialiser as a global function.
static void initAssetResources()
{
    Q_INIT_RESOURCE(assets);
}

namespace Assets {

namespace {

enum class Kind
{
    Strip,      // a glyph strip: the sheet file and the cell size and count
    Background, // a JPEG window background
    Picture,    // a picture file of its own
    Cell,       // one cell of a strip of the same window
    PaddedCell, // one 32 x 32 cell with 8 black columns added on each side
};

struct Entry
{
    const char* window;
    const char* component;
    Kind kind;
    const char* source; // file name, or the strip's component name for the cell kinds
    int cellWidth = 0;  // strips
    int cellHeight = 0;
    int count = 0;
    int cell = 0; // cell kinds
    QImage::Format format = QImage::Format_RGB32;
};

constexpr Entry strip(const char* w, const char* c, const char* file, int cw, int ch, int n)
{
    return {w, c, Kind::Strip, file, cw, ch, n, 0, QImage::Format_RGB32};
}

constexpr Entry background(const char* w, const char* file)
{
    return {w, "Image1", Kind::Background, file, 0, 0, 0, 0, QImage::Format_RGB888};
}

constexpr Entry picture(const char* w, const char* c, const char* file, QImage::Format f)
{
    return {w, c, Kind::Picture, file, 0, 0, 0, 0, f};
}

constexpr Entry cell(const char* w, const char* c, const char* strip, int index,
                     QImage::Format f = QImage::Format_RGB32)
{
    return {w, c, Kind::Cell, strip, 0, 0, 0, index, f};
}

constexpr Entry padded(const char* w, const char* c, const char* strip, int index)
{
    return {w, c, Kind::PaddedCell, strip, 0, 0, 0, index, QImage::Format_RGB32};
}

constexpr auto kRgb888 = QImage::Format_RGB888;
constexpr auto kRgb32 = QImage::Format_RGB32;

// Every window component that wears an embedded asset.
constexpr Entry kTable[] = {
    strip("Form1", "ImageList1", "form1_imagelist1.png", 13, 22, 10),
    strip("Form1", "ImageList2", "form1_imagelist2.png", 48, 32, 8),
    strip("Form1", "ImageList3", "form1_imagelist3.png", 40, 74, 11),
    background("Form1", "form1_background.jpg"),
    cell("Form1", "HoverImage4", "ImageList2", 0),
    cell("Form1", "HoverImage5", "ImageList2", 1),
    cell("Form1", "HoverImage1", "ImageList2", 2),
    cell("Form1", "HoverImage3", "ImageList2", 3),
    cell("Form1", "HoverImage2", "ImageList2", 4),
    cell("Form1", "HoverImage6", "ImageList2", 5),
    cell("Form1", "HoverImage7", "ImageList2", 6),
    cell("Form1", "HoverImage8", "ImageList2", 7),
    picture("Form1", "HoverImage9", "close_glyph.png", kRgb888),
    picture("Form1", "HoverImage10", "minimise_glyph.png", kRgb888),

    strip("frmActions", "ImageList1", "frmactions_imagelist1.png", 32, 32, 4),
    strip("frmActions", "ImageList2", "frmactions_imagelist2.png", 24, 24, 2),
    background("frmActions", "frmactions_background.jpg"),
    padded("frmActions", "HoverImage1", "ImageList1", 0),
    padded("frmActions", "HoverImage2", "ImageList1", 1),
    padded("frmActions", "HoverImage3", "ImageList1", 2),
    padded("frmActions", "HoverImage7", "ImageList1", 3),
    cell("frmActions", "HoverImage4", "ImageList2", 0),
    cell("frmActions", "HoverImage5", "ImageList2", 0),
    cell("frmActions", "HoverImage8", "ImageList2", 1, kRgb888),
    picture("frmActions", "HoverImage6", "frmactions_hoverimage6.png", kRgb32),

    strip("frmSetTime", "ImageList1", "frmsettime_imagelist1.png", 32, 32, 2),
    background("frmSetTime", "frmsettime_background.jpg"),
    padded("frmSetTime", "HoverImage1", "ImageList1", 0),
    padded("frmSetTime", "HoverImage2", "ImageList1", 1),
    picture("frmSetTime", "SpeedButton3", "close_glyph.png", kRgb888),

    background("frmMsg", "frmmsg_background.jpg"),
    picture("frmMsg", "SpeedButton1", "close_glyph.png", kRgb888),
};

const Entry* find(const QString& window, const QString& component)
{
    for (const Entry& e : kTable) {
        if (window == QLatin1String(e.window) && component == QLatin1String(e.component))
            return &e;
    }
    return nullptr;
}

QString resourcePath(const char* file)
{
    return QStringLiteral(":/assets/") + QLatin1String(file);
}

// Decoded pictures are kept: the table's files never change while the program runs, and
// QImage's sharing hands each caller its own copy on first write.
QImage loadPicture(const char* file, Kind kind)
{
    static std::mutex mutex;
    static std::map<QString, QImage> cache;
    const QString path = resourcePath(file);
    const std::lock_guard lock(mutex);
    const auto it = cache.find(path);
    if (it != cache.end())
        return it->second;
    QImage image;
    if (kind == Kind::Background) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            image = decodeJpeg(f.readAll());
    } else {
        image.load(path, "PNG");
    }
    cache.emplace(path, image);
    return image;
}

GlyphStrip stripOf(const Entry& e)
{
    return GlyphStrip(loadPicture(e.source, Kind::Strip), e.cellWidth, e.cellHeight, e.count);
}

} // namespace

void init()
{
    static std::once_flag once;
    std::call_once(once, initAssetResources);
}

GlyphStrip strip(const QString& window, const QString& component)
{
    init();
    const Entry* e = find(window, component);
    return e && e->kind == Kind::Strip ? stripOf(*e) : GlyphStrip();
}

QImage picture(const QString& window, const QString& component)
{
    init();
    const Entry* e = find(window, component);
    if (!e || e->kind == Kind::Strip)
        return {};
    switch (e->kind) {
    case Kind::Background:
        return loadPicture(e->source, Kind::Background);
    case Kind::Picture:
        return loadPicture(e->source, Kind::Picture).convertToFormat(e->format);
    case Kind::Cell:
        return strip(window, QLatin1String(e->source)).cell(e->cell).convertToFormat(e->format);
    case Kind::PaddedCell: {
        const GlyphStrip s = strip(window, QLatin1String(e->source));
        QImage out(s.cellWidth() + 16, s.cellHeight(), QImage::Format_RGB32);
        out.fill(Qt::black);
        s.DrawCell(out, 8, 0, e->cell);
        return out;
    }
    case Kind::Strip:
        break;
    }
    return {};
}

QImage background(const QString& window)
{
    return picture(window, QStringLiteral("Image1"));
}

QByteArray sound(int id)
{
    init();
    if (id < 1 || id > 3)
        return {};
    QFile f(QStringLiteral(":/assets/sound%1.wav").arg(id));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString iconPath()
{
    init();
    return QStringLiteral(":/assets/vokari.ico");
}

} // namespace Assets
