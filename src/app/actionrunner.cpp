#include "app/actionrunner.h"

#include "app/actionsettings.h"
#include "app/timerengine.h"

ActionRunner::ActionRunner(TimerEngine& engine, const ActionSettings& settings, QObject* parent)
    : QObject(parent), m_engine(engine), m_settings(settings)
{
    connect(&m_engine, &TimerEngine::countdownCompleted, this, &ActionRunner::PerformActions);
}

void ActionRunner::PerformActions()
{
    // Stop first, so a completion happens once even if a later step waits on the event loop.
    m_engine.setTickEnabled(false);

    // Reload before the other steps: the next countdown is already running while they execute.
    if (m_settings.loopEnabled())
        m_engine.ReloadLoop();
}
