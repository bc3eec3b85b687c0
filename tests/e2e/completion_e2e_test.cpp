// A countdown's completion as a new user meets it: set up through the real dialogs, then the
// message window, the program, three alarm tones a second apart, the URL and the power-off
// request, in that order. Sound goes to a private PulseAudio null sink that is recorded back; the
// program's system bus is a private one where a logind stand-in takes the request, so nothing
// is ever powered off; programs and URLs go to stand-in scripts that log when they ran.
#include "childprocesses.h"
#include "fakelogind.h"
#include "mainwindowscreen.h"
#include "programtest.h"
#include "soundcheck.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace e2e;
using namespace Qt::StringLiterals;

namespace {

constexpr double kSound1Hz = 1472.5;

// User plus system CPU seconds of a process so far.
double cpuSeconds(qint64 pid)
{
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // Fields after the command name, which ends with the last ')': utime and stime are the
    // 12th and 13th of them.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return double(fields.at(11).toLongLong() + fields.at(12).toLongLong()) /
           double(sysconf(_SC_CLK_TCK));
}

class CompletionE2E : public ProgramTest
{
protected:
    void SetUp() override
    {
        const QString busWhy = m_bus.start();
        ASSERT_TRUE(busWhy.isEmpty()) << busWhy.toStdString();
        m_logind = std::make_unique<FakeLogind>(m_bus.address());
        ASSERT_TRUE(m_logind->registered());
        const QString pulseWhy = m_pulse.start();
        ASSERT_TRUE(pulseWhy.isEmpty()) << pulseWhy.toStdString();

        // The desktop's opener and a program found by its bare name, both logging their runs.
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"bin"_s));
        m_log = m_dir.filePath(u"runs.log"_s);
        writeScript(u"bin/xdg-open"_s, "url");
        writeScript(u"bin/vokari-e2e-program"_s, "program");

        QProcessEnvironment extra = m_pulse.clientEnvironment();
        extra.insert(u"DBUS_SYSTEM_BUS_ADDRESS"_s, m_bus.address());
        // The desktop's inhibitors are asked on the session bus: the private one, where no
        // desktop answers, never the developer's own.
        extra.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, m_bus.address());
        extra.insert(u"PATH"_s, m_dir.filePath(u"bin"_s) + u':' + qEnvironmentVariable("PATH"));
        ASSERT_NO_FATAL_FAILURE(startProgram(QStringLiteral(VOKARI_PROGRAM), extra));
    }

    void writeScript(const QString& name, const char* word)
    {
        QFile script(m_dir.filePath(name));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QByteArray("#!/bin/sh\necho \"$(date +%s%3N) ") + word + " $*\" >> '" +
                     m_log.toUtf8() + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    ChildProcesses::PrivateBus m_bus;
    ChildProcesses::PrivatePulse m_pulse;
    std::unique_ptr<FakeLogind> m_logind;
    QTemporaryDir m_dir;
    QString m_log;
};

TEST_F(CompletionE2E, ThreeSecondCountdownCarriesOutEveryActionInOrder)
{
    // The actions: message, a program by bare name, the alarm three times, a URL, power off.
    ASSERT_NO_FATAL_FAILURE(tickActions({.message = u"tea is ready"_s,
                                         .program = u"vokari-e2e-program"_s,
                                         .url = u"http://example.test/done"_s}));

    // Three seconds, then start.
    ASSERT_NO_FATAL_FAILURE(setCountdownSeconds(3));
    ASSERT_EQ(m_pulse.startRecording(), QString());
    ASSERT_TRUE(clickIn(m_main, MainWindowScreen::startButton()));
    EXPECT_TRUE(waitUntil([&] { return m_logind->heldInhibitors() == 1; }, 2000))
        << "no idle inhibitor while a countdown that powers off runs";

    // The message window comes first, while the program has not run yet or has just run.
    const WindowInfo message = m_server.findWindow(u"信息"_s, kTimeoutMs);
    ASSERT_TRUE(message.isValid()) << "the message window did not appear";

    // During the alarm the window answers the pointer and the program sleeps.
    ASSERT_TRUE(waitUntil([&] { return !readLog(m_log).empty(); }, kTimeoutMs));
    const double cpuBefore = cpuSeconds(m_app->processId());
    const qint64 alarmStart = QDateTime::currentMSecsSinceEpoch();
    ASSERT_TRUE(clickIn(m_main, MainWindowScreen::addButton()));
    EXPECT_EQ(waitForCounter(u"000060"_s, 1500).toStdString(), "000060")
        << "the add button did not answer during the alarm";

    qint64 powerOffSeenAt = 0;
    ASSERT_TRUE(waitUntil(
        [&] {
            if (m_logind->sessionEndCalls().isEmpty())
                return false;
            powerOffSeenAt = QDateTime::currentMSecsSinceEpoch();
            return true;
        },
        kTimeoutMs, 10))
        << "no session-end request reached the login manager";
    const double alarmCpu = cpuSeconds(m_app->processId()) - cpuBefore;
    const double alarmWall = double(powerOffSeenAt - alarmStart) / 1000.0;
    EXPECT_EQ(m_logind->calls(),
              (QStringList{u"Inhibit idle Vokari Vokari: countdown will end the session block"_s,
                           u"PowerOff interactive=false"_s}));
    EXPECT_EQ(m_logind->heldAtSessionEnd(), 1) << "the idle inhibitor went before the power-off";
    EXPECT_TRUE(waitUntil([&] { return m_logind->heldInhibitors() == 0; }, 2000))
        << "the idle inhibitor outlived the completion";

    // Program first, then the URL after the three one-second pauses, then the power-off. The
    // opener stand-in runs as a process of its own and may write its line a moment after the
    // power-off arrives.
    std::vector<Logged> runs;
    waitUntil(
        [&] {
            runs = readLog(m_log);
            return runs.size() >= 2;
        },
        2000);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].what, u"program "_s);
    EXPECT_EQ(runs[1].what, u"url http://example.test/done"_s);
    const qint64 alarmMs = runs[1].at - runs[0].at;
    EXPECT_GE(alarmMs, 2900) << "the URL must wait for the whole alarm";
    EXPECT_LE(alarmMs, 3600);
    // The stand-in logs once it has started, which under load lags the program's request by a
    // moment; the power-off follows the URL at once, so it must come no earlier than that.
    EXPECT_GE(powerOffSeenAt + 500, runs[1].at) << "the session end comes last";
    EXPECT_LT(alarmCpu, 0.25 * alarmWall)
        << alarmCpu << " s of CPU in " << alarmWall << " s of alarm";

    // Three tones of built-in sound 1, a second apart.
    const std::vector<qint16> samples = m_pulse.recording();
    const std::vector<std::size_t> tones = SoundCheck::onsets(samples, m_pulse.kRate);
    ASSERT_EQ(tones.size(), 3u) << "recorded " << samples.size() << " samples";
    for (std::size_t t = 0; t < tones.size(); ++t) {
        const double hz = SoundCheck::pitch(
            samples, tones[t], tones[t] + std::size_t(m_pulse.kRate) / 10, m_pulse.kRate);
        EXPECT_NEAR(hz, kSound1Hz, 40) << "tone " << t;
        if (t > 0) {
            const double apart = SoundCheck::milliseconds(tones[t] - tones[t - 1], m_pulse.kRate);
            EXPECT_NEAR(apart, 1000, 80) << "tones " << t - 1 << " and " << t;
        }
    }
}

} // namespace
