#include "core/timerengine.h"

#include "core/ttimer.h"

#include <algorithm>
#include <limits>
#include <utility>

TimerEngine::TimerEngine(TTimer& timer1, QObject* parent) : QObject(parent), m_timer1(timer1)
{
    connect(&m_timer1, &TTimer::OnTimer, this, &TimerEngine::Tick);
    // Sleep counts only while the timer runs: enabling it (start, resume, loop reload) starts
    // watching afresh, so a pause across a sleep loses nothing.
    connect(&m_timer1, &TTimer::enabledChanged, this, [this](bool enabled) {
        if (enabled)
            restartSleepWatch();
    });
}

void TimerEngine::setSleepClocks(std::function<SleepClocks()> clocks)
{
    m_clocks = std::move(clocks);
    restartSleepWatch();
}

void TimerEngine::restartSleepWatch()
{
    m_sleptCarryMs = 0;
    m_sleptAtLastTick = m_clocks ? std::optional(m_clocks().sleptMs()) : std::nullopt;
}

int TimerEngine::takeSleptSeconds()
{
    if (!m_clocks)
        return 0;
    const std::int64_t slept = m_clocks().sleptMs();
    if (m_sleptAtLastTick)
        m_sleptCarryMs += slept - *m_sleptAtLastTick;
    m_sleptAtLastTick = slept;
    // The fraction waits for later ticks. A carry below zero is only the two clocks' rounding;
    // it is kept, so the rounding cancels out instead of adding up over a long countdown.
    if (m_sleptCarryMs < 1000)
        return 0;
    const std::int64_t seconds = m_sleptCarryMs / 1000;
    m_sleptCarryMs -= seconds * 1000;
    return static_cast<int>(std::min<std::int64_t>(seconds, std::numeric_limits<int>::max()));
}

bool TimerEngine::tickEnabled() const
{
    return m_timer1.Enabled();
}

void TimerEngine::setTickEnabled(bool enabled)
{
    m_timer1.setEnabled(enabled);
}

void TimerEngine::Tick()
{
    // The whole seconds slept since the previous tick come off first, as if their ticks had run,
    // but never below zero: the ordinary step below then completes a countdown whose end passed
    // during the sleep, once, at this first tick after waking. An end still ahead keeps its
    // 00:00:00 second and completes the tick after.
    const int slept = takeSleptSeconds();
    if (m_state.StopwatchMode) {
        m_state.TotalSeconds += slept + 1;
        m_state.SplitTotal();
        DrawTime();
        return;
    }
    if (slept > 0 && m_state.TotalSeconds > 0)
        m_state.TotalSeconds = std::max(0, m_state.TotalSeconds - slept);
    if (m_state.TotalSeconds > 0) {
        --m_state.TotalSeconds;
        m_state.SplitTotal();
        DrawTime();
        return;
    }
    // The tick that finds zero completes the countdown; the display has shown 00:00:00 for one
    // whole interval by now.
    m_barLength = 0;
    Q_EMIT countdownCompleted();
    DrawTime();
}

void TimerEngine::StartCountdown()
{
    if (m_state.TotalSeconds == 0)
        return;
    if (!m_state.StopwatchMode)
        m_barLength = std::max(m_barLength, m_state.TotalSeconds);
    m_state.LoopSeconds = m_state.TotalSeconds;
    setTickEnabled(true);
    DrawTime();
}

void TimerEngine::PauseTimer()
{
    setTickEnabled(false);
    DrawTime();
}

void TimerEngine::StopAndReset()
{
    setTickEnabled(false);
    m_barLength = 0;
    m_state.TotalSeconds = 0;
    m_state.Seconds = 0;
    m_state.Minutes = 0;
    m_state.Hours = 0;
    m_state.StopwatchMode = false;
    DrawTime();
}

void TimerEngine::StartStopwatch()
{
    m_state.StopwatchMode = true;
    m_barLength = 0;
    m_state.TotalSeconds = 0;
    m_state.Minutes = 0;
    m_state.Seconds = 0;
    m_state.Hours = 0;
    DrawTime();
    setTickEnabled(true);
}

void TimerEngine::SetDuration(int h, int m, int s)
{
    m_state.TotalSeconds = s + 60 * m + 3600 * h;
    m_state.Hours = h;
    m_state.Minutes = m;
    m_state.Seconds = s;
    if (m_barLength > 0)
        m_barLength = m_state.TotalSeconds;
    DrawTime();
}

void TimerEngine::stretchBar()
{
    if (m_barLength > 0)
        m_barLength = std::max(m_barLength, m_state.TotalSeconds);
}

void TimerEngine::AddMinute()
{
    // Past 99:59:59 the next tick would derive a hundredth hour that the read-out cannot show,
    // so a press that would go there stops at 99:59:59. A stopwatch already past it keeps on.
    if (m_state.TotalSeconds > LongestTotal - 60 && m_state.TotalSeconds <= LongestTotal) {
        m_state.TotalSeconds = LongestTotal;
        m_state.SplitTotal();
        stretchBar();
        DrawTime();
        return;
    }
    // The display fields step on their own here; the next tick re-derives them from the total.
    ++m_state.Minutes;
    if (m_state.Minutes == 60) {
        m_state.Minutes = 0;
        ++m_state.Hours;
        if (m_state.Hours >= 99)
            m_state.Hours = 99;
    }
    m_state.TotalSeconds += 60;
    stretchBar();
    DrawTime();
}

void TimerEngine::AddHour()
{
    if (m_state.TotalSeconds < HourCeiling)
        m_state.TotalSeconds += 3600;
    m_state.SplitTotal();
    if (m_state.Hours >= 99)
        m_state.Hours = 99;
    stretchBar();
    DrawTime();
}

void TimerEngine::SubtractMinute()
{
    if (m_state.TotalSeconds <= 0)
        return;
    // May go below zero by up to 59 seconds; the display clamps it back to 0.
    m_state.TotalSeconds -= 60;
    m_state.SplitTotal();
    stretchBar();
    DrawTime();
}

void TimerEngine::SubtractHour()
{
    if (m_state.TotalSeconds <= 0)
        return;
    if (m_state.TotalSeconds >= 3600)
        m_state.TotalSeconds -= 3600;
    m_state.SplitTotal();
    stretchBar();
    DrawTime();
}

void TimerEngine::ReloadLoop()
{
    m_state.TotalSeconds = m_state.LoopSeconds;
    m_state.SplitTotal();
    m_barLength = m_state.TotalSeconds;
    setTickEnabled(true);
}
