// Countdowns and the stopwatch across the machine's sleep, on the fake's two clocks: awake time
// moves both, sleep moves only the boot clock. Ticks are called by hand.
#include "core/timerengine.h"
#include "core/ttimer.h"
#include "platform/fake/recordingplatform.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Sleep : ::testing::Test
{
    RecordingPlatform platform;
    TTimer timer1;
    TimerEngine engine{timer1};
    bool loop = false;
    std::string trace;

    void SetUp() override
    {
        engine.setSleepClocks([this] { return platform.clocks(); });
        // What the completion does to the timer: stop, and reload when looping.
        QObject::connect(&engine, &TimerEngine::countdownCompleted, &engine, [this] {
            // Never below zero, which a later start would take for a duration.
            EXPECT_EQ(engine.state().TotalSeconds, 0) << "at the completion";
            trace += "done ";
            engine.setTickEnabled(false);
            if (loop)
                engine.ReloadLoop();
        });
    }

    void sleep(std::int64_t ms) { platform.bootMs += ms; }
    // `awakeMs` pass, then the tick they bring.
    void tick(std::int64_t awakeMs = 1000)
    {
        platform.monotonicMs += awakeMs;
        platform.bootMs += awakeMs;
        const std::string before = trace;
        engine.Tick();
        if (trace == before)
            trace += std::to_string(engine.state().TotalSeconds) + ' ';
    }
};

TEST_F(Sleep, WholeSecondsSleptComeOffTheCountdownAndOnTheStopwatch)
{
    struct Gap
    {
        std::int64_t asleepMs, awakeMs = 1000;
    };
    struct Case
    {
        const char* name;
        bool stopwatch;
        std::vector<Gap> gaps; // before each tick
        int total;
    };
    // The two clocks are read apart, so they may round a millisecond either way; that must
    // cancel out, not add up to a second.
    std::vector<Gap> rounding;
    for (int i = 0; i < 2000; ++i)
        rounding.push_back({i % 2 ? -1 : 1});
    const Case cases[] = {
        {"no sleep", false, {{0}, {0}}, 2398},
        {"0.4 s is not a whole second", false, {{400}}, 2399},
        {"1.6 s twice comes off as 3 s", false, {{1600}, {1600}}, 2395},
        {"0.4 s three times carries into a second", false, {{400}, {400}, {400}}, 2396},
        {"59 s", false, {{59000}}, 2340},
        {"a 5 s stall of the event loop", false, {{0, 5000}}, 2399},
        {"clock rounding", false, rounding, 400},
        {"stopwatch, 1.6 s twice", true, {{1600}, {1600}}, 5},
        {"stopwatch, 59 s", true, {{59000}}, 60},
    };
    for (const Case& c : cases) {
        if (c.stopwatch) {
            engine.StartStopwatch();
        } else {
            engine.SetDuration(0, 40, 0);
            engine.StartCountdown();
        }
        for (const Gap& gap : c.gaps) {
            sleep(gap.asleepMs);
            tick(gap.awakeMs);
        }
        EXPECT_EQ(engine.state().TotalSeconds, c.total) << c.name;
        engine.StopAndReset();
    }
}

TEST_F(Sleep, AnEndPassedAsleepCompletesOnceAtTheFirstTickAfter)
{
    struct Case
    {
        const char* name;
        int seconds;
        bool loop;
        int ticksBefore; // awake ticks before the sleep
        std::int64_t asleepMs;
        std::string trace; // total after each tick, or its completion
    };
    const Case cases[] = {
        {"past the end", 10, false, 0, 60000, "done "},
        {"to exactly the end", 10, false, 0, 10000, "done "},
        {"into the 00:00:00 second", 10, false, 0, 9900, "0 done "},
        {"half-way", 10, false, 3, 5000, "9 8 7 1 0 done "},
        {"while 00:00:00 shows", 10, false, 10, 30000, "9 8 7 6 5 4 3 2 1 0 done "},
        {"looping, past the end", 5, true, 0, 23000, "done 4 3 2 1 0 done 4 3 2 1 0 done "},
    };
    for (const Case& c : cases) {
        trace.clear();
        loop = c.loop;
        engine.SetDuration(0, 0, c.seconds);
        engine.StartCountdown();
        for (int n = 0; n < 13 && engine.tickEnabled(); ++n) {
            if (n == c.ticksBefore)
                sleep(c.asleepMs);
            tick();
        }
        EXPECT_EQ(trace, c.trace) << c.name;
        engine.StopAndReset();
    }
}

TEST_F(Sleep, APausedCountdownIgnoresSleepUntilItResumes)
{
    engine.SetDuration(0, 10, 0);
    engine.StartCountdown();
    sleep(600); // less than a second: forgotten at the pause, not carried past it
    tick();
    engine.PauseTimer();
    sleep(3'600'000);
    platform.monotonicMs += 7000;
    platform.bootMs += 7000;
    engine.StartCountdown();
    sleep(500);
    tick();
    sleep(5000);
    tick();
    EXPECT_EQ(trace, "599 598 592 ");
}

} // namespace
