#include "core/actionrunner.h"

#include "core/actionsettings.h"
#include "core/messagewindow.h"
#include "core/timerengine.h"
#include "platform/platform.h"

#include <QScopeGuard>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

// Pause after each play of the built-in sound.
constexpr int kAlarmPauseMs = 1000;

} // namespace

ActionRunner::ActionRunner(TimerEngine& engine, const ActionSettings& settings, Platform& platform,
                           MessageWindow& message, QWidget* owner, QObject* parent)
    : QObject(parent), m_engine(engine), m_settings(settings), m_platform(platform),
      m_message(message), m_owner(owner)
{
    connect(&m_engine, &TimerEngine::countdownCompleted, this, &ActionRunner::PerformActions);
}

void ActionRunner::PerformActions()
{
    ++m_depth;
    const auto leave = qScopeGuard([this] {
        if (--m_depth == 0)
            Q_EMIT finished();
    });

    // Stop first, so a completion happens once even if a later step waits on the event loop.
    m_engine.setTickEnabled(false);

    // Reload before the other steps: the next countdown is already running while they execute.
    if (m_settings.loopEnabled())
        m_engine.ReloadLoop();

    // Every completion brings a minimised program back, whatever actions are chosen.
    m_platform.restoreApplication();
    Q_EMIT restored();

    if (m_settings.messageEnabled())
        ShowMsg();
    if (m_settings.programEnabled())
        ExecuteProg();
    if (m_settings.soundAlarmEnabled() && !m_alarmSounding) {
        if (m_settings.builtInSoundSelected())
            Alarm();
        if (m_settings.soundFileSelected())
            PlaySoundFile();
    }
    if (m_settings.urlEnabled())
        launchURL();
    if (m_settings.sessionEndEnabled())
        endSession();
}

void ActionRunner::ShowMsg()
{
    m_message.showText(m_settings.messageText());
    // One pass, so the window is on the screen before the next step starts anything.
    m_platform.processPendingEvents();
}

void ActionRunner::ExecuteProg()
{
    m_platform.openTarget(m_settings.programText(), m_owner);
}

void ActionRunner::Alarm()
{
    // Both are read once: a change made during the alarm applies to the next one.
    const int count = repeatCount(m_settings.repeatCountText());
    const int id = m_settings.builtInSoundIndex() + 1;
    m_alarmSounding = true;
    const auto quiet = qScopeGuard([this] { m_alarmSounding = false; });
    for (int play = 0; play < count; ++play) {
        m_platform.playBuiltInSound(id);
        PumpDelay(m_platform, kAlarmPauseMs);
    }
}

void ActionRunner::PlaySoundFile()
{
    m_platform.playSoundNamed(m_settings.soundFileText());
}

void ActionRunner::launchURL()
{
    m_platform.openTarget(m_settings.urlText(), nullptr);
}

void ActionRunner::endSession()
{
    switch (m_settings.sessionEndIndex()) {
    case 0:
        m_platform.ExitWindowsSession(SessionEnd::PowerOff);
        break;
    case 1:
        m_platform.ExitWindowsSession(SessionEnd::Restart);
        break;
    case 2:
        m_platform.ExitWindowsSession(SessionEnd::LogOff);
        break;
    default:
        // No kind of ending chosen: nothing to ask for.
        break;
    }
}

void PumpDelay(Platform& platform, int Milliseconds)
{
    if (Milliseconds <= 0)
        return;
    const std::uint32_t start = platform.tickCount();
    for (;;) {
        // The counter wraps every 49.7 days; both readings are taken as unsigned and their
        // distance in 64-bit signed arithmetic, as the counter's users always have.
        const std::int64_t elapsed =
            std::llabs(static_cast<std::int64_t>(platform.tickCount()) - std::int64_t{start});
        if (elapsed >= Milliseconds)
            return;
        // Sleep until the rest is due, handling events meanwhile; re-armed from the counter,
        // since a modal dialog or a nested completion may hold the wait longer than asked.
        if (!platform.waitForEvents(static_cast<int>(Milliseconds - elapsed)))
            return;
    }
}

int repeatCount(const QString& text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return 1;
    return static_cast<int>(value);
}
