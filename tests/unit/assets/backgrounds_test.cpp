#include "assets/assettable.h"
#include "assets/jpegloader.h"
#include "testimages.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>
#include <string>
#include <vector>

using TestImages::rgb;

namespace {

QByteArray resourceBytes(const char* file)
{
    Assets::init();
    QFile f(QStringLiteral(":/assets/") + QString::fromLatin1(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int brightness(QRgb c)
{
    return (qRed(c) + qGreen(c) + qBlue(c)) / 3;
}

bool isWhite(QRgb c)
{
    return qRed(c) >= 248 && qGreen(c) >= 248 && qBlue(c) >= 248;
}

// Offset of the first SOF0 marker's length field, or -1.
qsizetype frameHeader(const QByteArray& jpeg)
{
    const qsizetype at = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    return at < 0 ? -1 : at + 2;
}

} // namespace

TEST(Backgrounds, RaisedGreyTilesWithWhiteCorners)
{
    struct Case
    {
        const char* window;
        int width, height;
        int tileHeight; // rows below stay white
    };
    const std::vector<Case> cases = {
        {"Form1", 353, 353, 353},
        {"frmActions", 353, 482, 474},
        {"frmSetTime", 353, 226, 226},
        {"frmMsg", 598, 100, 100},
    };
    for (const Case& c : cases) {
        const QImage bg = Assets::background(QString::fromLatin1(c.window));
        ASSERT_EQ(bg.size(), QSize(c.width, c.height)) << c.window;
        EXPECT_EQ(bg.format(), QImage::Format_RGB888) << c.window;
        EXPECT_EQ(bg, Assets::picture(QString::fromLatin1(c.window), QStringLiteral("Image1")))
            << c.window;

        const QRgb centre = bg.pixel(c.width / 2, c.tileHeight / 2);
        for (int channel : {qRed(centre), qGreen(centre), qBlue(centre)})
            EXPECT_NEAR(channel, 173, 3) << c.window << ": face is " << rgb(centre);

        const int last = c.tileHeight - 1;
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{c.width - 1, 0}, std::pair{0, last},
                                   std::pair{c.width - 1, last}}) {
            EXPECT_TRUE(isWhite(bg.pixel(x, y)))
                << c.window << ": corner (" << x << ", " << y << ") is " << rgb(bg.pixel(x, y));
        }
        for (int y = c.tileHeight + 2; y < c.height; ++y) {
            for (int x = 0; x < c.width; x += 16)
                ASSERT_TRUE(isWhite(bg.pixel(x, y))) << c.window << ": row " << y << " below";
        }

        // Light along the top and left, dark along the bottom and right, a dark outline.
        const int face = brightness(centre);
        const int midX = c.width / 2;
        const int midY = c.tileHeight / 2;
        EXPECT_LT(brightness(bg.pixel(midX, 0)), 140) << c.window << ": top outline";
        EXPECT_GT(brightness(bg.pixel(midX, 2)), face + 40) << c.window << ": top highlight";
        EXPECT_GT(brightness(bg.pixel(2, midY)), face + 40) << c.window << ": left highlight";
        EXPECT_LT(brightness(bg.pixel(midX, last - 4)), face - 40) << c.window << ": bottom band";
        EXPECT_LT(brightness(bg.pixel(c.width - 5, midY)), face - 40) << c.window << ": right band";
        const QRgb highlight = bg.pixel(midX, 1);
        EXPECT_GE(qRed(highlight), qBlue(highlight)) << c.window << ": highlight is faintly pink";
    }
}

TEST(Backgrounds, UnknownWindowHasNoBackground)
{
    EXPECT_TRUE(Assets::background(QStringLiteral("frmAbout")).isNull());
}

TEST(JpegLoader, DecodesAValidFileWithLibjpeg)
{
    const QByteArray jpeg = resourceBytes("frmmsg_background.jpg");
    ASSERT_FALSE(jpeg.isEmpty());
    const QImage image = decodeJpeg(jpeg);
    ASSERT_EQ(image.size(), QSize(598, 100));
    EXPECT_EQ(image.format(), QImage::Format_RGB888);

    // A one-component (grey) JPEG comes out as 24-bit colour too.
    QImage grey(20, 10, QImage::Format_Grayscale8);
    grey.fill(90);
    QByteArray greyJpeg;
    QBuffer buffer(&greyJpeg);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(grey.save(&buffer, "JPG", 95)) << "Qt's JPEG writer is needed for this case";
    const QImage decoded = decodeJpeg(greyJpeg);
    ASSERT_EQ(decoded.size(), QSize(20, 10));
    EXPECT_EQ(decoded.format(), QImage::Format_RGB888);
    EXPECT_NEAR(qRed(decoded.pixel(10, 5)), 90, 2);
    EXPECT_EQ(qRed(decoded.pixel(10, 5)), qBlue(decoded.pixel(10, 5)));
}

TEST(JpegLoader, CorruptDataGivesANullImage)
{
    const QByteArray good = resourceBytes("form1_background.jpg");
    ASSERT_GT(good.size(), 1000);
    const qsizetype sof = frameHeader(good);
    ASSERT_GT(sof, 0);

    auto patched = [&good](qsizetype at, std::initializer_list<char> bytes) {
        QByteArray b = good;
        for (char c : bytes)
            b[at++] = c;
        return b;
    };
    struct Case
    {
        const char* name;
        QByteArray data;
    };
    const std::vector<Case> cases = {
        {"empty", QByteArray()},
        {"not a JPEG", QByteArray("this is plain text, not a picture at all").repeated(20)},
        {"no start-of-image marker", patched(0, {'\x00'})},
        {"headers only", good.left(sof + 20)},
        {"scan cut in half", good.left(good.size() / 2)},
        {"end marker missing", good.left(good.size() - 2)},
        // The frame header: length (2), precision (1), height (2), width (2), components.
        {"zero width", patched(sof + 5, {'\x00', '\x00'})},
        {"12-bit precision", patched(sof + 2, {'\x0C'})},
        {"four components", patched(sof + 7, {'\x04'})},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(decodeJpeg(c.data).isNull()) << c.name;
}
