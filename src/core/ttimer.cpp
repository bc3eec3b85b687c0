#include "core/ttimer.h"

TTimer::TTimer(QObject* parent, int intervalMs) : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TTimer::OnTimer);
}

void TTimer::setEnabled(bool enabled)
{
    if (enabled == m_timer.isActive())
        return;
    if (enabled)
        m_timer.start();
    else
        m_timer.stop();
    Q_EMIT enabledChanged(enabled);
}
