#include "core/timerengine.h"
#include "core/ttimer.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// An engine with its countdown timer, counting redraws and completions. The tick is called
// directly: no test waits for real seconds.
struct Rig : ::testing::Test
{
    TTimer timer1;
    TimerEngine engine{timer1};
    int draws = 0;
    int completions = 0;

    void SetUp() override
    {
        QObject::connect(&engine, &TimerEngine::drawRequested, &engine, [this] { ++draws; });
        QObject::connect(&engine, &TimerEngine::countdownCompleted, &engine,
                         [this] { ++completions; });
    }

    void setTotal(int total)
    {
        engine.state().TotalSeconds = total;
        engine.state().SplitTotal();
    }
};

struct Fields
{
    int total, hours, minutes, seconds;
};

void expectFields(const TimerState& s, Fields f, const std::string& what)
{
    EXPECT_EQ(s.TotalSeconds, f.total) << what;
    EXPECT_EQ(s.Hours, f.hours) << what;
    EXPECT_EQ(s.Minutes, f.minutes) << what;
    EXPECT_EQ(s.Seconds, f.seconds) << what;
}

TEST(SplitTotal, TruncatesTowardZero)
{
    struct Case
    {
        int total;
        Fields expected;
    };
    const Case cases[] = {
        {0, {0, 0, 0, 0}},
        {59, {59, 0, 0, 59}},
        {3723, {3723, 1, 2, 3}},
        {359999, {359999, 99, 59, 59}},
        {360000, {360000, 100, 0, 0}},
        {-30, {-30, 0, 0, -30}},
        {-59, {-59, 0, 0, -59}},
    };
    for (const Case& c : cases) {
        TimerState s;
        s.TotalSeconds = c.total;
        s.SplitTotal();
        expectFields(s, c.expected, "total " + std::to_string(c.total));
    }
}

TEST_F(Rig, StartsIdleAndStartWithZeroDoesNothing)
{
    EXPECT_FALSE(engine.tickEnabled());
    engine.StartCountdown();
    EXPECT_FALSE(engine.tickEnabled());
    EXPECT_EQ(draws, 0) << "a start with nothing to count must not redraw";
    EXPECT_EQ(engine.state().LoopSeconds, 0);
}

TEST_F(Rig, CountdownShowsZeroForOneTickThenCompletesOnTheSixth)
{
    engine.SetDuration(0, 0, 5);
    engine.StartCountdown();
    EXPECT_TRUE(engine.tickEnabled());
    EXPECT_EQ(engine.state().LoopSeconds, 5);
    for (int n = 1; n <= 5; ++n) {
        engine.Tick();
        EXPECT_EQ(engine.state().TotalSeconds, 5 - n) << "tick " << n;
        EXPECT_EQ(completions, 0) << "tick " << n;
    }
    const int drawsBefore = draws;
    engine.Tick();
    EXPECT_EQ(completions, 1) << "the sixth tick completes";
    EXPECT_EQ(draws, drawsBefore + 1) << "the completing tick redraws after the actions";
}

TEST_F(Rig, CompletionRedrawsAfterTheActions)
{
    std::vector<std::string> order;
    QObject::connect(&engine, &TimerEngine::countdownCompleted, &engine,
                     [&] { order.push_back("actions"); });
    QObject::connect(&engine, &TimerEngine::drawRequested, &engine,
                     [&] { order.push_back("draw"); });
    engine.Tick(); // total 0, countdown mode
    EXPECT_EQ(order, (std::vector<std::string>{"actions", "draw"}));
}

TEST_F(Rig, PauseKeepsStopwatchModeAndStopResets)
{
    engine.StartStopwatch();
    EXPECT_TRUE(engine.state().StopwatchMode);
    EXPECT_TRUE(engine.tickEnabled());
    for (int i = 0; i < 3; ++i)
        engine.Tick();
    expectFields(engine.state(), {3, 0, 0, 3}, "three stopwatch ticks");

    engine.PauseTimer();
    EXPECT_FALSE(engine.tickEnabled());
    engine.StartCountdown();
    EXPECT_EQ(engine.state().LoopSeconds, 3) << "a resumed stopwatch stores the elapsed total";
    engine.Tick();
    EXPECT_EQ(engine.state().TotalSeconds, 4) << "a paused stopwatch resumes counting up";
    EXPECT_EQ(completions, 0);

    engine.StopAndReset();
    EXPECT_FALSE(engine.tickEnabled());
    EXPECT_FALSE(engine.state().StopwatchMode);
    expectFields(engine.state(), {0, 0, 0, 0}, "after stop and reset");
    EXPECT_EQ(engine.state().LoopSeconds, 3) << "stop and reset keeps the loop value";
}

TEST_F(Rig, StopwatchHasNoUpperLimit)
{
    engine.StartStopwatch();
    engine.state().TotalSeconds = 359999;
    engine.Tick();
    expectFields(engine.state(), {360000, 100, 0, 0}, "past 99 hours");
}

TEST_F(Rig, AdjustOperations)
{
    enum Op
    {
        AddMin,
        AddHr,
        SubMin,
        SubHr
    };
    struct Case
    {
        const char* name;
        int total;
        Op op;
        Fields expected;
        bool redraws;
    };
    const Case cases[] = {
        {"add minute at 00:59:30 carries into the hour", 3570, AddMin, {3630, 1, 0, 30}, true},
        {"add minute at 00:00:00", 0, AddMin, {60, 0, 1, 0}, true},
        {"add minute at 99:59:30 stops at 99:59:59", 359970, AddMin, {359999, 99, 59, 59}, true},
        {"add minute at 99:58:59 reaches 99:59:59", 359939, AddMin, {359999, 99, 59, 59}, true},
        {"add hour one second under 99 hours", 356399, AddHr, {359999, 99, 59, 59}, true},
        {"add hour at 99 hours changes nothing", 356400, AddHr, {356400, 99, 0, 0}, true},
        {"add hour at 100 hours keeps the shown hours at 99",
         360000,
         AddHr,
         {360000, 99, 0, 0},
         true},
        {"subtract minute under a minute goes negative", 30, SubMin, {-30, 0, 0, -30}, true},
        {"subtract minute at zero does nothing", 0, SubMin, {0, 0, 0, 0}, false},
        {"subtract minute from 01:00:30", 3630, SubMin, {3570, 0, 59, 30}, true},
        {"subtract hour under an hour leaves the total", 1800, SubHr, {1800, 0, 30, 0}, true},
        {"subtract hour from exactly one hour", 3600, SubHr, {0, 0, 0, 0}, true},
        {"subtract hour at zero does nothing", 0, SubHr, {0, 0, 0, 0}, false},
    };
    for (const Case& c : cases) {
        setTotal(c.total);
        draws = 0;
        switch (c.op) {
        case AddMin:
            engine.AddMinute();
            break;
        case AddHr:
            engine.AddHour();
            break;
        case SubMin:
            engine.SubtractMinute();
            break;
        case SubHr:
            engine.SubtractHour();
            break;
        }
        expectFields(engine.state(), c.expected, c.name);
        EXPECT_EQ(draws, c.redraws ? 1 : 0) << c.name;
    }
}

TEST_F(Rig, SetDurationKeepsTickModeAndLoop)
{
    engine.SetDuration(0, 10, 0);
    engine.StartCountdown();
    engine.Tick();
    engine.SetDuration(1, 30, 0);
    expectFields(engine.state(), {5400, 1, 30, 0}, "1 h 30 min");
    EXPECT_TRUE(engine.tickEnabled()) << "a running countdown keeps running from the new total";
    EXPECT_EQ(engine.state().LoopSeconds, 600);
    engine.Tick();
    EXPECT_EQ(engine.state().TotalSeconds, 5399);
}

TEST_F(Rig, RestartingARunningCountdownStoresTheRemainingTotal)
{
    engine.SetDuration(0, 0, 10);
    engine.StartCountdown();
    engine.Tick();
    engine.Tick();
    engine.StartCountdown();
    EXPECT_EQ(engine.state().LoopSeconds, 8);
}

TEST(TTimer, OneSecondAndEnablingAnEnabledTimerKeepsItsPeriod)
{
    TTimer timer;
    QSignalSpy changes(&timer, &TTimer::enabledChanged);
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_FALSE(timer.Enabled());
    struct Step
    {
        bool set;
        bool changes; // a change to true starts a fresh period
    };
    const Step steps[] = {{true, true}, {true, false}, {false, true}, {false, false}};
    int n = 0;
    for (const Step& s : steps) {
        changes.clear();
        timer.setEnabled(s.set);
        EXPECT_EQ(timer.Enabled(), s.set) << "step " << n;
        ASSERT_EQ(changes.size(), s.changes ? 1 : 0) << "step " << n;
        if (s.changes) {
            EXPECT_EQ(changes.first().first().toBool(), s.set) << "step " << n;
        }
        ++n;
    }
}

TEST_F(Rig, ReloadDoesNotRedrawByItself)
{
    engine.state().LoopSeconds = 42;
    draws = 0;
    engine.ReloadLoop();
    EXPECT_EQ(draws, 0);
    EXPECT_TRUE(engine.tickEnabled());
    expectFields(engine.state(), {42, 0, 0, 42}, "reloaded");
}

} // namespace
