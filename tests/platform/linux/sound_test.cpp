#include "assets/assettable.h"
#include "childprocesses.h"
#include "platform/linux/linuxplatform.h"
#include "soundcheck.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using ChildProcesses::PrivatePulse;
using SoundCheck::Span;

namespace {

constexpr int kRate = PrivatePulse::kRate;
// A play hands the sound to another thread and returns; this is ample for that.
#if defined(__SANITIZE_ADDRESS__)
// The sanitizers make loading the sound module at the first sound several times slower; how
// promptly a play call returns is the plain build's goal.
constexpr qint64 kPromptMs = 400;
#else
constexpr qint64 kPromptMs = 100;
#endif
// How long the longest sound plus the server's latency may take to arrive.
constexpr int kArriveMs = 5000;

// The built-in sounds as the assets define them: pitch, and how long they stay loud. Sound 2
// is struck twice and dies away, so its pitch is taken from its first stroke.
struct Tone
{
    double hz;
    double ms;
    double pitchMs; // how much of the start gives the pitch; 0 for all of it
};
constexpr Tone kSound1{1472.5, 200.0, 0};
constexpr Tone kSound2{445.0, 365.0, 60};
constexpr Tone kSound3{894.4, 233.1, 0};

bool near(double value, double wanted, double tolerance)
{
    return std::abs(value - wanted) <= tolerance;
}

// Every test records the private server's null sink from its start.
class PulseSound : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pulse = new PrivatePulse;
        s_why = s_pulse->start();
        // Read by the audio library when the first sound opens the output.
        if (s_why.isEmpty()) {
            qputenv("PULSE_SERVER", s_pulse->serverAddress().toUtf8());
            qputenv("PULSE_COOKIE", s_pulse->cookie().toUtf8());
        }
    }
    static void TearDownTestSuite()
    {
        delete s_pulse;
        s_pulse = nullptr;
    }

    void SetUp() override
    {
        if (!s_why.isEmpty())
            GTEST_SKIP() << "no private PulseAudio server: " << s_why.toStdString();
        const QString why = s_pulse->startRecording();
        ASSERT_TRUE(why.isEmpty()) << why.toStdString();
        ASSERT_TRUE(m_dir.isValid());
    }

    // Plays through `play`, which must return promptly, and waits for the sound and the
    // silence after it to be recorded. The span of the sound, or nothing if none came.
    std::optional<Span> record(const std::function<void()>& play)
    {
        const std::size_t from = s_pulse->recording().size();
        QElapsedTimer clock;
        clock.start();
        play();
        EXPECT_LT(clock.elapsed(), kPromptMs) << "a play call kept the caller waiting";
        return waitForEnd(from);
    }

    std::optional<Span> waitForEnd(std::size_t from)
    {
        std::optional<Span> span;
        const std::size_t quietAfter = std::size_t(0.3 * kRate);
        ChildProcesses::waitUntil(
            [&] {
                const std::vector<qint16> samples = s_pulse->recording();
                span = SoundCheck::loudSpan(samples, from);
                return span && samples.size() >= span->end + quietAfter;
            },
            kArriveMs);
        return span;
    }

    void expectTone(const std::optional<Span>& span, Tone tone, const std::string& what)
    {
        ASSERT_TRUE(span.has_value()) << what << ": nothing was heard";
        const std::vector<qint16> samples = s_pulse->recording();
        const double ms = SoundCheck::milliseconds(span->end - span->first, kRate);
        const std::size_t pitchEnd =
            tone.pitchMs > 0 ? span->first + std::size_t(tone.pitchMs * kRate / 1000) : span->end;
        const double hz = SoundCheck::pitch(samples, span->first, pitchEnd, kRate);
        EXPECT_TRUE(near(ms, tone.ms, 30)) << what << ": lasted " << ms << " ms, not " << tone.ms;
        EXPECT_TRUE(near(hz, tone.hz, tone.hz * 0.02))
            << what << ": pitch " << hz << " Hz, not " << tone.hz;
    }

    QString writeFile(const QString& name, const QByteArray& content)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        return path;
    }

    static inline PrivatePulse* s_pulse = nullptr;
    static inline QString s_why;
    QTemporaryDir m_dir;
};

// First in this file, so no earlier test has loaded the module into the process.
TEST_F(PulseSound, TheSoundModuleLoadsAtTheFirstSoundAndAMissingOneIsSilence)
{
    const auto multimediaMapped = [] {
        QFile maps(u"/proc/self/maps"_s);
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
    };
    LinuxPlatform platform(QDBusConnection(u"unused"_s), Launcher(),
                           QStringLiteral(VOKARI_SOUND_MODULE));
    LinuxPlatform withoutModule(QDBusConnection(u"unused"_s), Launcher(),
                                m_dir.filePath(u"vokari_sound"_s));
    EXPECT_FALSE(multimediaMapped()) << "loaded before any sound";
    EXPECT_FALSE(record([&] { withoutModule.playBuiltInSound(2); }).has_value());
    expectTone(record([&] { platform.playBuiltInSound(2); }), kSound2, "after the silence");
    EXPECT_TRUE(multimediaMapped());
}

TEST_F(PulseSound, EachSoundIsHeardWholeAtItsPitch)
{
    const QString copyOfSound3 = writeFile(u"copy of sound 3.wav"_s, Assets::sound(3));
    const QString notASound = writeFile(u"notes.wav"_s, "not a sound at all");
    struct Case
    {
        const char* name;
        std::function<void(Platform&)> play;
        Tone tone;
    };
    const std::vector<Case> cases = {
        {"built-in sound 1", [](Platform& p) { p.playBuiltInSound(1); }, kSound1},
        {"built-in sound 2", [](Platform& p) { p.playBuiltInSound(2); }, kSound2},
        {"built-in sound 3", [](Platform& p) { p.playBuiltInSound(3); }, kSound3},
        {"a sound file by name", [&](Platform& p) { p.playSoundNamed(copyOfSound3); }, kSound3},
        // Anything that is no sound file plays the default sound.
        {"a missing file", [&](Platform& p) { p.playSoundNamed(m_dir.filePath(u"gone.wav"_s)); },
         kSound1},
        {"a file that is no sound", [&](Platform& p) { p.playSoundNamed(notASound); }, kSound1},
        {"a folder", [&](Platform& p) { p.playSoundNamed(m_dir.path()); }, kSound1},
        {"no name", [](Platform& p) { p.playSoundNamed(QString()); }, kSound1},
        {"an unknown built-in sound", [](Platform& p) { p.playBuiltInSound(9); }, kSound1},
    };
    LinuxPlatform platform(QDBusConnection(u"unused"_s), Launcher(),
                           QStringLiteral(VOKARI_SOUND_MODULE));
    for (const Case& c : cases)
        expectTone(record([&] { c.play(platform); }), c.tone, c.name);
}

TEST_F(PulseSound, ASoundAskedForAtOnceReplacesTheOneBefore)
{
    struct Case
    {
        const char* name;
        std::function<void(Platform&)> first;
        std::function<void(Platform&)> second;
    };
    const QString sound3 = writeFile(u"sound3.wav"_s, Assets::sound(3));
    const std::vector<Case> cases = {
        {"built-in", [](Platform& p) { p.playBuiltInSound(2); },
         [](Platform& p) { p.playBuiltInSound(3); }},
        {"by name", [](Platform& p) { p.playBuiltInSound(2); },
         [&](Platform& p) { p.playSoundNamed(sound3); }},
    };
    LinuxPlatform platform(QDBusConnection(u"unused"_s), Launcher(),
                           QStringLiteral(VOKARI_SOUND_MODULE));
    for (const Case& c : cases) {
        // Only the second is heard: sound 3's length and pitch, nothing of sound 2 beside it.
        const std::optional<Span> span = record([&] {
            c.first(platform);
            c.second(platform);
        });
        expectTone(span, kSound3, c.name);
        if (!span)
            continue;
        const std::vector<double> pitches =
            SoundCheck::windowPitches(s_pulse->recording(), *span, kRate);
        for (std::size_t w = 0; w < pitches.size(); ++w)
            EXPECT_TRUE(pitches[w] == 0 || near(pitches[w], kSound3.hz, 90))
                << c.name << ": window " << w << " sounds at " << pitches[w] << " Hz";
    }
}

TEST_F(PulseSound, ANewSoundCutsOffTheOneStillPlaying)
{
    LinuxPlatform platform(QDBusConnection(u"unused"_s), Launcher(),
                           QStringLiteral(VOKARI_SOUND_MODULE));
    const std::size_t from = s_pulse->recording().size();
    platform.playBuiltInSound(2);
    // Sound 3 starts once sound 2 has been heard for a while, well before its end.
    const bool heard = ChildProcesses::waitUntil(
        [&] {
            const std::vector<qint16> samples = s_pulse->recording();
            const std::optional<Span> span = SoundCheck::loudSpan(samples, from);
            return span && SoundCheck::milliseconds(span->end - span->first, kRate) >= 60;
        },
        kArriveMs);
    ASSERT_TRUE(heard) << "sound 2 never arrived";
    QElapsedTimer clock;
    clock.start();
    platform.playBuiltInSound(3);
    EXPECT_LT(clock.elapsed(), kPromptMs);
    const std::optional<Span> span = waitForEnd(from);
    ASSERT_TRUE(span.has_value());

    // Window by window: sound 2, then sound 3 to its end, and no return of sound 2.
    const std::vector<double> pitches =
        SoundCheck::windowPitches(s_pulse->recording(), *span, kRate);
    int first = 0, second = 0, quiet = 0, neither = 0;
    std::size_t lastFirst = 0, firstSecond = pitches.size();
    for (std::size_t w = 0; w < pitches.size(); ++w) {
        if (near(pitches[w], kSound2.hz, 40)) {
            ++first;
            lastFirst = w;
        } else if (near(pitches[w], kSound3.hz, 90)) {
            ++second;
            firstSecond = std::min(firstSecond, w);
        } else if (pitches[w] == 0) {
            ++quiet; // while the new output opens
        } else {
            ++neither; // a window across the change
        }
    }
    std::string windows;
    for (double p : pitches)
        windows += std::to_string(int(p)) + " ";
    EXPECT_GE(first * 10, 50) << windows;
    EXPECT_LT(first * 10, kSound2.ms - 60) << "sound 2 was not cut off: " << windows;
    EXPECT_LT(lastFirst, firstSecond) << "sound 2 went on after sound 3 began: " << windows;
    EXPECT_TRUE(near(second * 10, kSound3.ms, 30)) << windows;
    // Sound 2's own gap between its strokes has edges too.
    EXPECT_LE(neither, 4) << windows;
    EXPECT_LE(quiet * 10, 200) << windows;
}

TEST_F(PulseSound, ClosingThePlatformEndsItsSoundThread)
{
    const int before = SoundCheck::soundThreads();
    {
        LinuxPlatform platform(QDBusConnection(u"unused"_s), Launcher(),
                               QStringLiteral(VOKARI_SOUND_MODULE));
        expectTone(record([&] { platform.playBuiltInSound(1); }), kSound1, "sound 1");
        EXPECT_EQ(SoundCheck::soundThreads(), before + 1);
    }
    EXPECT_TRUE(
        ChildProcesses::waitUntil([&] { return SoundCheck::soundThreads() == before; }, 2000))
        << "the sound thread outlived its platform";
}

} // namespace
