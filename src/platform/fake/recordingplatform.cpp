#include "platform/fake/recordingplatform.h"

#include <QEventLoop>
#include <QTimer>

#include <stdexcept>
#include <utility>

namespace {

QString fileKindName(FileKind kind)
{
    return kind == FileKind::Sound ? QStringLiteral("sound") : QStringLiteral("program");
}

} // namespace

void RecordingPlatform::openTarget(const QString& target, QWidget* owner)
{
    record(QStringLiteral("openTarget %1 %2")
               .arg(target, owner ? QStringLiteral("owner") : QStringLiteral("none")));
}

void RecordingPlatform::playBuiltInSound(int id)
{
    record(QStringLiteral("playBuiltInSound %1").arg(id));
}

void RecordingPlatform::playSoundNamed(const QString& name)
{
    record(QStringLiteral("playSoundNamed %1").arg(name));
}

void RecordingPlatform::ExitWindowsSession(SessionEnd how)
{
    static const char* const names[] = {"PowerOff", "Restart", "LogOff"};
    record(QStringLiteral("ExitWindowsSession %1").arg(QLatin1StringView(names[int(how)])));
}

void RecordingPlatform::holdIdleSleep(bool hold)
{
    record(QStringLiteral("holdIdleSleep %1").arg(hold ? u"true" : u"false"));
}

void RecordingPlatform::afterPendingRequests(std::function<void()> then)
{
    record(QStringLiteral("afterPendingRequests"));
    if (requestsHang)
        m_afterRequests.push_back(std::move(then));
    else
        then();
}

void RecordingPlatform::settleRequests()
{
    requestsHang = false;
    const auto waiting = std::exchange(m_afterRequests, {});
    for (const auto& then : waiting)
        then();
}

std::uint32_t RecordingPlatform::tickCount()
{
    return tickCounter;
}

SleepClocks RecordingPlatform::clocks()
{
    return {monotonicMs, bootMs};
}

QDateTime RecordingPlatform::localDateTime()
{
    return now;
}

QString RecordingPlatform::shortDatePattern()
{
    if (localeFails)
        throw std::runtime_error("locale unreadable");
    return datePattern;
}

QString RecordingPlatform::timePattern()
{
    if (localeFails)
        throw std::runtime_error("locale unreadable");
    return clockPattern;
}

std::optional<QString> RecordingPlatform::chooseFile(FileKind kind, const QString& previous,
                                                     QWidget* owner)
{
    record(QStringLiteral("chooseFile %1 %2 %3")
               .arg(fileKindName(kind), previous,
                    owner ? QStringLiteral("owner") : QStringLiteral("none")));
    return chosenFile;
}

void RecordingPlatform::minimiseApplication()
{
    record(QStringLiteral("minimiseApplication"));
}

void RecordingPlatform::restoreApplication()
{
    record(QStringLiteral("restoreApplication"));
}

void RecordingPlatform::showOnTaskbar(const TaskbarView& view, QWidget* /*window*/)
{
    static const char* const bars[] = {"none", "running", "paused"};
    record(QStringLiteral("showOnTaskbar %1 %2/%3 count=%4 hover=%5 attention=%6")
               .arg(QLatin1String(bars[static_cast<int>(view.bar)]))
               .arg(view.done)
               .arg(view.length)
               .arg(view.minutesLeft)
               .arg(view.hoverText,
                    view.attention ? QStringLiteral("true") : QStringLiteral("false")));
}

void RecordingPlatform::processPendingEvents()
{
    record(QStringLiteral("processPendingEvents"));
    if (onProcessEvents)
        onProcessEvents();
}

bool RecordingPlatform::waitForEvents(int ms)
{
    record(QStringLiteral("waitForEvents %1").arg(ms));
    if (onWait)
        onWait(ms);
    else
        tickCounter += static_cast<std::uint32_t>(ms);
    // One real pass of the loop, so posted work runs and a quitting application shows as the
    // real wait shows it.
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    if (loop.exec() != -1)
        return true;
    record(QStringLiteral("waitForEvents cut short: the application is quitting"));
    return false;
}

void RecordingPlatform::record(const QString& call)
{
    m_calls.append(call);
    if (onCall)
        onCall(call);
}

QStringList RecordingPlatform::callsTo(const QString& operation) const
{
    QStringList matching;
    for (const QString& call : m_calls) {
        if (call == operation || call.startsWith(operation + QLatin1Char(' ')))
            matching.append(call);
    }
    return matching;
}
