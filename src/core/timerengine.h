#pragma once

#include "core/timerstate.h"
#include "platform/platform.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>

class TTimer;

// The countdown and stopwatch rules. The engine owns the state, switches the countdown timer on
// and off, and tells the world through two signals: drawRequested (the display must redraw from
// the state, and may clamp it) and countdownCompleted (the tick that finds zero). Both are
// emitted synchronously, so a connected DrawTime runs before the operation returns.
class TimerEngine : public QObject
{
    Q_OBJECT

public:
    // `timer1` is the countdown timer; its OnTimer is connected to Tick.
    explicit TimerEngine(TTimer& timer1, QObject* parent = nullptr);

    TimerState& state() { return m_state; }
    const TimerState& state() const { return m_state; }
    bool tickEnabled() const;

    // The length in seconds of the countdown the taskbar's progress bar measures, 0 when there
    // is none. A start stores the remaining total in LoopSeconds, so that field is not it: a
    // paused and resumed countdown keeps its bar's length, and adding time lengthens it.
    int barLength() const { return m_barLength; }

    void Tick();
    void StartCountdown();
    void PauseTimer();
    void StopAndReset();
    void StartStopwatch();
    void SetDuration(int h, int m, int s);
    void AddMinute();
    void AddHour();
    void SubtractMinute();
    void SubtractHour();
    void ReloadLoop();

    // Switches the countdown timer; the completion uses it to stop a finished countdown.
    void setTickEnabled(bool enabled);

    // The clocks that tell how long the machine slept. The timer's ticks stop during sleep, so
    // each tick makes up for the whole seconds slept since the one before; without clocks, none.
    void setSleepClocks(std::function<SleepClocks()> clocks);

    // The largest total AddHour will still add an hour to (99 hours).
    static constexpr int HourCeiling = 356400;
    // 99:59:59, the longest countdown the read-out can show.
    static constexpr int LongestTotal = 359999;

Q_SIGNALS:
    void drawRequested();
    void countdownCompleted();

private:
    void DrawTime() { Q_EMIT drawRequested(); }
    // After an add or subtract: a running bar grows with the total, never shrinks.
    void stretchBar();
    void restartSleepWatch();
    int takeSleptSeconds();

    TTimer& m_timer1;
    TimerState m_state;
    std::function<SleepClocks()> m_clocks;
    // SleepClocks::sleptMs at the previous tick, and the slept milliseconds not yet taken off.
    std::optional<std::int64_t> m_sleptAtLastTick;
    std::int64_t m_sleptCarryMs = 0;
    int m_barLength = 0;
};
