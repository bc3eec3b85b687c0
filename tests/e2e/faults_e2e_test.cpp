// A countdown's completion when something around the program fails: no sound server or one that
// never answers, no opener or one that never exits, no login manager or one that never answers,
// a region Qt cannot read. Each row is a program of its own with a message, a program, three
// plays of the built-in alarm, a URL and power off ticked; whatever failed, the windows answer
// the pointer throughout, the later steps run in order and the alarm's pauses still space them,
// and the close glyph still ends the program within five seconds.
#include "childprocesses.h"
#include "fakelogind.h"
#include "mainwindowscreen.h"
#include "pixelcensus.h"
#include "programtest.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

using namespace e2e;
using namespace Qt::StringLiterals;

namespace {

enum class Sound
{
    Working, // the private PulseAudio server
    Missing, // PULSE_SERVER names a socket that does not exist
    Stuck,   // a socket that takes the connection and never answers
};

enum class Opener
{
    Logging, // an xdg-open that logs its argument and exits
    Missing, // no xdg-open anywhere on PATH, nor a browser for Qt to fall back on
    Hanging, // an xdg-open that logs its argument and then never exits
};

enum class Login
{
    Accepting, // the logind stand-in takes the request
    Missing,   // the bus has no logind at all
    Silent,    // the stand-in takes the request and never answers
};

struct Fault
{
    const char* name;
    Sound sound = Sound::Working;
    Opener opener = Opener::Logging;
    Login login = Login::Accepting;
    const char* region = nullptr; // LC_ALL and LANG; null keeps the test's own
};

// What each row should come to is in the test below: the program by its bare name always
// runs (it needs no opener); the URL is logged unless there is no opener, when Qt's fallback
// finds no browser either and nothing opens; the power-off reaches logind whenever it is there.
const Fault kFaults[] = {
    {.name = "NoSoundServer", .sound = Sound::Missing},
    {.name = "StuckSoundServer", .sound = Sound::Stuck},
    {.name = "NoOpener", .opener = Opener::Missing},
    {.name = "OpenerNeverExits", .opener = Opener::Hanging},
    {.name = "NoLoginManager", .login = Login::Missing},
    {.name = "SilentLoginManager", .login = Login::Silent},
    {.name = "UnreadableRegion", .region = "xx_YY.UTF-8"},
};

// The add button must change the counter within this long, also on a machine busy with builds.
constexpr int kAnswerMs = 1500;
// Three plays, each followed by a one-second pause, between the program and the URL.
constexpr qint64 kAlarmMinMs = 2900;
constexpr qint64 kAlarmMaxMs = 3600;
// The opener logs a moment after it is started, and the power-off is sent right after that.
constexpr qint64 kLogSlackMs = 200;
// The power-off follows the URL at once: nothing waits for the opener.
constexpr qint64 kUrlToPowerOffMaxMs = 1000;
// Closing waits for a session-end request still out, which a silent logind holds for three
// seconds; with nothing out it takes a moment.
constexpr qint64 kCloseMaxMs = 5000;
constexpr qint64 kPromptCloseMaxMs = 2000;

// The clock line, inside the black display panel, and how wide its start-up text "12:00" is at
// most; the date and time take four times that.
constexpr QRect kClockLineArea(29 + 16, 32 + 175, 274, 24);
constexpr int kPlaceholderWidth = 100;

void PrintTo(const Fault& fault, std::ostream* out)
{
    *out << fault.name;
}

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

class FaultsE2E : public ProgramTest, public testing::WithParamInterface<Fault>
{
protected:
    // The sound server and the bus outlive the rows: starting them is the slow part.
    static void SetUpTestSuite()
    {
        s_bus = new ChildProcesses::PrivateBus;
        s_pulse = new ChildProcesses::PrivatePulse;
        s_why = s_bus->start();
        if (s_why.isEmpty())
            s_why = s_pulse->start();
    }
    static void TearDownTestSuite()
    {
        delete s_pulse;
        delete s_bus;
        s_pulse = nullptr;
        s_bus = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_why.isEmpty()) << s_why.toStdString();
        ASSERT_TRUE(m_dir.isValid());
        const Fault& fault = GetParam();
        QProcessEnvironment extra = s_pulse->clientEnvironment();
        extra.insert(u"DBUS_SYSTEM_BUS_ADDRESS"_s, s_bus->address());
        // A session bus too: without one libdbus starts its own autolaunch helper, whose buffer
        // it never frees, and the sanitizers' leak check would fail the program's exit.
        extra.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, s_bus->address());

        if (fault.login != Login::Missing) {
            m_logind = std::make_unique<FakeLogind>(s_bus->address());
            ASSERT_TRUE(m_logind->registered());
            if (fault.login == Login::Silent)
                m_logind->setAnswer(FakeLogind::Answer::Silent);
        }

        if (fault.sound == Sound::Missing)
            extra.insert(u"PULSE_SERVER"_s, u"unix:"_s + m_dir.filePath(u"nowhere/native"_s));
        if (fault.sound == Sound::Stuck) {
            ASSERT_NO_FATAL_FAILURE(listenWithoutAnswering(m_dir.filePath(u"native"_s)));
            extra.insert(u"PULSE_SERVER"_s, u"unix:"_s + m_dir.filePath(u"native"_s));
        }

        ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"bin"_s));
        m_log = m_dir.filePath(u"runs.log"_s);
        m_openerPid = m_dir.filePath(u"opener.pid"_s);
        ASSERT_NO_FATAL_FAILURE(writeScript(u"vk-prog"_s, "program", false));
        if (fault.opener != Opener::Missing) {
            ASSERT_NO_FATAL_FAILURE(
                writeScript(u"xdg-open"_s, "url", fault.opener == Opener::Hanging));
        }
        const QString bin = m_dir.filePath(u"bin"_s);
        if (fault.opener == Opener::Missing) {
            // Only the stand-in program: neither an opener nor a browser can be found.
            extra.insert(u"PATH"_s, bin);
            extra.remove(u"BROWSER"_s);
            extra.remove(u"DEFAULT_BROWSER"_s);
        } else {
            extra.insert(u"PATH"_s, bin + u':' + qEnvironmentVariable("PATH"));
        }

        if (fault.region != nullptr) {
            extra.insert(u"LC_ALL"_s, QString::fromLatin1(fault.region));
            extra.insert(u"LANG"_s, QString::fromLatin1(fault.region));
        }
        ASSERT_NO_FATAL_FAILURE(startProgram(QStringLiteral(VOKARI_PROGRAM), extra));
    }

    void TearDown() override
    {
        // A program closed by the test has not ended by itself.
        if (m_closed)
            m_app.reset();
        ProgramTest::TearDown();
        m_app.reset();
        QFile pid(m_openerPid);
        if (pid.open(QIODevice::ReadOnly)) {
            const int id = pid.readAll().trimmed().toInt();
            if (id > 0)
                kill(id, SIGKILL);
        }
        if (m_stuckSocket >= 0)
            close(m_stuckSocket);
    }

    // A sound server that lets clients connect and never says a word, as a hung one does.
    void listenWithoutAnswering(const QString& path)
    {
        m_stuckSocket = socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(m_stuckSocket, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = path.toUtf8();
        ASSERT_LT(std::size_t(name.size()), sizeof address.sun_path);
        std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
        ASSERT_EQ(bind(m_stuckSocket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(listen(m_stuckSocket, 8), 0);
    }

    // A stand-in on the program's PATH that logs the time and its arguments; a hanging one then
    // sleeps on with its output closed, so it holds nobody's pipe. Tools by full path, since a
    // row's PATH may hold nothing else.
    void writeScript(const QString& name, const char* word, bool hang)
    {
        const QByteArray date = QStandardPaths::findExecutable(u"date"_s).toUtf8();
        const QByteArray sleep = QStandardPaths::findExecutable(u"sleep"_s).toUtf8();
        ASSERT_FALSE(date.isEmpty() || sleep.isEmpty());
        QByteArray body = "#!/bin/sh\n";
        if (hang)
            body += "echo $$ > '" + m_openerPid.toUtf8() + "'\n";
        body += "echo \"$(" + date + " +%s%3N) " + word + " $*\" >> '" + m_log.toUtf8() + "'\n";
        if (hang)
            body += "exec " + sleep + " 600 </dev/null >/dev/null 2>&1\n";
        QFile script(m_dir.filePath(u"bin/"_s + name));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(body);
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Clicks the add button and says how long the counter took to show `seconds`; -1: never.
    qint64 addAnswersWith(int seconds)
    {
        const QString expected = u"%1"_s.arg(seconds, 6, 10, QLatin1Char('0'));
        QElapsedTimer clock;
        clock.start();
        if (!clickIn(m_main, MainWindowScreen::addButton()))
            return -1;
        const bool shown = waitUntil(
            [&] { return MainWindowScreen::counter(mainImage()) == expected; }, kAnswerMs, 10);
        return shown ? clock.elapsed() : -1;
    }

    QImage clockLine() const
    {
        return m_server.grab(kClockLineArea.translated(m_main.geometry.topLeft()));
    }

    static inline ChildProcesses::PrivateBus* s_bus = nullptr;
    static inline ChildProcesses::PrivatePulse* s_pulse = nullptr;
    static inline QString s_why;

    QTemporaryDir m_dir;
    QString m_log;
    QString m_openerPid;
    std::unique_ptr<FakeLogind> m_logind;
    int m_stuckSocket = -1;
    bool m_closed = false;
};

TEST_P(FaultsE2E, CompletionRunsOnAndTheProgramStillCloses)
{
    const Fault& fault = GetParam();

    // The clock line trades its start-up placeholder for the date and time, then moves on with
    // the seconds, whatever the region.
    ASSERT_TRUE(waitUntil([&] { return census(clockLine()).litBounds.width() > kPlaceholderWidth; },
                          kTimeoutMs))
        << "the clock line shows no date and time";
    const QImage firstClock = clockLine();
    EXPECT_TRUE(waitUntil([&] { return clockLine() != firstClock; }, 2500))
        << "the clock line stands still";

    ASSERT_NO_FATAL_FAILURE(tickActions({.program = u"vk-prog"_s, .url = u"http://u.test/x"_s}));
    ASSERT_NO_FATAL_FAILURE(setCountdownSeconds(2));
    ASSERT_TRUE(clickIn(m_main, MainWindowScreen::startButton()));
    ASSERT_TRUE(m_server.findWindow(u"信息"_s, kTimeoutMs).isValid())
        << "the message window did not appear";

    // The program runs before the alarm; the first play follows it at once.
    ASSERT_TRUE(waitUntil([&] { return !readLog(m_log).empty(); }, kTimeoutMs))
        << "the program never ran";
    const qint64 programAt = readLog(m_log).front().at;
    EXPECT_GE(addAnswersWith(60), 0) << "the add button did not answer as the alarm began";
    waitUntil([&] { return now() >= programAt + 1500; }, 2000);
    EXPECT_GE(addAnswersWith(120), 0) << "the add button did not answer during the alarm";

    // The step after the alarm: the URL where an opener logs it, else the power-off request.
    const bool urlLogged = fault.opener != Opener::Missing;
    qint64 powerOffAt = 0;
    if (m_logind) {
        ASSERT_TRUE(waitUntil(
            [&] {
                if (m_logind->sessionEndCalls().isEmpty())
                    return false;
                powerOffAt = now();
                return true;
            },
            kTimeoutMs, 10))
            << "no session-end request reached the login manager";
    }
    if (urlLogged) {
        ASSERT_TRUE(waitUntil([&] { return readLog(m_log).size() >= 2; }, kTimeoutMs))
            << "the URL was never opened";
    }
    const std::vector<Logged> runs = readLog(m_log);
    const qint64 afterAlarmAt = urlLogged ? runs.at(1).at : powerOffAt;
    EXPECT_GE(afterAlarmAt - programAt, kAlarmMinMs) << "the alarm's pauses were cut short";
    EXPECT_LE(afterAlarmAt - programAt, kAlarmMaxMs) << "the alarm held the next step back";
    if (urlLogged && m_logind) {
        EXPECT_GE(powerOffAt, runs.at(1).at - kLogSlackMs) << "the session end comes last";
        EXPECT_LE(powerOffAt - runs.at(1).at, kUrlToPowerOffMaxMs)
            << "the session end waited for the opener";
    }

    // With the request answered, refused or still out, the windows answer.
    EXPECT_GE(addAnswersWith(180), 0) << "the add button did not answer after the alarm";
    ASSERT_TRUE(m_app->isRunning()) << "the program ended after the completion";

    const qint64 closedAt = now();
    ASSERT_TRUE(clickIn(m_main, MainWindowScreen::closeGlyphArea().center()));
    m_closed = true;
    ASSERT_TRUE(m_app->waitForExit(kTimeoutMs)) << "the program did not end when closed";
    EXPECT_LT(now() - closedAt, fault.login == Login::Silent ? kCloseMaxMs : kPromptCloseMaxMs)
        << "closing took too long";
    EXPECT_EQ(m_app->exitStatus(), QProcess::NormalExit) << "the program crashed on closing";
    EXPECT_EQ(m_app->exitCode(), 0);

    // Each step ran once: the program, then the URL where an opener exists; one request.
    QStringList logged;
    for (const Logged& run : readLog(m_log))
        logged.append(run.what);
    QStringList expected{u"program "_s};
    if (urlLogged)
        expected.append(u"url http://u.test/x"_s);
    EXPECT_EQ(logged, expected);
    if (m_logind) {
        EXPECT_EQ(m_logind->sessionEndCalls(), QStringList{u"PowerOff interactive=false"_s});
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultsE2E, testing::ValuesIn(kFaults),
                         [](const testing::TestParamInfo<Fault>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
