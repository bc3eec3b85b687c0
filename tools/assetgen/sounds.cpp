#include "sounds.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace Sounds {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Taylor series, exact enough (error below 1e-15) on [0, pi/4].
double sinSeries(double x)
{
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 9; ++n) {
        term = -term * x2 / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

double cosSeries(double x)
{
    const double x2 = x * x;
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 9; ++n) {
        term = -term * x2 / static_cast<double>((2 * n - 1) * (2 * n));
        sum += term;
    }
    return sum;
}

void put16(QByteArray& out, int value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

void put32(QByteArray& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A mono PCM file: the 16-byte "fmt " chunk, the "data" chunk (padded to an even length, as
// RIFF asks) and any extra chunks after it.
QByteArray wave(int rate, int bits, const QByteArray& samples, const QByteArray& trailer = {})
{
    const int blockAlign = bits / 8;
    const QByteArray pad = samples.size() % 2 ? QByteArray(1, '\0') : QByteArray();
    QByteArray out("RIFF");
    put32(out, static_cast<std::uint32_t>(4 + 8 + 16 + 8 + samples.size() + pad.size() +
                                          trailer.size()));
    out.append("WAVEfmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, static_cast<std::uint32_t>(rate));
    put32(out, static_cast<std::uint32_t>(rate * blockAlign));
    put16(out, blockAlign);
    put16(out, bits);
    out.append("data");
    put32(out, static_cast<std::uint32_t>(samples.size()));
    out.append(samples);
    out.append(pad);
    out.append(trailer);
    return out;
}

long long roundHalfAway(double v)
{
    return static_cast<long long>(v >= 0 ? std::floor(v + 0.5) : -std::floor(-v + 0.5));
}

// Unsigned 8-bit samples of a sine of `freq` Hz scaled by `level(n)` of full scale.
template <typename Level> QByteArray tone8(int rate, int freq, int count, Level level)
{
    QByteArray out;
    for (int n = 0; n < count; ++n) {
        const double s = sineOfTurns(static_cast<long long>(freq) * n, rate);
        out.append(static_cast<char>(128 + roundHalfAway(127.0 * level(n) * s)));
    }
    return out;
}

// The envelope of the two-stroke alarm in (milliseconds, share of full scale), joined by
// straight lines; silent after the last point.
constexpr std::array<std::array<double, 2>, 12> kAlarmEnvelope = {{
    {0, 0.0},
    {2, 0.96},
    {65, 0.96},
    {86, 0.03},
    {112, 0.03},
    {128, 0.96},
    {165, 0.92},
    {215, 0.44},
    {240, 0.56},
    {265, 0.42},
    {330, 0.12},
    {430, 0.0},
}};

double alarmLevel(double ms)
{
    for (std::size_t i = 1; i < kAlarmEnvelope.size(); ++i) {
        const auto& a = kAlarmEnvelope[i - 1];
        const auto& b = kAlarmEnvelope[i];
        if (ms <= b[0])
            return a[1] + (b[1] - a[1]) * (ms - a[0]) / (b[0] - a[0]);
    }
    return 0.0;
}

} // namespace

double sineOfTurns(long long num, long long den)
{
    // Reduce to an eighth of a turn exactly in integers, then pick sin or cos by symmetry.
    long long r = num % den;
    if (r < 0)
        r += den;
    const long long eighths = (r * 8) / den;
    const double frac = static_cast<double>(r * 8 - eighths * den) / static_cast<double>(den);
    const double x = frac * (kPi / 4); // angle past the start of the eighth
    const double y = (1.0 - frac) * (kPi / 4);
    switch (eighths) {
    case 0:
        return sinSeries(x);
    case 1:
        return cosSeries(y);
    case 2:
        return cosSeries(x);
    case 3:
        return sinSeries(y);
    case 4:
        return -sinSeries(x);
    case 5:
        return -cosSeries(y);
    case 6:
        return -cosSeries(x);
    default:
        return -sinSeries(y);
    }
}

QByteArray beep()
{
    constexpr int kRate = 8000;
    QByteArray samples;
    for (int n = 0; n < 1600; ++n) {
        const long long v = roundHalfAway(16384.0 * sineOfTurns(1475LL * n, kRate));
        samples.append(static_cast<char>(v & 0xFF));
        samples.append(static_cast<char>((v >> 8) & 0xFF));
    }
    return wave(kRate, 16, samples);
}

QByteArray alarm()
{
    constexpr int kRate = 11025;
    return wave(kRate, 8,
                tone8(kRate, 445, 5200, [](int n) { return alarmLevel(1000.0 * n / kRate); }));
}

QByteArray beepTwo()
{
    constexpr int kRate = 8000;
    // An INFO list naming the tool that made the file: 8 + 4 + 8 + 24 = 44 bytes.
    QByteArray info("LIST");
    put32(info, 36);
    info.append("INFOISFT");
    put32(info, 24);
    info.append("vokari_assetgen (tones)");
    info.append('\0');
    return wave(kRate, 8, tone8(kRate, 895, 1865, [](int) { return 0.5; }), info);
}

} // namespace Sounds
