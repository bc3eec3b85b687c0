#include "core/timerengine.h"

#include "core/ttimer.h"

TimerEngine::TimerEngine(TTimer& timer1, QObject* parent) : QObject(parent), m_timer1(timer1)
{
    connect(&m_timer1, &TTimer::OnTimer, this, &TimerEngine::Tick);
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
    if (m_state.StopwatchMode) {
        ++m_state.TotalSeconds;
        m_state.SplitTotal();
        DrawTime();
        return;
    }
    if (m_state.TotalSeconds > 0) {
        --m_state.TotalSeconds;
        m_state.SplitTotal();
        DrawTime();
        return;
    }
    // The tick that finds zero completes the countdown; the display has shown 00:00:00 for one
    // whole interval by now.
    Q_EMIT countdownCompleted();
    DrawTime();
}

void TimerEngine::StartCountdown()
{
    if (m_state.TotalSeconds == 0)
        return;
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
    DrawTime();
}

void TimerEngine::AddMinute()
{
    // The display fields step on their own here; the next tick re-derives them from the total.
    ++m_state.Minutes;
    if (m_state.Minutes == 60) {
        m_state.Minutes = 0;
        ++m_state.Hours;
        if (m_state.Hours >= 99)
            m_state.Hours = 99;
    }
    m_state.TotalSeconds += 60;
    DrawTime();
}

void TimerEngine::AddHour()
{
    if (m_state.TotalSeconds < HourCeiling)
        m_state.TotalSeconds += 3600;
    m_state.SplitTotal();
    if (m_state.Hours >= 99)
        m_state.Hours = 99;
    DrawTime();
}

void TimerEngine::SubtractMinute()
{
    if (m_state.TotalSeconds <= 0)
        return;
    // May go below zero by up to 59 seconds; the display clamps it back to 0.
    m_state.TotalSeconds -= 60;
    m_state.SplitTotal();
    DrawTime();
}

void TimerEngine::SubtractHour()
{
    if (m_state.TotalSeconds <= 0)
        return;
    if (m_state.TotalSeconds >= 3600)
        m_state.TotalSeconds -= 3600;
    m_state.SplitTotal();
    DrawTime();
}

void TimerEngine::ReloadLoop()
{
    m_state.TotalSeconds = m_state.LoopSeconds;
    m_state.SplitTotal();
    setTickEnabled(true);
}
