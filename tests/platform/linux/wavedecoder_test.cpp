#include "assets/assettable.h"
#include "platform/linux/wavedecoder.h"

#include <QtEndian>

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

QByteArray le16(quint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray chunk(const QByteArray& id, const QByteArray& body)
{
    QByteArray c = id + le32(quint32(body.size())) + body;
    if (body.size() % 2)
        c += '\0';
    return c;
}

QByteArray fmtBody(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    const quint16 block = quint16(channels * bits / 8);
    return le16(tag) + le16(channels) + le32(rate) + le32(rate * block) + le16(block) + le16(bits);
}

// The extensible layout: the real encoding is in the sub-format GUID.
QByteArray extensibleBody(quint16 encoding, quint16 channels, quint32 rate, quint16 bits)
{
    static const QByteArray guidTail = QByteArray::fromHex("000000001000800000aa00389b71");
    return fmtBody(0xFFFE, channels, rate, bits) + le16(22) + le16(bits) + le32(0) +
           le16(encoding) + guidTail;
}

QByteArray riff(const QByteArray& chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

std::vector<qint16> samplesOf(const PcmSound& sound)
{
    std::vector<qint16> out(std::size_t(sound.samples.size() / 2));
    std::memcpy(out.data(), sound.samples.constData(), out.size() * 2);
    return out;
}

QByteArray floats(const std::vector<float>& values)
{
    QByteArray b;
    for (float v : values) {
        quint32 bits;
        std::memcpy(&bits, &v, 4);
        b += le32(bits);
    }
    return b;
}

QByteArray doubles(const std::vector<double>& values)
{
    QByteArray b;
    for (double v : values) {
        quint64 bits;
        std::memcpy(&bits, &v, 8);
        b += le32(quint32(bits)) + le32(quint32(bits >> 32));
    }
    return b;
}

TEST(WaveDecoder, EveryEncodingBecomesSigned16Bit)
{
    struct Case
    {
        const char* name;
        QByteArray file;
        int rate;
        int channels;
        std::vector<qint16> samples;
    };
    const std::vector<Case> cases = {
        {"8-bit, unsigned around 128",
         riff(chunk("fmt ", fmtBody(1, 1, 11025, 8)) +
              chunk("data", QByteArray::fromHex("0080ff40"))),
         11025,
         1,
         {-32768, 0, 32512, -16384}},
        {"16-bit stereo",
         riff(chunk("fmt ", fmtBody(1, 2, 44100, 16)) +
              chunk("data", le16(0x7fff) + le16(0x8000) + le16(1) + le16(0xffff))),
         44100,
         2,
         {32767, -32768, 1, -1}},
        {"24-bit keeps the upper 16 bits",
         riff(chunk("fmt ", fmtBody(1, 1, 48000, 24)) +
              chunk("data", QByteArray::fromHex("ff3412"
                                                "000080"
                                                "ffffff"))),
         48000,
         1,
         {0x1234, -32768, -1}},
        {"32-bit integer",
         riff(chunk("fmt ", fmtBody(1, 1, 8000, 32)) +
              chunk("data", le32(0x7fffffff) + le32(0x80000000) + le32(0x00010000))),
         8000,
         1,
         {32767, -32768, 1}},
        {"32-bit float, clipped",
         riff(chunk("fmt ", fmtBody(3, 1, 22050, 32)) +
              chunk("data", floats({1.0f, -0.5f, 2.0f, 0.0f}))),
         22050,
         1,
         {32767, -16384, 32767, 0}},
        {"64-bit float",
         riff(chunk("fmt ", fmtBody(3, 1, 22050, 64)) + chunk("data", doubles({-1.0, 0.25}))),
         22050,
         1,
         {-32767, 8192}},
        {"extensible PCM",
         riff(chunk("fmt ", extensibleBody(1, 1, 16000, 16)) +
              chunk("data", le16(1234) + le16(0xfb2e))),
         16000,
         1,
         {1234, -1234}},
        {"chunks before, between and after, one of odd length",
         riff(chunk("LIST", "INFOx") + chunk("fmt ", fmtBody(1, 1, 8000, 16)) +
              chunk("fact", le32(2)) + chunk("data", le16(7) + le16(8)) + chunk("LIST", "abc")),
         8000,
         1,
         {7, 8}},
        {"data cut short keeps the whole frames it holds",
         riff(chunk("fmt ", fmtBody(1, 2, 8000, 16))) + "data" + le32(400) + le16(5) + le16(6) +
             le16(9),
         8000,
         2,
         {5, 6}},
    };
    for (const Case& c : cases) {
        const std::optional<PcmSound> sound = decodeWave(c.file);
        ASSERT_TRUE(sound.has_value()) << c.name;
        EXPECT_EQ(sound->sampleRate, c.rate) << c.name;
        EXPECT_EQ(sound->channelCount, c.channels) << c.name;
        EXPECT_EQ(samplesOf(*sound), c.samples) << c.name;
    }
}

TEST(WaveDecoder, WhatIsNoPlayableSoundIsRefused)
{
    const QByteArray fmt16 = chunk("fmt ", fmtBody(1, 1, 8000, 16));
    const QByteArray data = chunk("data", le16(1) + le16(2));
    struct Case
    {
        const char* name;
        QByteArray file;
    };
    const std::vector<Case> cases = {
        {"empty", QByteArray()},
        {"text", "just some text, long enough to have a header"},
        {"a RIFF of another kind", "RIFF" + le32(12) + "AVI " + fmt16 + data},
        {"no format chunk", riff(data)},
        {"data before the format", riff(data + fmt16)},
        {"no data chunk", riff(fmt16)},
        {"empty data", riff(fmt16 + chunk("data", QByteArray()))},
        {"less than one frame",
         riff(chunk("fmt ", fmtBody(1, 2, 8000, 16)) + chunk("data", le16(1)))},
        {"compressed (ADPCM)", riff(chunk("fmt ", fmtBody(2, 1, 8000, 4)) + data)},
        {"12-bit", riff(chunk("fmt ", fmtBody(1, 1, 8000, 12)) + data)},
        {"no channels", riff(chunk("fmt ", fmtBody(1, 0, 8000, 16)) + data)},
        {"rate zero", riff(chunk("fmt ", fmtBody(1, 1, 0, 16)) + data)},
        {"format chunk cut short", riff(fmt16.left(20))},
        {"extensible of an unknown encoding",
         riff(chunk("fmt ", extensibleBody(2, 1, 8000, 16)) + data)},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(decodeWave(c.file).has_value()) << c.name;
}

TEST(WaveDecoder, TheBuiltInSoundsDecodeWhole)
{
    struct Case
    {
        int id;
        int rate;
        qsizetype frames;
    };
    for (const Case& c : {Case{1, 8000, 1600}, Case{2, 11025, 5200}, Case{3, 8000, 1865}}) {
        const std::optional<PcmSound> sound = decodeWave(Assets::sound(c.id));
        ASSERT_TRUE(sound.has_value()) << "sound " << c.id;
        EXPECT_EQ(sound->sampleRate, c.rate) << "sound " << c.id;
        EXPECT_EQ(sound->channelCount, 1) << "sound " << c.id;
        EXPECT_EQ(sound->samples.size(), c.frames * 2) << "sound " << c.id;
    }
}

} // namespace
