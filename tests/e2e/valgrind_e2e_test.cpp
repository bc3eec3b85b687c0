// Vokari under valgrind's memcheck for a minute of looping completions: a two-second loop that
// shows the message and plays the built-in alarm twice each time, set up through the real
// dialogs and ended through the close glyph. No memory error may be reported, and no definitely
// lost block may have been allocated through our own code. Sound plays into a private
// PulseAudio null sink, so the sound thread's real work is checked too; both buses are a private
// daemon, so nothing reaches the machine's.
#include "childprocesses.h"
#include "mainwindowscreen.h"
#include "programtest.h"
#include "soundcheck.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>
#include <vector>

using namespace e2e;
using namespace Qt::StringLiterals;

namespace {

// Under memcheck the program runs some twenty to fifty times slower.
constexpr int kSlowMs = 60000;
constexpr int kRunMs = 60000;
// Leak checking a Qt program's heap takes a while on top of the slowed shutdown.
constexpr int kExitMs = 90000;

// What a memcheck log says, with valgrind's "==pid== " prefixes gone.
struct MemcheckLog
{
    QStringList summary;    // the error count and the leak summary
    QStringList ourLeaks;   // definitely-lost records with a frame in our sources or binaries
    QString withoutSuggest; // the log less the suppressions it suggests, for a failure message
};

// A frame is ours if its line information names a file under `sourceDir` (full paths are asked
// for) or, lacking it, its object is one of the files in `programDir`.
MemcheckLog readMemcheckLog(const QString& path, const QString& sourceDir,
                            const QString& programDir)
{
    MemcheckLog log;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return log;
    QStringList lines;
    bool inSuggestion = false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        QString line = QString::fromUtf8(raw);
        if (line.startsWith(u"=="_s)) {
            const qsizetype end = line.indexOf(u"== "_s, 2);
            line = end < 0 ? QString() : line.mid(end + 3);
        } else {
            // The suggested suppressions are the only unprefixed lines.
            if (line == u"{"_s)
                inSuggestion = true;
            const bool last = line == u"}"_s;
            if (inSuggestion) {
                inSuggestion = !last;
                continue;
            }
        }
        lines.append(line);
        log.withoutSuggest += line + u'\n';
    }

    const QString ourSource = u'(' + sourceDir + u'/';
    const QString ourObject = u"(in "_s + programDir + u'/';
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.startsWith(u"ERROR SUMMARY:"_s) || line.contains(u"definitely lost:"_s) ||
            line.contains(u"indirectly lost:"_s) || line.contains(u"possibly lost:"_s))
            log.summary.append(line.trimmed());
        if (!line.contains(u"are definitely lost in loss record"_s))
            continue;
        QString record = line;
        bool ours = false;
        for (qsizetype j = i + 1; j < lines.size() && !lines[j].trimmed().isEmpty(); ++j) {
            record += u'\n' + lines[j];
            ours = ours || lines[j].contains(ourSource) || lines[j].contains(ourObject);
        }
        if (ours)
            log.ourLeaks.append(record);
    }
    return log;
}

// How many separate sounds the recording holds: loud stretches apart by at least 300 ms.
int countSounds(const std::vector<qint16>& samples, int rate)
{
    const std::size_t gap = std::size_t(rate) * 3 / 10;
    int sounds = 0;
    std::size_t lastLoud = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(int(samples[i])) < SoundCheck::kLoud)
            continue;
        if (sounds == 0 || i - lastLoud > gap)
            ++sounds;
        lastLoud = i;
    }
    return sounds;
}

class ValgrindE2E : public ProgramTest
{
protected:
    void SetUp() override
    {
        m_valgrind = QStandardPaths::findExecutable(u"valgrind"_s);
        ASSERT_FALSE(m_valgrind.isEmpty()) << "valgrind is not installed (Debian package valgrind)";
        ASSERT_TRUE(m_logDir.isValid());
        const QString busWhy = m_bus.start();
        ASSERT_TRUE(busWhy.isEmpty()) << busWhy.toStdString();
        const QString pulseWhy = m_pulse.start();
        ASSERT_TRUE(pulseWhy.isEmpty()) << pulseWhy.toStdString();
        ASSERT_TRUE(m_server.isReady()) << m_server.errorString().toStdString();

        QProcessEnvironment extra = m_pulse.clientEnvironment();
        extra.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, m_bus.address());
        extra.insert(u"DBUS_SYSTEM_BUS_ADDRESS"_s, m_bus.address());
        const QStringList memcheck = {
            m_valgrind,
            u"--tool=memcheck"_s,
            u"--leak-check=full"_s,
            u"--errors-for-leak-kinds=definite"_s,
            u"--error-exitcode=99"_s,
            u"--suppressions="_s + QStringLiteral(VOKARI_VALGRIND_SUPPRESSIONS),
            u"--gen-suppressions=all"_s,
            // Full source paths tell our frames from the system's.
            u"--fullpath-after="_s,
            // A forked helper's copy of the heap is not the program's to answer for.
            u"--child-silent-after-fork=yes"_s,
            // Deep enough to reach our frames under Qt's event loop and dispatch.
            u"--num-callers=40"_s,
            u"--log-file="_s + logPath(),
        };
        m_app = std::make_unique<AppProcess>(m_server, QStringLiteral(VOKARI_PROGRAM),
                                             QStringList(), extra, memcheck);
        ASSERT_TRUE(m_app->errorString().isEmpty()) << m_app->errorString().toStdString();
        m_main = m_server.findWindow(u"Vokari"_s, kSlowMs);
        ASSERT_TRUE(m_main.isValid()) << "no window titled Vokari appeared under valgrind";
    }

    void TearDown() override
    {
        if (HasFailure() && QFile::exists(logPath())) {
            m_logDir.setAutoRemove(false); // the whole log, suggested suppressions included
            std::cout << "memcheck log kept at " << logPath().toStdString() << '\n';
        }
        // The program is meant to have ended by now; ProgramTest would take that for a fault.
        if (m_app != nullptr && !m_app->isRunning())
            m_app.reset();
        ProgramTest::TearDown();
    }

    QString logPath() const { return m_logDir.filePath(u"memcheck.log"_s); }

    QString m_valgrind;
    QTemporaryDir m_logDir;
    ChildProcesses::PrivateBus m_bus;
    ChildProcesses::PrivatePulse m_pulse;
};

TEST_F(ValgrindE2E, MinuteOfLoopingCompletionsHasNoMemoryErrorAndLeaksNothingOfOurs)
{
    // Message, two plays of the built-in alarm (ticked from the start), and the loop.
    ASSERT_TRUE(clickIn(m_main, MainWindowScreen::actionsButton()));
    const WindowInfo actions = m_server.findWindow(u"操作"_s, kSlowMs);
    ASSERT_TRUE(actions.isValid()) << "the action dialog did not appear";
    ASSERT_TRUE(clickIn(actions, ActionsScreen::messageBox()));
    ASSERT_TRUE(replaceText(actions, {280 + 12, 48 + 10}, u"2"_s)); // repeat count
    ASSERT_TRUE(clickIn(actions, {20 + 30, 391 + 8}));              // loop
    ASSERT_TRUE(clickIn(actions, ActionsScreen::closeButton()));
    ASSERT_TRUE(waitGone(u"操作"_s, kSlowMs)) << "the action dialog did not close";

    ASSERT_NO_FATAL_FAILURE(setCountdownSeconds(2, kSlowMs));
    ASSERT_EQ(m_pulse.startRecording(), QString());
    ASSERT_TRUE(clickIn(m_main, MainWindowScreen::startButton()));

    ASSERT_TRUE(m_server.findWindow(u"信息"_s, kSlowMs).isValid())
        << "the message window did not appear";
    QThread::msleep(kRunMs);
    ASSERT_TRUE(m_app->isRunning()) << "the program ended during the run";
    // One completion plays two sounds; more show the loop went on.
    const int sounds = countSounds(m_pulse.recording(), m_pulse.kRate);
    EXPECT_GE(sounds, 3) << "the loop did not keep completing";

    ASSERT_TRUE(clickIn(m_main, MainWindowScreen::closeGlyphArea().center()));
    ASSERT_TRUE(m_app->waitForExit(kExitMs)) << "the program did not end after its close glyph";

    const MemcheckLog log =
        readMemcheckLog(logPath(), QStringLiteral(VOKARI_SOURCE_DIR),
                        QFileInfo(QStringLiteral(VOKARI_PROGRAM)).absolutePath());
    std::cout << "memcheck, " << sounds << " sounds heard:\n";
    for (const QString& line : log.summary)
        std::cout << "  " << line.toStdString() << '\n';
    ASSERT_FALSE(log.summary.isEmpty()) << "no memcheck summary in " << logPath().toStdString();
    EXPECT_EQ(m_app->exitStatus(), QProcess::NormalExit);
    if (m_app->exitCode() == 99)
        ADD_FAILURE() << "memcheck reported errors:\n"
                      << log.withoutSuggest.right(30000).toStdString();
    else
        EXPECT_EQ(m_app->exitCode(), 0);
    EXPECT_TRUE(log.ourLeaks.isEmpty()) << log.ourLeaks.join(u"\n\n"_s).toStdString();
}

} // namespace
