#include "platform/linux/logindsession.h"

#include <QDBusMessage>
#include <QDBusObjectPath>

#include <unistd.h>

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");

// The action bits of the stored flags; the force bit (4) has no counterpart in logind.
constexpr std::uint32_t kShutdownBit = 1;
constexpr std::uint32_t kRebootBit = 2;
constexpr std::uint32_t kPowerOffBit = 8;

} // namespace

LogindSession::LogindSession(const QDBusConnection& bus) : m_bus(bus) {}

bool LogindSession::end(SessionEnd how)
{
    if (!logindPresent())
        return false;
    const auto flags = static_cast<std::uint32_t>(how);
    // Without user interaction: nothing may ask the user anything here.
    const QVariantList notInteractive{QVariant(false)};
    if (flags & (kPowerOffBit | kShutdownBit))
        return callManager(QStringLiteral("PowerOff"), notInteractive);
    if (flags & kRebootBit)
        return callManager(QStringLiteral("Reboot"), notInteractive);
    return terminateOwnSession();
}

bool LogindSession::logindPresent()
{
    // Asked of the bus itself, which answers at once; a call to an absent logind could
    // otherwise wait for service activation.
    if (!m_bus.isConnected())
        return false;
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    ask << kService;
    const QDBusMessage reply = m_bus.call(ask, QDBus::Block, kCallTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().toBool();
}

bool LogindSession::callManager(const QString& method, const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kManagerPath, kManager, method);
    call.setArguments(arguments);
    return m_bus.call(call, QDBus::Block, kCallTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

bool LogindSession::terminateOwnSession()
{
    // The session of this process; a program started by the user's service manager has none,
    // so the session the desktop named, then the one logind picks for the user.
    QDBusMessage find = QDBusMessage::createMethodCall(kService, kManagerPath, kManager,
                                                       QStringLiteral("GetSessionByPID"));
    find << static_cast<quint32>(getpid());
    const QDBusMessage found = m_bus.call(find, QDBus::Block, kCallTimeoutMs);
    // A logind that does not answer will not answer the next call either.
    if (found.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
        found.errorName() == QLatin1String("org.freedesktop.DBus.Error.Timeout"))
        return false;
    if (found.type() == QDBusMessage::ReplyMessage && !found.arguments().isEmpty()) {
        const QString path = found.arguments().constFirst().value<QDBusObjectPath>().path();
        if (!path.isEmpty()) {
            const QDBusMessage terminate = QDBusMessage::createMethodCall(
                kService, path, kSession, QStringLiteral("Terminate"));
            return m_bus.call(terminate, QDBus::Block, kCallTimeoutMs).type() ==
                   QDBusMessage::ReplyMessage;
        }
    }
    const QString id = qEnvironmentVariable("XDG_SESSION_ID");
    if (!id.isEmpty())
        return callManager(QStringLiteral("TerminateSession"), {id});
    return callManager(QStringLiteral("TerminateSession"), {QStringLiteral("auto")});
}
