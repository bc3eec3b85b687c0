#pragma once

#include <QObject>

class ActionSettings;
class TimerEngine;

// Carries out what a completed countdown must do, in its fixed order. PerformActions is the
// one entry point: the engine's countdownCompleted signal is connected to it.
class ActionRunner : public QObject
{
    Q_OBJECT

public:
    ActionRunner(TimerEngine& engine, const ActionSettings& settings, QObject* parent = nullptr);

    void PerformActions();

private:
    TimerEngine& m_engine;
    const ActionSettings& m_settings;
};
