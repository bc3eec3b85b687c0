#include "assets/assettable.h"
#include "testimages.h"

#include <QByteArray>

#include <gtest/gtest.h>
#include <string>
#include <vector>

using TestImages::peak;
using TestImages::readWave;
using TestImages::samplesOf;

namespace {

std::size_t at(double ms, int rate)
{
    return static_cast<std::size_t>(ms * rate / 1000.0);
}

} // namespace

TEST(Sounds, HeadersDescribeTheirFormats)
{
    struct Case
    {
        int id;
        std::uint32_t rate;
        std::uint16_t bits;
        std::uint32_t samples;
        bool infoList; // a 44-byte LIST chunk follows the data
    };
    const std::vector<Case> cases = {
        {1, 8000, 16, 1600, false},
        {2, 11025, 8, 5200, false},
        {3, 8000, 8, 1865, true},
    };
    for (const Case& c : cases) {
        const std::string name = "sound " + std::to_string(c.id);
        const QByteArray file = Assets::sound(c.id);
        ASSERT_FALSE(file.isEmpty()) << name;
        const TestImages::Wave w = readWave(file);
        EXPECT_TRUE(w.wellFormed) << name;
        EXPECT_EQ(file.left(4), QByteArray("RIFF")) << name;
        EXPECT_EQ(w.riffSize, static_cast<std::uint32_t>(file.size() - 8)) << name;
        EXPECT_EQ(w.form, QByteArray("WAVE")) << name;
        EXPECT_EQ(w.fmtSize, 16u) << name;
        EXPECT_EQ(w.formatTag, 1) << name;
        EXPECT_EQ(w.channels, 1) << name;
        EXPECT_EQ(w.sampleRate, c.rate) << name;
        EXPECT_EQ(w.bitsPerSample, c.bits) << name;
        EXPECT_EQ(w.blockAlign, c.bits / 8) << name;
        EXPECT_EQ(w.byteRate, c.rate * (c.bits / 8)) << name;
        EXPECT_EQ(w.data.size(), static_cast<qsizetype>(c.samples * (c.bits / 8))) << name;

        std::vector<QByteArray> order;
        for (const TestImages::Chunk& chunk : w.chunks)
            order.push_back(chunk.id);
        std::vector<QByteArray> want = {"fmt ", "data"};
        if (c.infoList)
            want.push_back("LIST");
        EXPECT_EQ(order, want) << name << ": chunk order";
        if (c.infoList && w.chunks.size() == 3) {
            const TestImages::Chunk& list = w.chunks[2];
            EXPECT_EQ(8 + list.size, 44u) << name << ": LIST chunk length";
            EXPECT_EQ(list.offset + 44, file.size()) << name << ": LIST is the last chunk";
            EXPECT_EQ(file.mid(list.offset + 8, 4), QByteArray("INFO")) << name;
        }
    }
}

TEST(Sounds, OnlyIdsOneToThreeExist)
{
    for (int id : {-1, 0, 4, 100})
        EXPECT_TRUE(Assets::sound(id).isEmpty()) << "id " << id;
}

TEST(Sounds, SteadyTonesHaveTheirPitchAndHalfScale)
{
    struct Case
    {
        int id;
        double frequency;
    };
    for (const Case& c : {Case{1, 1475}, Case{3, 895}}) {
        const std::string name = "sound " + std::to_string(c.id);
        const TestImages::Wave w = readWave(Assets::sound(c.id));
        const std::vector<double> s = samplesOf(w);
        ASSERT_FALSE(s.empty()) << name;
        const int rate = static_cast<int>(w.sampleRate);
        EXPECT_NEAR(TestImages::zeroCrossingFrequency(s, rate, 0, s.size()), c.frequency,
                    0.03 * c.frequency)
            << name;
        // The level is about half of full scale and stays so: every 20 ms keeps the peak.
        const double level = peak(s, 0, s.size());
        EXPECT_GT(level, 0.42) << name;
        EXPECT_LT(level, 0.58) << name;
        const std::size_t window = at(20, rate);
        for (std::size_t start = 0; start + window <= s.size(); start += window)
            EXPECT_GT(peak(s, start, start + window), 0.9 * level) << name << " at " << start;
    }
}

TEST(Sounds, AlarmIsStruckTwiceAndDiesAway)
{
    const TestImages::Wave w = readWave(Assets::sound(2));
    const std::vector<double> s = samplesOf(w);
    ASSERT_EQ(s.size(), 5200u);
    const int rate = static_cast<int>(w.sampleRate);
    auto peakBetween = [&](double fromMs, double toMs) {
        return peak(s, at(fromMs, rate), at(toMs, rate));
    };

    EXPECT_NEAR(TestImages::zeroCrossingFrequency(s, rate, 0, at(60, rate)), 445, 0.03 * 445);
    EXPECT_NEAR(TestImages::zeroCrossingFrequency(s, rate, at(130, rate), at(200, rate)), 445,
                0.03 * 445);

    // Samples lie in [-1, 1], so a bound of 0 below or 1 above says nothing and is not checked.
    struct Span
    {
        const char* name;
        double fromMs, toMs;
        double atLeast, atMost;
    };
    const std::vector<Span> spans = {
        {"first stroke", 5, 65, 0.85, 1.0},     {"gap", 90, 110, 0.0, 0.1},
        {"second stroke", 130, 160, 0.85, 1.0}, {"dying away", 300, 330, 0.05, 0.5},
        {"silence", 430, 472, 0.0, 1.0 / 128},
    };
    for (const Span& span : spans) {
        const double p = peakBetween(span.fromMs, span.toMs);
        if (span.atLeast > 0) {
            EXPECT_GE(p, span.atLeast) << span.name;
        }
        if (span.atMost < 1) {
            EXPECT_LE(p, span.atMost) << span.name;
        }
    }
    // Each 5 ms of the first stroke stays near full scale, not just its loudest moment.
    for (double ms = 5; ms < 65; ms += 5)
        EXPECT_GT(peakBetween(ms, ms + 5), 0.85) << "first stroke at " << ms << " ms";
    // After the second stroke has faded to a trough near 215 ms it swells again near 240 ms.
    EXPECT_GT(peakBetween(236, 244), peakBetween(211, 219) + 0.05) << "swell near 240 ms";
}
