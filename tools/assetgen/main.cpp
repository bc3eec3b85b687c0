// vokari_assetgen <outdir>: draws and synthesises every embedded picture and sound of Vokari
// into <outdir>/pictures, <outdir>/sounds and <outdir>/icons. The output is the same, byte for
// byte, on every run; the committed copies under src/assets are checked against it.

#include "appicon.h"
#include "backgrounds.h"
#include "glyphs.h"
#include "jpegwriter.h"
#include "sounds.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdio>

namespace {

constexpr int kJpegQuality = 92;

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "vokari_assetgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writePng(const QString& path, const QImage& image)
{
    // Always 8-bit RGB, whatever format the drawing used.
    if (!image.convertToFormat(QImage::Format_RGB888).save(path, "PNG")) {
        std::fprintf(stderr, "vokari_assetgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vokari_assetgen <outdir>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const char* sub : {"pictures", "sounds", "icons"}) {
        if (!out.mkpath(QString::fromLatin1(sub))) {
            std::fprintf(stderr, "vokari_assetgen: cannot create %s/%s\n", argv[1], sub);
            return 1;
        }
    }
    auto pic = [&out](const char* name) {
        return out.filePath(QStringLiteral("pictures/") + QString::fromLatin1(name));
    };

    struct Background
    {
        const char* file;
        Backgrounds::Tile tile;
    };
    const Background backgrounds[] = {
        {"form1_background.jpg", {353, 353, 353, 24, 17}},
        {"frmactions_background.jpg", {353, 482, 474, 24, 17}},
        {"frmsettime_background.jpg", {353, 226, 226, 24, 17}},
        {"frmmsg_background.jpg", {598, 100, 100, 10, 8}},
    };
    bool ok = true;
    for (const Background& b : backgrounds)
        ok = writeBytes(pic(b.file), encodeJpeg(Backgrounds::draw(b.tile), kJpegQuality)) && ok;

    ok = writePng(pic("form1_imagelist1.png"), Glyphs::form1ImageList1()) && ok;
    ok = writePng(pic("form1_imagelist2.png"), Glyphs::form1ImageList2()) && ok;
    ok = writePng(pic("form1_imagelist3.png"), Glyphs::form1ImageList3()) && ok;
    ok = writePng(pic("frmactions_imagelist1.png"), Glyphs::actionsImageList1()) && ok;
    ok = writePng(pic("frmactions_imagelist2.png"), Glyphs::actionsImageList2()) && ok;
    ok = writePng(pic("frmsettime_imagelist1.png"), Glyphs::setTimeImageList1()) && ok;
    ok = writePng(pic("frmactions_hoverimage6.png"), Glyphs::actionsHoverImage6()) && ok;
    ok = writePng(pic("close_glyph.png"), Glyphs::closeGlyph()) && ok;
    ok = writePng(pic("minimise_glyph.png"), Glyphs::minimiseGlyph()) && ok;

    ok = writeBytes(out.filePath(QStringLiteral("sounds/sound1.wav")), Sounds::beep()) && ok;
    ok = writeBytes(out.filePath(QStringLiteral("sounds/sound2.wav")), Sounds::alarm()) && ok;
    ok = writeBytes(out.filePath(QStringLiteral("sounds/sound3.wav")), Sounds::beepTwo()) && ok;

    ok = writeBytes(out.filePath(QStringLiteral("icons/vokari.ico")), AppIcon::ico()) && ok;
    return ok ? 0 : 1;
}
