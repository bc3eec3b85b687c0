#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QThread>

#include <memory>
#include <vector>

class FakeLogind;

// org.freedesktop.login1.Manager, as much of it as the backend calls.
class FakeLoginManager final : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    explicit FakeLoginManager(FakeLogind& logind) : m_logind(logind) {}

public Q_SLOTS:
    void PowerOff(bool interactive);
    void Reboot(bool interactive);
    QDBusObjectPath GetSessionByPID(uint pid);
    void TerminateSession(const QString& id);
    // Hands out the write end of a pipe, as logind hands out an inhibitor's descriptor.
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode);

private:
    FakeLogind& m_logind;
};

// org.freedesktop.login1.Session of the one session the fake knows.
class FakeLoginSession final : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Session")

public:
    explicit FakeLoginSession(FakeLogind& logind) : m_logind(logind) {}

public Q_SLOTS:
    void Terminate();

private:
    FakeLogind& m_logind;
};

// The desktop's suspend inhibitors, answering whatever is called on their paths: the portal's
// Inhibit and its requests' Close, GNOME's session manager, the power management service.
class FakeDesktopInhibit final : public QDBusVirtualObject
{
public:
    explicit FakeDesktopInhibit(FakeLogind& logind) : m_logind(logind) {}

    QString introspect(const QString& /*path*/) const override { return {}; }
    bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override;

private:
    FakeLogind& m_logind;
    uint m_handedOut = 0;
};

// A dock on a private bus: keeps every launcher-entry update broadcast there, as received.
class LauncherEntryListener final : public QObject
{
    Q_OBJECT

public:
    explicit LauncherEntryListener(const QString& busAddress);
    ~LauncherEntryListener() override;
    bool listening() const { return m_listening; }

    QList<QDBusMessage> updates;

private Q_SLOTS:
    void Update(const QDBusMessage& message) { updates.append(message); }

private:
    QString m_name;
    bool m_listening = false;
};

// A logind stand-in on a private bus. It answers from a thread of its own, so the backend's
// blocking calls from the test's thread get their replies. Records every call as one line.
class FakeLogind
{
public:
    enum class Answer
    {
        Accept, // every request succeeds
        Refuse, // every request fails with AccessDenied, as when policy forbids it
        Silent, // no request is ever answered
    };

    static inline const QString kSessionPath =
        QStringLiteral("/org/freedesktop/login1/session/_37");

    explicit FakeLogind(const QString& busAddress);
    ~FakeLogind();

    bool registered() const { return m_registered; }

    // Also serves the desktop's inhibitors, under the bus names given; false if it cannot.
    bool serveDesktop(const QStringList& names);

    void setAnswer(Answer answer);
    // Whether GetSessionByPID finds a session for the caller.
    void setCallerHasSession(bool has);
    QStringList calls() const;
    // The calls that end the session: all but the idle inhibitor's.
    QStringList sessionEndCalls() const;
    // How many inhibitors were handed out, and how many of them are still held: their
    // descriptor is open somewhere.
    int handedOutInhibitors() const;
    int heldInhibitors() const;
    // How many inhibitors were still held when the last call ending the session came; -1 before
    // any came.
    int heldAtSessionEnd() const;

    // Called by the bus objects, on the fake's thread.
    void record(const QString& call);
    void recordSessionEnd(const QString& call);
    Answer answer() const;
    bool callerHasSession() const;
    // Keeps the read end of an inhibitor's pipe, to see when the write end is closed.
    void keepInhibitor(int readEnd);

private:
    QString m_connectionName;
    QThread m_thread;
    std::unique_ptr<FakeLoginManager> m_manager;
    std::unique_ptr<FakeLoginSession> m_session;
    std::unique_ptr<FakeDesktopInhibit> m_desktop;
    bool m_registered = false;
    mutable QMutex m_mutex;
    QStringList m_calls;
    std::vector<int> m_inhibitors;
    Answer m_answer = Answer::Accept;
    bool m_callerHasSession = true;
    int m_heldAtSessionEnd = -1;
};
