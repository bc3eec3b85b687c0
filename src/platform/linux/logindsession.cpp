#include "platform/linux/logindsession.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <algorithm>
#include <unistd.h>
#include <utility>

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");

bool isReply(const QDBusMessage& message)
{
    return message.type() == QDBusMessage::ReplyMessage;
}

} // namespace

LogindSession::LogindSession(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus)
{}

void LogindSession::end(SessionEnd how, std::function<void(bool)> done)
{
    Request request{std::move(done), {}};
    request.age.start();
    ++m_pending;
    // Without user interaction: nothing may ask the user anything here. Logind has no force
    // flag; a non-interactive request is as forceful as the user's rights allow.
    const QVariantList notInteractive{QVariant(false)};
    switch (how) {
    case SessionEnd::PowerOff:
        callManager(QStringLiteral("PowerOff"), notInteractive, std::move(request));
        break;
    case SessionEnd::Restart:
        callManager(QStringLiteral("Reboot"), notInteractive, std::move(request));
        break;
    case SessionEnd::LogOff:
        terminateOwnSession(std::move(request));
        break;
    }
}

void LogindSession::holdIdleSleep(bool hold)
{
    m_idleWanted = hold;
    if (!hold) {
        // Logind drops the inhibitor when its descriptor is closed.
        m_idleLock = QDBusUnixFileDescriptor();
        return;
    }
    if (m_idleLock.isValid() || m_idleAsked)
        return;
    m_idleAsked = true;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kManagerPath, kManager, QStringLiteral("Inhibit"));
    call << QStringLiteral("idle") << QStringLiteral("Vokari")
         << QStringLiteral("Vokari: countdown will end the session") << QStringLiteral("block");
    Request request{{}, {}};
    request.age.start();
    send(call, request, [this](const QDBusMessage& reply) {
        m_idleAsked = false;
        // Released while the call was out: the reply's descriptor closes with it.
        if (!m_idleWanted || !isReply(reply) || reply.arguments().isEmpty())
            return;
        m_idleLock = qdbus_cast<QDBusUnixFileDescriptor>(reply.arguments().constFirst());
    });
}

void LogindSession::afterPending(std::function<void()> then)
{
    if (m_pending == 0)
        then();
    else
        m_afterPending.push_back(std::move(then));
}

void LogindSession::send(QDBusMessage call, const Request& request,
                         std::function<void(const QDBusMessage&)> next)
{
    // Never start logind for us: where it is not running, the bus says so at once.
    call.setAutoStartService(false);
    if (!m_bus.isConnected()) {
        // No bus, no pending call to watch: the answer is no, given from the event loop as any
        // other answer is.
        QMetaObject::invokeMethod(
            this,
            [next = std::move(next)] {
                next(QDBusMessage::createError(QDBusError::Disconnected,
                                               QStringLiteral("no connection to the bus")));
            },
            Qt::QueuedConnection);
        return;
    }
    const int left = std::max(1, kRequestTimeoutMs - static_cast<int>(request.age.elapsed()));
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, left), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, next = std::move(next)] {
        watcher->deleteLater();
        next(watcher->reply());
    });
}

void LogindSession::callManager(const QString& method, const QVariantList& arguments,
                                Request request)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kManagerPath, kManager, method);
    call.setArguments(arguments);
    send(call, request,
         [this, request](const QDBusMessage& reply) { finish(request, isReply(reply)); });
}

void LogindSession::terminateOwnSession(Request request)
{
    // The session of this process; a program started by the user's service manager has none,
    // so the session the desktop named, then the one logind picks for the user.
    QDBusMessage find = QDBusMessage::createMethodCall(kService, kManagerPath, kManager,
                                                       QStringLiteral("GetSessionByPID"));
    find << static_cast<quint32>(getpid());
    send(find, request, [this, request](const QDBusMessage& found) {
        // A logind that does not answer will not answer the next call either.
        if (found.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
            found.errorName() == QLatin1String("org.freedesktop.DBus.Error.Timeout") ||
            found.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
            found.errorName() == QLatin1String("org.freedesktop.DBus.Error.Disconnected")) {
            finish(request, false);
            return;
        }
        if (isReply(found) && !found.arguments().isEmpty()) {
            const QString path = found.arguments().constFirst().value<QDBusObjectPath>().path();
            if (!path.isEmpty()) {
                send(QDBusMessage::createMethodCall(kService, path, kSession,
                                                    QStringLiteral("Terminate")),
                     request, [this, request](const QDBusMessage& reply) {
                         finish(request, isReply(reply));
                     });
                return;
            }
        }
        const QString id = qEnvironmentVariable("XDG_SESSION_ID");
        callManager(QStringLiteral("TerminateSession"),
                    {id.isEmpty() ? QStringLiteral("auto") : id}, request);
    });
}

void LogindSession::finish(const Request& request, bool accepted)
{
    if (request.done)
        request.done(accepted);
    if (--m_pending > 0)
        return;
    const auto waiting = std::exchange(m_afterPending, {});
    for (const auto& then : waiting)
        then();
}
