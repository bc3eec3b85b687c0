#include "assets/assettable.h"
#include "testimages.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>
#include <string>
#include <vector>

using TestImages::le16;
using TestImages::le32;

namespace {

QByteArray iconBytes()
{
    QFile f(Assets::iconPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Expected
{
    int size;
    int bits;
};

// Palette images first, largest first; then the 32-bit ones.
const std::vector<Expected> kImages = {{48, 8},  {32, 8},  {24, 8}, {16, 8},
                                       {32, 32}, {24, 32}, {16, 32}};

int rowBytes(int width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}

// Whether pixel (x, y) is marked transparent in the AND mask that starts at `mask`.
bool masked(const QByteArray& file, qsizetype mask, int size, int x, int y)
{
    const qsizetype row = mask + static_cast<qsizetype>(size - 1 - y) * rowBytes(size, 1);
    return (static_cast<unsigned char>(file.at(row + x / 8)) >> (7 - x % 8)) & 1;
}

} // namespace

TEST(ProgramIcon, DirectoryListsSevenImages)
{
    const QByteArray file = iconBytes();
    ASSERT_GE(file.size(), 6 + 16 * 7);
    EXPECT_EQ(le16(file, 0), 0);
    EXPECT_EQ(le16(file, 2), 1) << "resource type is not icon";
    ASSERT_EQ(le16(file, 4), kImages.size());

    qsizetype expectedOffset = 6 + 16 * static_cast<qsizetype>(kImages.size());
    for (std::size_t i = 0; i < kImages.size(); ++i) {
        const Expected& e = kImages[i];
        const std::string name = "image " + std::to_string(i) + " (" + std::to_string(e.size) +
                                 " px, " + std::to_string(e.bits) + "-bit)";
        const qsizetype entry = 6 + 16 * static_cast<qsizetype>(i);
        EXPECT_EQ(static_cast<unsigned char>(file.at(entry)), e.size) << name;
        EXPECT_EQ(static_cast<unsigned char>(file.at(entry + 1)), e.size) << name;
        EXPECT_EQ(le16(file, entry + 4), 1) << name << ": planes";
        EXPECT_EQ(le16(file, entry + 6), e.bits) << name;
        const std::uint32_t bytes = le32(file, entry + 8);
        const std::uint32_t offset = le32(file, entry + 12);
        EXPECT_EQ(offset, expectedOffset) << name << ": images follow each other";
        ASSERT_LE(offset + bytes, static_cast<std::uint32_t>(file.size())) << name;
        expectedOffset = offset + bytes;

        // The bitmap: header, palette for 8-bit, colour rows, then the 1-bit mask rows.
        EXPECT_EQ(le32(file, offset), 40u) << name;
        EXPECT_EQ(le32(file, offset + 4), static_cast<std::uint32_t>(e.size)) << name;
        EXPECT_EQ(le32(file, offset + 8), static_cast<std::uint32_t>(2 * e.size)) << name;
        EXPECT_EQ(le16(file, offset + 14), e.bits) << name;
        EXPECT_EQ(le32(file, offset + 16), 0u) << name << ": compressed";
        const int palette = e.bits == 8 ? 256 * 4 : 0;
        const int colour = rowBytes(e.size, e.bits) * e.size;
        const int mask = rowBytes(e.size, 1) * e.size;
        EXPECT_EQ(bytes, static_cast<std::uint32_t>(40 + palette + colour + mask)) << name;

        // Corners fall outside the rounded frame, the middle of the screen does not.
        const qsizetype maskStart = offset + 40 + palette + colour;
        EXPECT_TRUE(masked(file, maskStart, e.size, 0, 0)) << name << ": top-left corner";
        EXPECT_TRUE(masked(file, maskStart, e.size, e.size - 1, e.size - 1)) << name;
        EXPECT_FALSE(masked(file, maskStart, e.size, e.size / 2, e.size / 2)) << name;
    }
    EXPECT_EQ(expectedOffset, file.size()) << "bytes after the last image";
}

TEST(ProgramIcon, ReadsBackThroughQtAndShowsTheDisplay)
{
    QByteArray file = iconBytes();
    QBuffer buffer(&file);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    QImageReader reader(&buffer, "ico");
    ASSERT_TRUE(reader.canRead()) << qPrintable(reader.errorString());
    ASSERT_EQ(reader.imageCount(), static_cast<int>(kImages.size()));
    for (std::size_t i = 0; i < kImages.size(); ++i) {
        const std::string name = "image " + std::to_string(i);
        ASSERT_TRUE(reader.jumpToImage(static_cast<int>(i))) << name;
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(kImages[i].size, kImages[i].size)) << name;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << name << ": corner is transparent";

        int red = 0, cyan = 0, blue = 0, black = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (qAlpha(p) < 255)
                    continue;
                const int r = qRed(p), g = qGreen(p), b = qBlue(p);
                red += r > 150 && g < 90 && b < 90;
                cyan += r < 90 && g > 150 && b > 150;
                blue += b > 120 && b > r + 40 && b > g + 10;
                black += r < 20 && g < 20 && b < 20;
            }
        }
        const int area = image.width() * image.height();
        EXPECT_GT(red, area / 40) << name << ": red digits";
        EXPECT_GT(cyan, area / 80) << name << ": cyan dashes";
        EXPECT_GT(blue, area / 5) << name << ": blue frame";
        EXPECT_GT(black, area / 10) << name << ": black screen";
    }
}
