#include "platform/fake/recordingplatform.h"

#include <stdexcept>

namespace {

QString fileKindName(FileKind kind)
{
    return kind == FileKind::Sound ? QStringLiteral("sound") : QStringLiteral("program");
}

} // namespace

void RecordingPlatform::openTarget(const QString& target, QWidget* owner)
{
    m_calls.append(QStringLiteral("openTarget %1 %2")
                       .arg(target, owner ? QStringLiteral("owner") : QStringLiteral("none")));
}

void RecordingPlatform::playBuiltInSound(int id)
{
    m_calls.append(QStringLiteral("playBuiltInSound %1").arg(id));
}

void RecordingPlatform::playSoundNamed(const QString& name)
{
    m_calls.append(QStringLiteral("playSoundNamed %1").arg(name));
}

bool RecordingPlatform::ExitWindowsSession(SessionEnd how)
{
    m_calls.append(QStringLiteral("ExitWindowsSession %1").arg(static_cast<unsigned>(how)));
    return sessionEndAccepted;
}

std::uint32_t RecordingPlatform::tickCount()
{
    const std::uint32_t value = tickCounter;
    tickCounter += tickStep;
    return value;
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
    m_calls.append(QStringLiteral("chooseFile %1 %2 %3")
                       .arg(fileKindName(kind), previous,
                            owner ? QStringLiteral("owner") : QStringLiteral("none")));
    return chosenFile;
}

void RecordingPlatform::minimiseApplication()
{
    m_calls.append(QStringLiteral("minimiseApplication"));
}

void RecordingPlatform::restoreApplication()
{
    m_calls.append(QStringLiteral("restoreApplication"));
}

void RecordingPlatform::processPendingEvents()
{
    m_calls.append(QStringLiteral("processPendingEvents"));
    if (onProcessEvents)
        onProcessEvents();
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
