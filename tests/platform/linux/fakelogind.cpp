#include "fakelogind.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QMutexLocker>

#include <atomic>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

std::atomic<int> g_fakeCount{0};

QString yesNo(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// What a refusing or silent logind does with the request in `context`; true when it went on.
bool goAhead(FakeLogind& logind, QDBusContext& context)
{
    switch (logind.answer()) {
    case FakeLogind::Answer::Accept:
        return true;
    case FakeLogind::Answer::Refuse:
        context.sendErrorReply(QDBusError::AccessDenied, QStringLiteral("Not allowed"));
        return false;
    case FakeLogind::Answer::Silent:
        context.setDelayedReply(true);
        return false;
    }
    return false;
}

} // namespace

void FakeLoginManager::PowerOff(bool interactive)
{
    m_logind.recordSessionEnd(QStringLiteral("PowerOff interactive=") + yesNo(interactive));
    goAhead(m_logind, *this);
}

void FakeLoginManager::Reboot(bool interactive)
{
    m_logind.recordSessionEnd(QStringLiteral("Reboot interactive=") + yesNo(interactive));
    goAhead(m_logind, *this);
}

QDBusObjectPath FakeLoginManager::GetSessionByPID(uint pid)
{
    m_logind.record(QStringLiteral("GetSessionByPID %1").arg(pid));
    if (!goAhead(m_logind, *this))
        return {};
    if (!m_logind.callerHasSession()) {
        sendErrorReply(QStringLiteral("org.freedesktop.login1.NoSessionForPID"),
                       QStringLiteral("PID does not belong to any known session"));
        return {};
    }
    return QDBusObjectPath(FakeLogind::kSessionPath);
}

void FakeLoginManager::TerminateSession(const QString& id)
{
    m_logind.recordSessionEnd(QStringLiteral("TerminateSession ") + id);
    goAhead(m_logind, *this);
}

QDBusUnixFileDescriptor FakeLoginManager::Inhibit(const QString& what, const QString& who,
                                                  const QString& why, const QString& mode)
{
    m_logind.record(QStringLiteral("Inhibit %1 %2 %3 %4").arg(what, who, why, mode));
    int ends[2] = {-1, -1};
    if (!goAhead(m_logind, *this) || pipe2(ends, O_CLOEXEC) != 0)
        return {};
    m_logind.keepInhibitor(ends[0]);
    // The descriptor object holds a copy of its own for the reply.
    QDBusUnixFileDescriptor handedOut(ends[1]);
    close(ends[1]);
    return handedOut;
}

void FakeLoginSession::Terminate()
{
    m_logind.recordSessionEnd(QStringLiteral("Terminate ") + message().path());
    goAhead(m_logind, *this);
}

bool FakeDesktopInhibit::handleMessage(const QDBusMessage& call, const QDBusConnection& bus)
{
    // The member and its arguments, of the portal's options the reason; Close names its path.
    QStringList line{call.member()};
    for (const QVariant& argument : call.arguments()) {
        const bool options = argument.metaType() == QMetaType::fromType<QDBusArgument>();
        line << (options ? qdbus_cast<QVariantMap>(argument).value(u"reason"_s) : argument)
                    .toString();
    }
    if (call.member() == u"Close")
        line << call.path();
    m_logind.record(line.join(u' '));
    QDBusMessage reply = call.createReply();
    if (call.interface() == u"org.freedesktop.portal.Inhibit")
        reply << QVariant::fromValue(
            QDBusObjectPath(u"/org/freedesktop/portal/desktop/request/%1"_s.arg(++m_handedOut)));
    else if (call.member() == u"Inhibit")
        reply << ++m_handedOut;
    return bus.send(reply);
}

FakeLogind::FakeLogind(const QString& busAddress)
    : m_connectionName(QStringLiteral("fake-logind-%1").arg(++g_fakeCount)),
      m_manager(std::make_unique<FakeLoginManager>(*this)),
      m_session(std::make_unique<FakeLoginSession>(*this)),
      m_desktop(std::make_unique<FakeDesktopInhibit>(*this))
{
    m_thread.start();
    m_manager->moveToThread(&m_thread);
    m_session->moveToThread(&m_thread);
    // The desktop's stand-in stays here: Qt calls a virtual object from its own bus thread, and
    // one moved to another thread is never freed from the connection's object tree.
    QDBusConnection bus = QDBusConnection::connectToBus(busAddress, m_connectionName);
    m_registered =
        bus.isConnected() &&
        bus.registerObject(QStringLiteral("/org/freedesktop/login1"), m_manager.get(),
                           QDBusConnection::ExportAllSlots) &&
        bus.registerObject(kSessionPath, m_session.get(), QDBusConnection::ExportAllSlots) &&
        bus.registerService(QStringLiteral("org.freedesktop.login1"));
}

FakeLogind::~FakeLogind()
{
    QDBusConnection::disconnectFromBus(m_connectionName);
    m_thread.quit();
    m_thread.wait();
    for (int readEnd : m_inhibitors)
        close(readEnd);
}

bool FakeLogind::serveDesktop(const QStringList& names)
{
    QDBusConnection bus(m_connectionName);
    bool served = true;
    for (const QString& path :
         {u"/org/freedesktop/portal/desktop"_s, u"/org/gnome/SessionManager"_s,
          u"/org/freedesktop/PowerManagement/Inhibit"_s})
        served &= bus.registerVirtualObject(path, m_desktop.get(), QDBusConnection::SubPath);
    for (const QString& name : names)
        served &= bus.registerService(name);
    return served;
}

void FakeLogind::setAnswer(Answer answer)
{
    QMutexLocker lock(&m_mutex);
    m_answer = answer;
}

void FakeLogind::setCallerHasSession(bool has)
{
    QMutexLocker lock(&m_mutex);
    m_callerHasSession = has;
}

QStringList FakeLogind::calls() const
{
    QMutexLocker lock(&m_mutex);
    return m_calls;
}

void FakeLogind::record(const QString& call)
{
    QMutexLocker lock(&m_mutex);
    m_calls.append(call);
}

void FakeLogind::recordSessionEnd(const QString& call)
{
    const int held = heldInhibitors();
    QMutexLocker lock(&m_mutex);
    m_heldAtSessionEnd = held;
    m_calls.append(call);
}

int FakeLogind::heldAtSessionEnd() const
{
    QMutexLocker lock(&m_mutex);
    return m_heldAtSessionEnd;
}

FakeLogind::Answer FakeLogind::answer() const
{
    QMutexLocker lock(&m_mutex);
    return m_answer;
}

bool FakeLogind::callerHasSession() const
{
    QMutexLocker lock(&m_mutex);
    return m_callerHasSession;
}

void FakeLogind::keepInhibitor(int readEnd)
{
    QMutexLocker lock(&m_mutex);
    m_inhibitors.push_back(readEnd);
}

QStringList FakeLogind::sessionEndCalls() const
{
    QStringList ends = calls();
    ends.removeIf([](const QString& call) { return call.startsWith(u"Inhibit "); });
    return ends;
}

int FakeLogind::handedOutInhibitors() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_inhibitors.size());
}

int FakeLogind::heldInhibitors() const
{
    QMutexLocker lock(&m_mutex);
    int held = 0;
    for (int readEnd : m_inhibitors) {
        // Once every copy of the write end is closed, the read end reports a hang-up.
        pollfd end{readEnd, POLLIN, 0};
        if (poll(&end, 1, 0) == 0)
            ++held;
    }
    return held;
}

LauncherEntryListener::LauncherEntryListener(const QString& busAddress)
    : m_name(u"launcher-entry-listener-%1"_s.arg(++g_fakeCount))
{
    QDBusConnection bus = QDBusConnection::connectToBus(busAddress, m_name);
    m_listening = bus.connect(QString(), QString(), u"com.canonical.Unity.LauncherEntry"_s,
                              u"Update"_s, this, SLOT(Update(QDBusMessage)));
}

LauncherEntryListener::~LauncherEntryListener()
{
    QDBusConnection::disconnectFromBus(m_name);
}
