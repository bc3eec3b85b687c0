// The completion on simulated time: the platform's tick counter is the clock, the alarm's waits
// move it on, and the countdown timer's ticks fire as the clock passes their due times. No test
// waits for real seconds.
#include "core/actionrunner.h"
#include "core/actionsettings.h"
#include "core/messagewindow.h"
#include "core/timerengine.h"
#include "core/ttimer.h"
#include "platform/fake/recordingplatform.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Every option as a plain field, changeable at any moment as the dialog's controls are.
struct Options
{
    bool loop = false;
    bool sound = false;
    bool builtIn = true;
    int soundIndex = 0;
    QString count = u"1"_s;
    QString soundFile = u"bell.wav"_s;
    bool message = false;
    QString messageText = u"tea"_s;
    bool program = false;
    QString programText = u"editor"_s;
    bool sessionEnd = false;
    int sessionIndex = 0;
    bool url = false;
    QString urlText = u"www.example.com"_s;
};

struct Settings final : ActionSettings
{
    explicit Settings(const Options& o) : o(o) {}
    bool loopEnabled() const override { return o.loop; }
    bool soundAlarmEnabled() const override { return o.sound; }
    bool builtInSoundSelected() const override { return o.builtIn; }
    bool soundFileSelected() const override { return !o.builtIn; }
    int builtInSoundIndex() const override { return o.soundIndex; }
    QString repeatCountText() const override { return o.count; }
    QString soundFileText() const override { return o.soundFile; }
    bool messageEnabled() const override { return o.message; }
    QString messageText() const override { return o.messageText; }
    bool programEnabled() const override { return o.program; }
    QString programText() const override { return o.programText; }
    bool sessionEndEnabled() const override { return o.sessionEnd; }
    int sessionEndIndex() const override { return o.sessionIndex; }
    bool urlEnabled() const override { return o.url; }
    QString urlText() const override { return o.urlText; }
    const Options& o;
};

// The message window as one more line among the platform's calls.
struct Message final : MessageWindow
{
    explicit Message(RecordingPlatform& p) : platform(p) {}
    void showText(const QString& text) override { platform.record(u"showText "_s + text); }
    RecordingPlatform& platform;
};

std::string lines(const QStringList& calls)
{
    return calls.join(u"\n"_s).toStdString();
}

struct Completion : ::testing::Test
{
    RecordingPlatform platform;
    TTimer timer1;
    TimerEngine engine{timer1};
    Options settings;
    Settings readSettings{settings};
    Message message{platform};
    // Never dereferenced: the runner only hands it on, and the fake records whether there is one.
    QWidget* const owner = reinterpret_cast<QWidget*>(std::uintptr_t{0x1000});
    std::unique_ptr<ActionRunner> runner;

    // Simulated milliseconds; the platform's counter is its low 32 bits.
    std::int64_t now = 0;
    std::optional<std::int64_t> due; // the countdown timer's next tick
    int deepest = 0;
    std::vector<std::int64_t> completedAt;
    std::int64_t startedAt = 0;

    void SetUp() override
    {
        QObject::connect(&timer1, &TTimer::enabledChanged, &timer1,
                         [this](bool on) { due = on ? std::optional(now + 1000) : std::nullopt; });
        QObject::connect(&engine, &TimerEngine::countdownCompleted, &engine, [this] {
            completedAt.push_back(now);
            deepest = std::max(deepest, runner->depth() + 1);
        });
        // Made after the watch above, so each completion is timed as it begins.
        runner = std::make_unique<ActionRunner>(engine, readSettings, platform, message, owner);
        platform.onWait = [this](int ms) { advance(ms); };
        setClock(0);
    }

    void setClock(std::int64_t ms)
    {
        now = ms;
        platform.tickCounter = static_cast<std::uint32_t>(now);
    }

    // Time passes: every countdown tick that falls due runs, in order, possibly nesting.
    void advance(std::int64_t ms)
    {
        const std::int64_t until = now + ms;
        while (due && *due <= until) {
            setClock(std::max(now, *due));
            *due += 1000;
            Q_EMIT timer1.OnTimer();
        }
        setClock(std::max(now, until));
    }

    // Sets `seconds`, starts, and runs until the first completion has returned.
    void runCountdown(int seconds)
    {
        engine.SetDuration(0, 0, seconds);
        engine.StartCountdown();
        startedAt = now;
        while (completedAt.empty())
            advance(1000);
    }

    // The calls that are the completion's own steps, without its waits and event passes.
    QStringList steps() const
    {
        QStringList kept;
        for (const QString& call : platform.calls()) {
            if (!call.startsWith(u"waitForEvents"_s) && call != u"processPendingEvents"_s)
                kept.append(call);
        }
        return kept;
    }
};

TEST_F(Completion, EveryCombinationOfActionsRunsInTheFixedOrder)
{
    // Message, program, sound, URL, session end: each subset of them, in that order, after the
    // restore that every completion makes.
    for (int mask = 0; mask < 32; ++mask) {
        settings.message = mask & 1;
        settings.program = mask & 2;
        settings.sound = mask & 4;
        settings.url = mask & 8;
        settings.sessionEnd = mask & 16;
        platform.clearCalls();
        completedAt.clear();
        runCountdown(2);

        QStringList expected{u"restoreApplication"_s};
        if (settings.message)
            expected << u"showText tea"_s;
        if (settings.program)
            expected << u"openTarget editor owner"_s;
        if (settings.sound)
            expected << u"playBuiltInSound 1"_s;
        if (settings.url)
            expected << u"openTarget www.example.com none"_s;
        if (settings.sessionEnd)
            expected << u"ExitWindowsSession PowerOff"_s;
        EXPECT_EQ(lines(steps()), lines(expected)) << "actions mask " << mask;
        EXPECT_EQ(completedAt.front() - startedAt, 3000)
            << "one second after the display showed zero";
        EXPECT_FALSE(engine.tickEnabled()) << "without the loop the countdown stays stopped";
        EXPECT_EQ(engine.state().TotalSeconds, 0);
    }
}

TEST_F(Completion, SoundSourceSessionKindAndEmptyTextsReachThePlatform)
{
    struct Case
    {
        const char* name;
        std::function<void()> set;
        QStringList steps;
    };
    const std::vector<Case> cases = {
        {"sound file",
         [&] { settings.sound = true, settings.builtIn = false; },
         {u"playSoundNamed bell.wav"_s}},
        {"third built-in sound",
         [&] { settings.sound = true, settings.soundIndex = 2; },
         {u"playBuiltInSound 3"_s}},
        {"restart",
         [&] { settings.sessionEnd = true, settings.sessionIndex = 1; },
         {u"ExitWindowsSession Restart"_s}},
        {"log off",
         [&] { settings.sessionEnd = true, settings.sessionIndex = 2; },
         {u"ExitWindowsSession LogOff"_s}},
        {"no kind of ending chosen",
         [&] { settings.sessionEnd = true, settings.sessionIndex = -1; },
         {}},
        // Empty texts are passed on as they are, each to its own call.
        {"empty texts",
         [&] {
             settings.program = settings.url = settings.message = settings.sound = true;
             settings.builtIn = false;
             settings.programText.clear(), settings.urlText.clear();
             settings.messageText.clear(), settings.soundFile.clear();
         },
         {u"showText "_s, u"openTarget  owner"_s, u"playSoundNamed "_s, u"openTarget  none"_s}},
    };
    for (const Case& c : cases) {
        settings = Options();
        c.set();
        platform.clearCalls();
        completedAt.clear();
        runCountdown(1);
        EXPECT_EQ(lines(steps()), lines(QStringList{u"restoreApplication"_s} + c.steps)) << c.name;
    }
}

TEST_F(Completion, RepeatCountGivesThatManyPlaysEachFollowedByASecond)
{
    struct Case
    {
        QString text;
        int plays;
    };
    // Typed text reaches the count unvalidated; above the dialog's range is honoured.
    const Case cases[] = {
        {u"0"_s, 0},           {u"-3"_s, 0},  {u""_s, 1},     {u"abc"_s, 1},
        {u"12"_s, 12},         {u"25"_s, 25}, {u" 5"_s, 5},   {u"+2"_s, 2},
        {u"99999999999"_s, 1}, {u"5.0"_s, 1}, {u"0x10"_s, 1},
    };
    settings.sound = true;
    settings.url = true;
    for (const Case& c : cases) {
        settings.count = c.text;
        platform.clearCalls();
        completedAt.clear();
        std::int64_t urlAt = -1;
        platform.onCall = [&](const QString& call) {
            if (call.startsWith(u"openTarget"_s))
                urlAt = now;
        };
        runCountdown(1);
        const std::string name = "count \"" + c.text.toStdString() + "\"";
        EXPECT_EQ(platform.callsTo(u"playBuiltInSound"_s).size(), c.plays) << name;
        EXPECT_EQ(platform.callsTo(u"waitForEvents"_s).size(), c.plays) << name;
        EXPECT_EQ(urlAt - completedAt.front(), 1000 * c.plays)
            << name << ": the URL opens after the last pause";
    }
}

TEST_F(Completion, LoopingCompletionsStayTheDurationPlusOneApartWhateverTheAlarm)
{
    settings.loop = true;
    settings.sound = true;
    for (const QString& count : {u"0"_s, u"3"_s, u"10"_s}) {
        settings.count = count;
        engine.StopAndReset();
        completedAt.clear();
        runCountdown(3);
        advance(60000);
        ASSERT_GE(completedAt.size(), 15u) << "count " << count.toStdString();
        for (std::size_t i = 1; i < completedAt.size(); ++i)
            EXPECT_EQ(completedAt[i] - completedAt[i - 1], 4000)
                << "count " << count.toStdString() << ", completion " << i;
        EXPECT_TRUE(engine.tickEnabled()) << "still counting";
    }
}

// An hour of a loop of `loopSeconds` whose ten-play alarm lasts longer than the loop.
struct HourOfLoop : Completion, ::testing::WithParamInterface<int>
{
};

TEST_P(HourOfLoop, NestingStaysBounded)
{
    const int loopSeconds = GetParam();
    settings.loop = true;
    settings.sound = true;
    settings.count = u"10"_s;
    settings.message = true;
    settings.url = true;
    runCountdown(loopSeconds == 0 ? 1 : loopSeconds);
    engine.state().LoopSeconds = loopSeconds;
    advance(3600 * 1000);

    // Completions do fall inside alarms, but one there starts no alarm of its own.
    EXPECT_EQ(deepest, 2);
    EXPECT_GE(completedAt.size(), std::size_t(3600 / (loopSeconds + 1) - 1))
        << "one completion every " << loopSeconds + 1 << " s";
    // Every completion still runs its other steps: one message and one URL each.
    EXPECT_EQ(platform.callsTo(u"showText"_s).size(), qsizetype(completedAt.size()));
    EXPECT_EQ(platform.callsTo(u"openTarget"_s).size(), qsizetype(completedAt.size()));
    // The alarm still sounds almost all the time: ten plays, then the next completion to
    // come after the alarm starts the next one (every 11 s with a 0-s loop, 12 s with 1 s).
    const int cycle = 10 + loopSeconds + 1;
    EXPECT_GE(platform.callsTo(u"playBuiltInSound"_s).size(), 10 * (3600 / cycle) - 10);
}

// 1 s is the shortest a countdown can be set to; 0 can only come from a reload of nothing.
INSTANTIATE_TEST_SUITE_P(ShortestLoops, HourOfLoop, ::testing::Values(0, 1));

TEST_F(Completion, ChangesMadeDuringAnAlarmApplyToTheLaterStepsOfTheSameCompletion)
{
    settings.sound = true;
    settings.count = u"3"_s;
    settings.url = true;
    settings.sessionEnd = false;
    int pauses = 0;
    platform.onWait = [&](int ms) {
        if (++pauses == 1) {
            // The user changes the settings in the first pause.
            settings.urlText = u"later.example"_s;
            settings.sessionEnd = true;
            settings.sessionIndex = 2;
            settings.count = u"1"_s;
            settings.soundIndex = 1;
        }
        advance(ms);
    };
    runCountdown(1);
    EXPECT_EQ(lines(steps()),
              lines({u"restoreApplication"_s, u"playBuiltInSound 1"_s, u"playBuiltInSound 1"_s,
                     u"playBuiltInSound 1"_s, u"openTarget later.example none"_s,
                     u"ExitWindowsSession LogOff"_s}))
        << "count and sound were read once, before the first play; the rest when reached";
}

TEST(PumpDelay, WaitsByTheTickCounterHoweverTheWaitsReturn)
{
    struct Case
    {
        const char* name;
        std::uint32_t start;
        int milliseconds;
        int stepMs; // how far each wait really gets
        int expectedWaits;
        std::int64_t expectedElapsed;
    };
    const Case cases[] = {
        {"nothing to wait", 5000, 0, 1000, 0, 0},
        {"negative", 5000, -20, 1000, 0, 0},
        {"one whole wait", 5000, 1000, 1000, 1, 1000},
        {"woken early by events, re-armed for the rest", 5000, 1000, 300, 4, 1200},
        {"held by a modal dialog far beyond", 5000, 1000, 7000, 1, 7000},
        // A wrap in the middle makes the difference of the two readings large: the wait ends.
        {"counter wraps", 0xFFFFFF00u, 1000, 300, 1, 300},
    };
    for (const Case& c : cases) {
        RecordingPlatform platform;
        platform.tickCounter = c.start;
        std::int64_t elapsed = 0;
        platform.onWait = [&](int) {
            platform.tickCounter += static_cast<std::uint32_t>(c.stepMs);
            elapsed += c.stepMs;
        };
        PumpDelay(platform, c.milliseconds);
        EXPECT_EQ(platform.callsTo(u"waitForEvents"_s).size(), c.expectedWaits) << c.name;
        EXPECT_EQ(elapsed, c.expectedElapsed) << c.name;
    }
}

TEST(PumpDelay, AnEventLoopThatCanNoLongerRunEndsTheWaitInsteadOfSpinning)
{
    RecordingPlatform platform;
    platform.onWait = [](int) {}; // the clock never moves: only the loop's answer ends it
    bool quitting = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&] {
            QCoreApplication::exit(0);
            PumpDelay(platform, 1000);
            quitting = true;
        },
        Qt::QueuedConnection);
    QCoreApplication::exec();
    EXPECT_TRUE(quitting);
    EXPECT_LE(platform.callsTo(u"waitForEvents"_s).size(), 2);
}

} // namespace
