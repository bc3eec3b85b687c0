#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>

#include <functional>
#include <optional>

// Keeps the desktop from suspending for lack of use, for desktops whose power manager does not
// heed logind's idle lock (GNOME's does not): through the desktop portal, or GNOME's session
// manager where no portal answers, and also the power management service where one runs, all
// on the session bus. Nothing here waits or starts a service: every call is sent without
// waiting, and one with no answer within LogindSession::kRequestTimeoutMs is given up, so a
// missing or silent service is simply not held.
class DesktopInhibitor final : public QObject
{
    Q_OBJECT

public:
    explicit DesktopInhibitor(const QDBusConnection& bus, QObject* parent = nullptr);
    // Lets go of whatever is held.
    ~DesktopInhibitor() override;

    // Holds the inhibitors while `hold` is true; `x11WindowId` names the main window to the
    // desktop (0: none). Saying the same twice changes nothing; an inhibitor that arrives after
    // its release is let go as it arrives.
    void holdSuspend(bool hold, quint32 x11WindowId);
    bool held() const { return m_desktop.release.has_value() || m_power.release.has_value(); }

private:
    struct Inhibitor
    {
        bool asked = false;                  // a call for it is on its way
        std::optional<QDBusMessage> release; // the call that lets go of it, while held
    };
    using ReleaseFor = std::function<QDBusMessage(const QVariant& answer)>;

    void askPortal(quint32 x11WindowId);
    void askSessionManager(quint32 x11WindowId);
    void askPowerManagement();
    // Sends `call` for `inhibitor`; its answer is kept as the release `releaseFor` makes of it,
    // an error or no answer runs `otherwise` if still wanted.
    void ask(Inhibitor& inhibitor, QDBusMessage call, ReleaseFor releaseFor,
             std::function<void()> otherwise = {});
    void letGo(Inhibitor& inhibitor);

    QDBusConnection m_bus;
    bool m_wanted = false;
    Inhibitor m_desktop; // the portal's, or the session manager's where no portal answered
    Inhibitor m_power;
};
