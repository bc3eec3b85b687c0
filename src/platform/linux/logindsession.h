#pragma once

#include "platform/platform.h"

#include <QDBusConnection>

// Ends the session through systemd-logind on the given bus: power off, reboot, or terminate the
// session this process belongs to. Every call is bounded by a short timeout, so a missing or
// stuck logind costs the caller little.
class LogindSession
{
public:
    explicit LogindSession(const QDBusConnection& bus);

    // Whether logind accepted the request.
    bool end(SessionEnd how);

    // How long one call may take before it counts as refused.
    static constexpr int kCallTimeoutMs = 2000;

private:
    bool logindPresent();
    bool callManager(const QString& method, const QVariantList& arguments);
    bool terminateOwnSession();

    QDBusConnection m_bus;
};
