#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
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

    // Called by the bus objects, on the fake's thread.
    void record(const QString& call);
    Answer answer() const;
    bool callerHasSession() const;
    // Keeps the read end of an inhibitor's pipe, to see when the write end is closed.
    void keepInhibitor(int readEnd);

private:
    QString m_connectionName;
    QThread m_thread;
    std::unique_ptr<FakeLoginManager> m_manager;
    std::unique_ptr<FakeLoginSession> m_session;
    bool m_registered = false;
    mutable QMutex m_mutex;
    QStringList m_calls;
    std::vector<int> m_inhibitors;
    Answer m_answer = Answer::Accept;
    bool m_callerHasSession = true;
};
