#include "platform/linux/wavedecoder.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr quint16 kPcm = 1;
constexpr quint16 kFloat = 3;
constexpr quint16 kExtensible = 0xFFFE;
constexpr int kMaxChannels = 32;
constexpr quint32 kMaxRate = 768000;

struct Format
{
    quint16 encoding = 0;
    int channels = 0;
    quint32 rate = 0;
    int bits = 0;
    int frameBytes = 0;
};

template <typename T> T readLe(const char* at)
{
    return qFromLittleEndian<T>(at);
}

std::optional<Format> readFormat(const char* body, quint32 size)
{
    if (size < 16)
        return std::nullopt;
    Format f;
    f.encoding = readLe<quint16>(body);
    f.channels = readLe<quint16>(body + 2);
    f.rate = readLe<quint32>(body + 4);
    const int blockAlign = readLe<quint16>(body + 12);
    f.bits = readLe<quint16>(body + 14);
    if (f.encoding == kExtensible) {
        // The real encoding is the first two bytes of the sub-format GUID.
        if (size < 40)
            return std::nullopt;
        f.encoding = readLe<quint16>(body + 24);
    }
    const bool integer =
        f.encoding == kPcm && (f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32);
    const bool floating = f.encoding == kFloat && (f.bits == 32 || f.bits == 64);
    if (!integer && !floating)
        return std::nullopt;
    if (f.channels < 1 || f.channels > kMaxChannels || f.rate < 1 || f.rate > kMaxRate)
        return std::nullopt;
    // Some writers pad a frame beyond its samples; a block smaller than the samples is wrong.
    f.frameBytes = qMax(blockAlign, f.channels * f.bits / 8);
    return f;
}

qint16 sampleAt(const char* at, const Format& f)
{
    if (f.encoding == kFloat) {
        double v = 0;
        if (f.bits == 32) {
            float single;
            std::memcpy(&single, at, sizeof single);
            v = single;
        } else {
            std::memcpy(&v, at, sizeof v);
        }
        if (!std::isfinite(v))
            return 0;
        return static_cast<qint16>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
    }
    switch (f.bits) {
    case 8: // unsigned, centred on 128
        return static_cast<qint16>((static_cast<quint8>(*at) - 128) * 256);
    case 16:
        return readLe<qint16>(at);
    case 24:
        return static_cast<qint16>(readLe<qint16>(at + 1));
    default:
        return static_cast<qint16>(readLe<qint32>(at) >> 16);
    }
}

} // namespace

std::optional<PcmSound> decodeWave(const QByteArray& file)
{
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return std::nullopt;
    const char* bytes = file.constData();
    const qsizetype total = file.size();
    std::optional<Format> format;
    qsizetype at = 12;
    while (at + 8 <= total) {
        const QByteArray id = file.mid(at, 4);
        const quint32 size = readLe<quint32>(bytes + at + 4);
        const qsizetype body = at + 8;
        const qsizetype available = qMin<qsizetype>(size, total - body);
        if (id == "fmt ") {
            if (available < size)
                return std::nullopt;
            format = readFormat(bytes + body, size);
            if (!format)
                return std::nullopt;
        } else if (id == "data") {
            if (!format)
                return std::nullopt;
            const qsizetype frames = available / format->frameBytes;
            if (frames == 0)
                return std::nullopt;
            const int sampleBytes = format->bits / 8;
            PcmSound sound;
            sound.sampleRate = static_cast<int>(format->rate);
            sound.channelCount = format->channels;
            sound.samples.resize(frames * format->channels * 2);
            auto* out = reinterpret_cast<qint16*>(sound.samples.data());
            for (qsizetype frame = 0; frame < frames; ++frame) {
                const char* in = bytes + body + frame * format->frameBytes;
                for (int c = 0; c < format->channels; ++c)
                    *out++ = sampleAt(in + c * sampleBytes, *format);
            }
            return sound;
        }
        // Chunks are padded to an even length.
        at = body + qsizetype(size) + (size & 1);
    }
    return std::nullopt;
}
