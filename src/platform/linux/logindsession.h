#pragma once

#include "platform/platform.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QElapsedTimer>
#include <QObject>

#include <functional>
#include <vector>

class QDBusMessage;

// Ends the session through systemd-logind on the given bus: power off, reboot, or terminate the
// session this process belongs to. Nothing here blocks: every call is sent without waiting and
// its answer comes back through the event loop, so a slow or silent logind never freezes the
// windows. A request that has no answer within kRequestTimeoutMs is given up.
class LogindSession : public QObject
{
    Q_OBJECT

public:
    explicit LogindSession(const QDBusConnection& bus, QObject* parent = nullptr);

    // Sends the request and returns at once; `done`, if given, later learns whether logind
    // accepted it (false for a refusal, no logind, no bus, or no answer in time).
    void end(SessionEnd how, std::function<void(bool)> done = {});

    // Holds logind's idle inhibitor (what "idle", mode "block") while `hold` is true: the session
    // then does not sleep for lack of use, while a suspend asked for, a lid close or a shutdown
    // still go ahead. Asked for without waiting; releasing closes the inhibitor's descriptor.
    void holdIdleSleep(bool hold);
    bool holdsIdleSleep() const { return m_idleLock.isValid(); }

    // Runs `then` when no request is pending any more, at once when none is.
    void afterPending(std::function<void()> then);
    int pendingRequests() const { return m_pending; }

    // How long one request, all its calls together, may wait for logind's answers.
    static constexpr int kRequestTimeoutMs = 3000;

private:
    struct Request
    {
        std::function<void(bool)> done;
        QElapsedTimer age;
    };
    // Sends `call` and hands its reply, or the error standing for none, to `next`.
    void send(QDBusMessage call, const Request& request,
              std::function<void(const QDBusMessage&)> next);
    void callManager(const QString& method, const QVariantList& arguments, Request request);
    void terminateOwnSession(Request request);
    void finish(const Request& request, bool accepted);

    QDBusConnection m_bus;
    bool m_idleWanted = false;
    bool m_idleAsked = false; // an Inhibit call is on its way
    QDBusUnixFileDescriptor m_idleLock;
    int m_pending = 0;
    std::vector<std::function<void()>> m_afterPending;
};
