#pragma once

#include <QObject>
#include <QTimer>

// A periodic one-second timer with an enabled flag. Enabling a disabled timer starts a fresh
// period; enabling an enabled one changes nothing, so a running countdown keeps its rhythm.
class TTimer : public QObject
{
    Q_OBJECT

public:
    explicit TTimer(QObject* parent = nullptr, int intervalMs = 1000);

    bool Enabled() const { return m_timer.isActive(); }
    void setEnabled(bool enabled);
    int Interval() const { return m_timer.interval(); }

Q_SIGNALS:
    void OnTimer();
    // The flag changed; a change to true started a fresh period.
    void enabledChanged(bool enabled);

private:
    // Precise: the next period is scheduled from the previous due time, not from when the
    // handler ran, so a long countdown does not drift. A coarse timer may slip by 5 %.
    QTimer m_timer;
};
