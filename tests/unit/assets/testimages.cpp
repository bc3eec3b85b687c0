#include "testimages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace TestImages {

std::string rgb(QRgb c)
{
    char text[32];
    std::snprintf(text, sizeof text, "(%d, %d, %d)", qRed(c), qGreen(c), qBlue(c));
    return text;
}

bool isBlack(QRgb c)
{
    return qRed(c) == 0 && qGreen(c) == 0 && qBlue(c) == 0;
}

QImage centredIn(const QImage& picture, int boxWidth, int boxHeight)
{
    QImage box(boxWidth, boxHeight, QImage::Format_RGB32);
    box.fill(Qt::black);
    const int ox = (boxWidth - picture.width()) / 2;
    const int oy = (boxHeight - picture.height()) / 2;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (x + ox >= 0 && x + ox < boxWidth && y + oy >= 0 && y + oy < boxHeight)
                box.setPixel(x + ox, y + oy, picture.pixel(x, y));
        }
    }
    return box;
}

bool hasEnclosedBlack(const QImage& picture)
{
    const int w = picture.width();
    const int h = picture.height();
    std::vector<char> reached(static_cast<std::size_t>(w * h), 0);
    std::vector<std::pair<int, int>> todo;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return;
        char& r = reached[static_cast<std::size_t>(y * w + x)];
        if (r || !isBlack(picture.pixel(x, y)))
            return;
        r = 1;
        todo.emplace_back(x, y);
    };
    for (int x = 0; x < w; ++x) {
        visit(x, 0);
        visit(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        visit(0, y);
        visit(w - 1, y);
    }
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        visit(x + 1, y);
        visit(x - 1, y);
        visit(x, y + 1);
        visit(x, y - 1);
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (isBlack(picture.pixel(x, y)) && !reached[static_cast<std::size_t>(y * w + x)])
                return true;
        }
    }
    return false;
}

std::uint32_t le32(const QByteArray& bytes, qsizetype offset)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes.at(offset + i));
    return v;
}

std::uint16_t le16(const QByteArray& bytes, qsizetype offset)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(offset)) |
                                      (static_cast<unsigned char>(bytes.at(offset + 1)) << 8));
}

Wave readWave(const QByteArray& file)
{
    Wave w;
    if (file.size() < 12)
        return w;
    w.riffSize = le32(file, 4);
    w.form = file.mid(8, 4);
    qsizetype pos = 12;
    w.wellFormed = file.left(4) == "RIFF";
    while (pos + 8 <= file.size()) {
        Chunk c{file.mid(pos, 4), pos, le32(file, pos + 4)};
        const qsizetype body = pos + 8;
        if (body + static_cast<qsizetype>(c.size) > file.size()) {
            w.wellFormed = false;
            break;
        }
        if (c.id == "fmt " && c.size >= 16) {
            w.fmtSize = c.size;
            w.formatTag = le16(file, body);
            w.channels = le16(file, body + 2);
            w.sampleRate = le32(file, body + 4);
            w.byteRate = le32(file, body + 8);
            w.blockAlign = le16(file, body + 12);
            w.bitsPerSample = le16(file, body + 14);
        } else if (c.id == "data") {
            w.data = file.mid(body, c.size);
        }
        w.chunks.push_back(c);
        // Chunks start on even offsets: an odd-sized body is followed by a pad byte.
        pos = body + c.size + (c.size % 2);
    }
    if (pos != file.size())
        w.wellFormed = false;
    return w;
}

std::vector<double> samplesOf(const Wave& wave)
{
    std::vector<double> out;
    const auto* bytes = reinterpret_cast<const unsigned char*>(wave.data.constData());
    if (wave.bitsPerSample == 8) {
        for (qsizetype i = 0; i < wave.data.size(); ++i)
            out.push_back((bytes[i] - 128) / 128.0);
    } else if (wave.bitsPerSample == 16) {
        for (qsizetype i = 0; i + 1 < wave.data.size(); i += 2)
            out.push_back(static_cast<std::int16_t>(le16(wave.data, i)) / 32768.0);
    }
    return out;
}

double zeroCrossingFrequency(const std::vector<double>& samples, int rate, std::size_t first,
                             std::size_t last)
{
    last = std::min(last, samples.size());
    double firstCross = -1;
    double lastCross = -1;
    int crossings = 0;
    for (std::size_t i = first + 1; i < last; ++i) {
        const double a = samples[i - 1];
        const double b = samples[i];
        if (a < 0 && b >= 0) {
            const double t = static_cast<double>(i - 1) + (-a) / (b - a);
            if (firstCross < 0)
                firstCross = t;
            lastCross = t;
            ++crossings;
        }
    }
    if (crossings < 2)
        return 0;
    return (crossings - 1) * rate / (lastCross - firstCross);
}

double peak(const std::vector<double>& samples, std::size_t first, std::size_t last)
{
    double p = 0;
    for (std::size_t i = first; i < std::min(last, samples.size()); ++i)
        p = std::max(p, std::fabs(samples[i]));
    return p;
}

} // namespace TestImages
