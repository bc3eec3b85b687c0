#include "platform/linux/desktopinhibitor.h"

#include "platform/linux/logindsession.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>

#include <utility>

namespace {

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kSessionManager = QStringLiteral("org.gnome.SessionManager");
const QString kPowerManagement = QStringLiteral("org.freedesktop.PowerManagement");
const QString kReason = QStringLiteral("Vokari: countdown will end the session");
// Suspend, in both the portal's and GNOME's inhibit flags.
constexpr quint32 kSuspend = 4;

} // namespace

DesktopInhibitor::DesktopInhibitor(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus)
{}

DesktopInhibitor::~DesktopInhibitor()
{
    // Calls still out are dropped with their watchers; the services let go of what they hand
    // out anyway once this program's connection closes.
    letGo(m_desktop);
    letGo(m_power);
}

void DesktopInhibitor::holdSuspend(bool hold, quint32 x11WindowId)
{
    m_wanted = hold;
    if (!hold) {
        letGo(m_desktop);
        letGo(m_power);
        return;
    }
    // No session bus, no desktop to ask.
    if (!m_bus.isConnected())
        return;
    if (!m_desktop.release && !m_desktop.asked)
        askPortal(x11WindowId);
    if (!m_power.release && !m_power.asked)
        askPowerManagement();
}

void DesktopInhibitor::askPortal(quint32 x11WindowId)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        kPortal, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Inhibit"), QStringLiteral("Inhibit"));
    call << (x11WindowId ? QStringLiteral("x11:") + QString::number(x11WindowId, 16) : QString())
         << kSuspend << QVariantMap{{QStringLiteral("reason"), kReason}};
    // The answer is a request object; closing it ends the inhibition.
    ask(
        m_desktop, call,
        [](const QVariant& handle) {
            return QDBusMessage::createMethodCall(kPortal, handle.value<QDBusObjectPath>().path(),
                                                  QStringLiteral("org.freedesktop.portal.Request"),
                                                  QStringLiteral("Close"));
        },
        [this, x11WindowId] { askSessionManager(x11WindowId); });
}

void DesktopInhibitor::askSessionManager(quint32 x11WindowId)
{
    const QString path = QStringLiteral("/org/gnome/SessionManager");
    QDBusMessage call = QDBusMessage::createMethodCall(kSessionManager, path, kSessionManager,
                                                       QStringLiteral("Inhibit"));
    call << QStringLiteral("org.vokari.Vokari") << x11WindowId << kReason << kSuspend;
    ask(m_desktop, call, [path](const QVariant& cookie) {
        QDBusMessage release = QDBusMessage::createMethodCall(
            kSessionManager, path, kSessionManager, QStringLiteral("Uninhibit"));
        return release << cookie.toUInt();
    });
}

void DesktopInhibitor::askPowerManagement()
{
    const QString path = QStringLiteral("/org/freedesktop/PowerManagement/Inhibit");
    const QString interface = QStringLiteral("org.freedesktop.PowerManagement.Inhibit");
    QDBusMessage call = QDBusMessage::createMethodCall(kPowerManagement, path, interface,
                                                       QStringLiteral("Inhibit"));
    call << QStringLiteral("Vokari") << kReason;
    ask(m_power, call, [path, interface](const QVariant& cookie) {
        QDBusMessage release = QDBusMessage::createMethodCall(kPowerManagement, path, interface,
                                                              QStringLiteral("UnInhibit"));
        return release << cookie.toUInt();
    });
}

void DesktopInhibitor::ask(Inhibitor& inhibitor, QDBusMessage call, ReleaseFor releaseFor,
                           std::function<void()> otherwise)
{
    inhibitor.asked = true;
    // Never start a service for us: where none runs, the bus says so at once.
    call.setAutoStartService(false);
    auto* watcher =
        new QDBusPendingCallWatcher(m_bus.asyncCall(call, LogindSession::kRequestTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, &inhibitor, watcher, releaseFor = std::move(releaseFor),
             otherwise = std::move(otherwise)] {
                watcher->deleteLater();
                inhibitor.asked = false;
                const QDBusMessage reply = watcher->reply();
                if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
                    if (m_wanted && otherwise)
                        otherwise();
                    return;
                }
                inhibitor.release = releaseFor(reply.arguments().constFirst());
                // Released while the call was out: let go of what it brought.
                if (!m_wanted)
                    letGo(inhibitor);
            });
}

void DesktopInhibitor::letGo(Inhibitor& inhibitor)
{
    if (!inhibitor.release)
        return;
    QDBusMessage release = *std::exchange(inhibitor.release, std::nullopt);
    release.setAutoStartService(false);
    // Sent without wanting an answer: there is nothing to do about a refusal.
    m_bus.send(release);
}
