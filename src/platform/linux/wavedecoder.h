#pragma once

#include <QByteArray>

#include <optional>

// Sound samples ready for an output: signed 16-bit, channels interleaved.
struct PcmSound
{
    int sampleRate = 0;
    int channelCount = 0;
    QByteArray samples;
};

// Reads a RIFF WAVE file: integer PCM of 8, 16, 24 or 32 bits or 32/64-bit float, plain or in
// the extensible layout, at any rate and channel count. A file cut short plays what it holds.
// Nothing when the bytes are no such file or hold no sound.
std::optional<PcmSound> decodeWave(const QByteArray& file);
