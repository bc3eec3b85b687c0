// vokari_iconpng <icon.ico> <size> <out.png> [<size> <out.png>]...
// Copies the .ico's picture of each size into a PNG file. Pictures are copied, never scaled:
// a size the .ico lacks is an error, so a theme icon cannot silently turn blurry.

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

// The .ico holds some sizes twice (256 colours with a mask, and 32-bit with alpha): the
// deepest one has the soft edges.
std::optional<QImage> pictureOfSize(const QString& path, int size, QString& error)
{
    QImageReader reader(path);
    const int count = reader.imageCount();
    if (count <= 0) {
        error = reader.errorString();
        return std::nullopt;
    }
    int bestIndex = -1;
    int bestDepth = -1;
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i))
            break;
        if (reader.size() != QSize(size, size))
            continue;
        const int depth = QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel();
        if (depth > bestDepth) {
            bestDepth = depth;
            bestIndex = i;
        }
    }
    if (bestIndex < 0) {
        error = QStringLiteral("no %1x%1 picture").arg(size);
        return std::nullopt;
    }
    reader.jumpToImage(bestIndex);
    QImage image = reader.read();
    if (image.isNull()) {
        error = reader.errorString();
        return std::nullopt;
    }
    // Straight alpha, so the PNG is plain RGBA.
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 3 || args.size() % 2 == 0) {
        std::fprintf(stderr,
                     "usage: vokari_iconpng <icon.ico> <size> <out.png> [<size> <out.png>]...\n");
        return 2;
    }
    const QString& icon = args[0];
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        bool ok = false;
        const int size = args[i].toInt(&ok);
        if (!ok || size <= 0) {
            std::fprintf(stderr, "vokari_iconpng: bad size '%s'\n", qPrintable(args[i]));
            return 2;
        }
        QString error;
        const std::optional<QImage> image = pictureOfSize(icon, size, error);
        if (!image) {
            std::fprintf(stderr, "vokari_iconpng: %s: %s\n", qPrintable(icon), qPrintable(error));
            return 1;
        }
        if (!image->save(args[i + 1], "PNG")) {
            std::fprintf(stderr, "vokari_iconpng: cannot write %s\n", qPrintable(args[i + 1]));
            return 1;
        }
    }
    return 0;
}
