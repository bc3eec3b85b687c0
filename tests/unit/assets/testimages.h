#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// Helpers shared by the asset tests: pixel descriptions, little-endian reads and a RIFF WAVE
// reader that checks nothing itself, so each test can state its own expectations.
namespace TestImages {

std::string rgb(QRgb c);
bool isBlack(QRgb c);

// The picture drawn centred in a black box of the given size, the way a centred picture
// control shows it: offset (box - picture) / 2 truncated toward zero, clipped to the box.
QImage centredIn(const QImage& picture, int boxWidth, int boxHeight);

// Whether some black pixel cannot reach the picture's border through black pixels (4-way):
// a black cut-out inside the icon rather than ground around it.
bool hasEnclosedBlack(const QImage& picture);

std::uint32_t le32(const QByteArray& bytes, qsizetype offset);
std::uint16_t le16(const QByteArray& bytes, qsizetype offset);

struct Chunk
{
    QByteArray id;
    qsizetype offset = 0; // of the chunk header
    std::uint32_t size = 0;
};

struct Wave
{
    std::uint32_t riffSize = 0;
    QByteArray form;
    std::vector<Chunk> chunks; // in file order
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t byteRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint32_t fmtSize = 0;
    QByteArray data;
    bool wellFormed = false; // every chunk lies inside the file
};

Wave readWave(const QByteArray& file);

// Samples as fractions of full scale in [-1, 1]: 8-bit unsigned around 128, 16-bit signed.
std::vector<double> samplesOf(const Wave& wave);

// Frequency from the first to the last rising zero crossing, interpolated between samples.
double zeroCrossingFrequency(const std::vector<double>& samples, int rate, std::size_t first,
                             std::size_t last);

// Largest magnitude among samples [first, last).
double peak(const std::vector<double>& samples, std::size_t first, std::size_t last);

} // namespace TestImages
