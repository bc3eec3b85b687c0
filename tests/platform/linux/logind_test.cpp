#include "childprocesses.h"
#include "fakelogind.h"
#include "platform/linux/desktopinhibitor.h"
#include "platform/linux/linuxplatform.h"
#include "platform/linux/logindsession.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <gtest/gtest.h>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// One private bus for the whole suite; each test gets its own fake and its own connection.
class Logind : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_bus = new ChildProcesses::PrivateBus;
        s_why = s_bus->start();
    }
    static void TearDownTestSuite()
    {
        delete s_bus;
        s_bus = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_why.isEmpty()) << s_why.toStdString();
        m_name = QStringLiteral("backend-%1").arg(++s_connections);
        m_savedSessionId = qgetenv("XDG_SESSION_ID");
        m_hadSessionId = qEnvironmentVariableIsSet("XDG_SESSION_ID");
    }
    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(m_name);
        if (m_hadSessionId)
            qputenv("XDG_SESSION_ID", m_savedSessionId);
        else
            qunsetenv("XDG_SESSION_ID");
    }

    QDBusConnection backendBus() const
    {
        return QDBusConnection::connectToBus(s_bus->address(), m_name);
    }

    // Sends the request as the program does, checks that the sending itself did not wait, and
    // waits for logind's answer as the event loop brings it: true, false, or none at all.
    static std::optional<bool> ask(LogindSession& session, SessionEnd how)
    {
        std::optional<bool> answer;
        QElapsedTimer clock;
        clock.start();
        session.end(how, [&](bool accepted) { answer = accepted; });
        EXPECT_LT(clock.elapsed(), 100) << "the request must not hold the windows";
        EXPECT_FALSE(answer.has_value()) << "the answer comes through the event loop";
        ChildProcesses::waitUntil([&] { return answer.has_value(); },
                                  2 * LogindSession::kRequestTimeoutMs);
        return answer;
    }

    static inline ChildProcesses::PrivateBus* s_bus = nullptr;
    static inline QString s_why;
    static inline int s_connections = 0;
    QString m_name;
    QByteArray m_savedSessionId;
    bool m_hadSessionId = false;
};

const QString kPid = QString::number(QCoreApplication::applicationPid());

TEST_F(Logind, EachSessionEndReachesTheRightCallAndReportsTheAnswer)
{
    using Answer = FakeLogind::Answer;
    struct Case
    {
        const char* name;
        SessionEnd how;
        Answer answer;
        bool callerHasSession;
        const char* sessionId; // XDG_SESSION_ID, or null for none
        QStringList calls;
        bool accepted;
    };
    const QString byPid = QStringLiteral("GetSessionByPID ") + kPid;
    const QString terminateOwn = QStringLiteral("Terminate ") + FakeLogind::kSessionPath;
    const std::vector<Case> cases = {
        {"power off",
         SessionEnd::PowerOff,
         Answer::Accept,
         true,
         nullptr,
         {u"PowerOff interactive=false"_s},
         true},
        {"restart",
         SessionEnd::Restart,
         Answer::Accept,
         true,
         nullptr,
         {u"Reboot interactive=false"_s},
         true},
        {"log off", SessionEnd::LogOff, Answer::Accept, true, nullptr, {byPid, terminateOwn}, true},
        {"log off, session named by the desktop",
         SessionEnd::LogOff,
         Answer::Accept,
         false,
         "c7",
         {byPid, u"TerminateSession c7"_s},
         true},
        {"log off, no session known",
         SessionEnd::LogOff,
         Answer::Accept,
         false,
         nullptr,
         {byPid, u"TerminateSession auto"_s},
         true},
        {"power off refused",
         SessionEnd::PowerOff,
         Answer::Refuse,
         true,
         nullptr,
         {u"PowerOff interactive=false"_s},
         false},
        {"restart refused",
         SessionEnd::Restart,
         Answer::Refuse,
         true,
         nullptr,
         {u"Reboot interactive=false"_s},
         false},
        {"log off refused",
         SessionEnd::LogOff,
         Answer::Refuse,
         true,
         nullptr,
         {byPid, u"TerminateSession auto"_s},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeLogind logind(s_bus->address());
        ASSERT_TRUE(logind.registered());
        logind.setAnswer(c.answer);
        logind.setCallerHasSession(c.callerHasSession);
        if (c.sessionId)
            qputenv("XDG_SESSION_ID", c.sessionId);
        else
            qunsetenv("XDG_SESSION_ID");

        LogindSession session(backendBus());
        EXPECT_EQ(ask(session, c.how), c.accepted);
        EXPECT_EQ(logind.calls(), c.calls);
    }
}

TEST_F(Logind, TheIdleSleepIsHeldOffUntilReleasedAndNotAfterAReleaseWhileAsking)
{
    FakeLogind logind(s_bus->address());
    ASSERT_TRUE(logind.registered());
    LogindSession session(backendBus());
    session.holdIdleSleep(true);
    session.holdIdleSleep(true);
    ASSERT_TRUE(ChildProcesses::waitUntil([&] { return session.holdsIdleSleep(); }, 3000));
    EXPECT_EQ(logind.calls(),
              QStringList{u"Inhibit idle Vokari Vokari: countdown will end the session block"_s});
    EXPECT_EQ(logind.heldInhibitors(), 1);
    session.holdIdleSleep(false);
    EXPECT_EQ(logind.heldInhibitors(), 0) << "releasing must close the inhibitor";

    // Released before logind answers: the answer's inhibitor is let go as it arrives.
    session.holdIdleSleep(true);
    session.holdIdleSleep(false);
    ASSERT_TRUE(ChildProcesses::waitUntil([&] { return logind.handedOutInhibitors() == 2; }, 3000));
    EXPECT_TRUE(ChildProcesses::waitUntil([&] { return logind.heldInhibitors() == 0; }, 3000))
        << "the inhibitor that came after the release is still held";
    EXPECT_FALSE(session.holdsIdleSleep());
}

TEST_F(Logind, TheDesktopIsKeptFromSuspendingUntilReleased)
{
    const QString why = u"Vokari: countdown will end the session"_s;
    const QString portal = u"org.freedesktop.portal.Desktop"_s;
    const QString byPortal = u"Inhibit x11:2a00007 4 "_s + why;
    const QString close = u"Close /org/freedesktop/portal/desktop/request/1"_s;
    const QString byGnome = u"Inhibit org.vokari.Vokari 44040199 "_s + why + u" 4"_s;
    struct Case
    {
        QStringList services;
        bool releasedAtOnce; // before any answer came
        QStringList calls;
    };
    const std::vector<Case> cases = {
        {{portal, u"org.freedesktop.PowerManagement"_s},
         false,
         {byPortal, u"Inhibit Vokari "_s + why, close, u"UnInhibit 2"_s}},
        {{u"org.gnome.SessionManager"_s}, false, {byGnome, u"Uninhibit 1"_s}}, // no portal
        {{portal}, true, {byPortal, close}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.services.join(u' ').toStdString());
        FakeLogind desktop(s_bus->address());
        ASSERT_TRUE(desktop.serveDesktop(c.services));
        DesktopInhibitor inhibitor(backendBus());
        inhibitor.holdSuspend(true, 0x2a00007);
        if (!c.releasedAtOnce) {
            ASSERT_TRUE(ChildProcesses::waitUntil([&] { return inhibitor.held(); }, 3000));
            inhibitor.holdSuspend(true, 0x2a00007);
        }
        inhibitor.holdSuspend(false, 0);
        ChildProcesses::waitUntil([&] { return desktop.calls().size() >= c.calls.size(); }, 3000);
        EXPECT_EQ(desktop.calls(), c.calls);
        EXPECT_FALSE(inhibitor.held());
    }
}

TEST_F(Logind, TheLauncherEntryTellsDocksTheCountdownWithTheTypesTheyRead)
{
    LauncherEntryListener dock(s_bus->address());
    ASSERT_TRUE(dock.listening());
    QGuiApplication::setDesktopFileName(u"org.vokari.Vokari"_s);
    const QDBusConnection bus = backendBus();
    LinuxPlatform platform([bus] { return bus; }, [bus] { return bus; });
    TaskbarView view;
    view.bar = TaskbarView::Bar::Paused;
    view.done = 30;
    view.length = 120;
    view.minutesLeft = 2;
    view.attention = true;
    platform.showOnTaskbar(view, nullptr);
    QGuiApplication::setDesktopFileName(QString());
    ASSERT_TRUE(ChildProcesses::waitUntil([&] { return !dock.updates.isEmpty(); }, 3000));

    const QDBusMessage update = dock.updates.constFirst();
    EXPECT_EQ(update.signature(), u"sa{sv}"_s);
    EXPECT_EQ(update.arguments().value(0).toString(), u"application://org.vokari.Vokari.desktop"_s);
    const QVariantMap shown = qdbus_cast<QVariantMap>(update.arguments().value(1));
    const std::pair<QString, QVariant> expected[] = {
        {u"progress"_s, 0.25},      {u"progress-visible"_s, true}, {u"count"_s, qint64{2}},
        {u"count-visible"_s, true}, {u"urgent"_s, true},
    };
    EXPECT_EQ(shown.size(), std::size(expected));
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(shown.value(name).metaType(), value.metaType()) << name.toStdString();
        EXPECT_EQ(shown.value(name), value) << name.toStdString();
    }
}

TEST_F(Logind, WithoutLogindOnTheBusTheAnswerIsNoAtOnce)
{
    LogindSession session(backendBus());
    for (SessionEnd how : {SessionEnd::PowerOff, SessionEnd::Restart, SessionEnd::LogOff}) {
        SCOPED_TRACE(static_cast<int>(how));
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(ask(session, how), false);
        // The bus itself says the name has no owner; nothing waits for logind to start.
        EXPECT_LT(clock.elapsed(), LogindSession::kRequestTimeoutMs);
    }
}

TEST_F(Logind, WithoutAnyBusTheAnswerIsNo)
{
    const QString name = QStringLiteral("nowhere");
    LogindSession session(
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/vokari-bus"), name));
    EXPECT_EQ(ask(session, SessionEnd::PowerOff), false);
    EXPECT_EQ(ask(session, SessionEnd::LogOff), false);
    QDBusConnection::disconnectFromBus(name);
}

TEST_F(Logind, ALogindThatNeverAnswersIsGivenUpAndHoldsNothing)
{
    FakeLogind logind(s_bus->address());
    ASSERT_TRUE(logind.registered());
    logind.setAnswer(FakeLogind::Answer::Silent);
    LogindSession session(backendBus());
    for (SessionEnd how : {SessionEnd::PowerOff, SessionEnd::LogOff}) {
        SCOPED_TRACE(static_cast<int>(how));
        QElapsedTimer clock;
        clock.start();
        bool settled = false;
        std::optional<bool> answer;
        session.end(how, [&](bool accepted) { answer = accepted; });
        session.afterPending([&] { settled = true; });
        EXPECT_FALSE(settled) << "a request is still out";
        // The program waits for this before it ends: it must come well within 5 s.
        ChildProcesses::waitUntil([&] { return settled; }, 5000);
        EXPECT_TRUE(settled);
        EXPECT_EQ(answer, false);
        EXPECT_LT(clock.elapsed(), LogindSession::kRequestTimeoutMs + 500);
    }
    // One timed-out call per request and no second one after it.
    EXPECT_EQ(logind.calls(), (QStringList{u"PowerOff interactive=false"_s,
                                           QStringLiteral("GetSessionByPID ") + kPid}));
}

} // namespace
