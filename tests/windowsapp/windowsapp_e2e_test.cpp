// The Windows program a user downloads, run as that user would run it: the zip unpacked into a
// temporary folder and its vokari.exe started under Wine, in a private prefix, on a private X
// server managed by openbox, with a private PulseAudio null sink recorded back through Wine's
// sound driver. A web address goes from Wine to the host's opener, which here is a stand-in that
// logs it.
#include "childprocesses.h"
#include "mainwindowscreen.h"
#include "pixelcensus.h"
#include "programtest.h"
#include "soundcheck.h"
#include "windowmanager.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>
#include <utility>

using namespace e2e;
using namespace Qt::StringLiterals;

namespace {

constexpr double kSound1Hz = 1472.5;
// Wine starts a program in a fresh prefix more slowly than Linux starts the Linux one.
constexpr int kWineStartMs = 60000;

// Runs a helper to its end; empty on success, else its output.
QString run(const QString& program, const QStringList& arguments, int timeoutMs,
            const QString& directory = QString())
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(directory);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        return program + u" failed: "_s + QString::fromLocal8Bit(process.readAll());
    }
    return {};
}

class WindowsAppE2E : public ProgramTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        const QString app = m_dir.filePath(u"app"_s);
        ASSERT_TRUE(QDir().mkpath(app));
        ASSERT_EQ(run(u"cmake"_s, {u"-E"_s, u"tar"_s, u"xf"_s, QStringLiteral(VOKARI_WINDOWS_ZIP)},
                      30000, app),
                  QString());
        m_prefix = m_dir.filePath(u"prefix"_s);
        ASSERT_EQ(run(QStringLiteral(VOKARI_WINE_PREFIX_SCRIPT), {m_prefix}, 120000), QString());

        const QString pulseWhy = m_pulse.start();
        ASSERT_TRUE(pulseWhy.isEmpty()) << pulseWhy.toStdString();
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"bin"_s));
        m_log = m_dir.filePath(u"runs.log"_s);
        QFile opener(m_dir.filePath(u"bin/xdg-open"_s));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\necho \"$(date +%s%3N) url $*\" >> '" + m_log.toUtf8() + "'\n");
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QProcessEnvironment extra = m_pulse.clientEnvironment();
        extra.insert(u"WINEPREFIX"_s, m_prefix);
        extra.insert(u"HOME"_s, m_prefix + u".home"_s);
        extra.insert(u"WINEDEBUG"_s, u"-all"_s);
        extra.insert(u"WINEDLLOVERRIDES"_s, u"mscoree,mshtml,winemenubuilder.exe="_s);
        // Wine hands the environment on: the Windows Qt must not look for the xcb platform.
        extra.insert(u"QT_QPA_PLATFORM"_s, u"windows"_s);
        extra.insert(u"PATH"_s, m_dir.filePath(u"bin"_s) + u':' + qEnvironmentVariable("PATH"));
        // A desktop's window manager, which minimises and restores as its taskbar asks.
        m_manager = std::make_unique<WindowManager>(m_server);
        ASSERT_TRUE(m_manager->isReady()) << m_manager->errorString().toStdString();
        ASSERT_NO_FATAL_FAILURE(
            startProgram(app + u"/vokari.exe"_s, extra, {u"wine"_s}, kWineStartMs));
    }

    void TearDown() override
    {
        ProgramTest::TearDown();
        m_app.reset();
        if (m_prefix.isEmpty())
            return;
        // Wine's own services outlive the program by a few seconds; end them with the prefix.
        QProcess server;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"WINEPREFIX"_s, m_prefix);
        server.setProcessEnvironment(environment);
        server.start(u"wineserver"_s, {u"-k"_s});
        server.waitForFinished(10000);
    }

    PixelCensus waitForCensus(const QRect& area,
                              const std::function<bool(const PixelCensus&)>& done)
    {
        PixelCensus seen;
        waitUntil(
            [&] {
                seen = census(mainImage().copy(area));
                return done(seen);
            },
            kTimeoutMs);
        return seen;
    }

    QTemporaryDir m_dir;
    QString m_prefix;
    QString m_log;
    ChildProcesses::PrivatePulse m_pulse;
    std::unique_ptr<WindowManager> m_manager;
};

TEST_F(WindowsAppE2E, ACountdownSetWithThePointerCompletesWithMessageAlarmAndUrl)
{
    // The window: its red digits read back once it has painted, its size, its corners cut by
    // the region.
    EXPECT_EQ(waitForReadout(u"00:00:00"_s).toStdString(), "00:00:00");
    EXPECT_EQ(waitForCounter(u"000000"_s).toStdString(), "000000");
    const QImage window = mainImage();
    ASSERT_EQ(window.size(), QSize(351, 347));
    const QRgb root = m_server.grab(QRect(0, 0, 1, 1)).pixel(0, 0);
    for (QPoint corner : {QPoint(0, 0), QPoint(350, 0), QPoint(0, 346), QPoint(350, 346)})
        EXPECT_EQ(window.pixel(corner), root)
            << "the window covers its corner at " << corner.x() << "," << corner.y();
    EXPECT_NE(window.pixel(30, 30), root);

    // A picture button turns red under the pointer, and its hint appears.
    const QRect button = MainWindowScreen::addButtonArea();
    EXPECT_GT(census(window.copy(button)).iconGrey, 0) << "the add button is not drawn";
    ASSERT_TRUE(m_server.moveTo(m_main.geometry.topLeft() + MainWindowScreen::addButton()));
    EXPECT_GT(waitForCensus(button, [](const PixelCensus& c) { return c.red > 0; }).red, 0)
        << "the add button did not light up";
    EXPECT_GT(waitForCensus(MainWindowScreen::hintLineArea(),
                            [](const PixelCensus& c) { return c.red > 0; })
                  .red,
              0)
        << "no hint appeared";

    // A message of 40 characters, the alarm twice and a URL; power off stays unticked, as under
    // Wine it would end the prefix's session.
    const QString text = u"VOKARI-UNDER-WINE-"_s.repeated(2) + u"DONE"_s;
    ASSERT_NO_FATAL_FAILURE(tickActions(
        {.message = text, .repeats = 2, .url = u"http://example.test/wine"_s, .powerOff = false}));
    ASSERT_NO_FATAL_FAILURE(setCountdownSeconds(3, kWineStartMs));
    ASSERT_EQ(m_pulse.startRecording(), QString());
    ASSERT_TRUE(clickIn(m_main, MainWindowScreen::startButton()));

    const WindowInfo message = m_server.findWindow(u"信息"_s, kTimeoutMs);
    ASSERT_TRUE(message.isValid()) << "the message window did not appear";
    // The typed text fills most of the field's width; the default "信息:" would not.
    const QRect field(17 + 4, 25 + 4, 561 - 8, 54 - 8);
    PixelCensus ink;
    waitUntil(
        [&] {
            ink = census(m_server.grab(message.geometry).copy(field));
            return ink.litBounds.width() > 200;
        },
        kTimeoutMs);
    EXPECT_GT(ink.litBounds.width(), 200) << "the message field does not show the text: " << ink;

    // The URL reaches the desktop once the alarm has played.
    std::vector<Logged> runs;
    ASSERT_TRUE(waitUntil(
        [&] {
            runs = readLog(m_log);
            return !runs.empty();
        },
        kTimeoutMs))
        << "no URL reached the desktop's opener";
    EXPECT_EQ(runs.front().what, u"url http://example.test/wine"_s);

    // Two tones of built-in sound 1, a second apart, through Wine's sound driver.
    const std::vector<qint16> samples = m_pulse.recording();
    const std::vector<std::size_t> tones = SoundCheck::onsets(samples, m_pulse.kRate);
    ASSERT_EQ(tones.size(), 2u) << "recorded " << samples.size() << " samples";
    EXPECT_NEAR(SoundCheck::pitch(samples, tones[0], tones[0] + std::size_t(m_pulse.kRate) / 10,
                                  m_pulse.kRate),
                kSound1Hz, 40);
    EXPECT_NEAR(SoundCheck::milliseconds(tones[1] - tones[0], m_pulse.kRate), 1000, 150);

    // The taskbar minimises the main window and the message window, which it owns, goes with it;
    // restoring the main window brings both back.
    const auto shown = [&](const WindowInfo& window, const QString& title) {
        return m_server.findWindow(title, 0).isValid() && !m_manager->isIconic(window.id);
    };
    const auto showing = [&] {
        return std::pair(shown(m_main, u"Vokari"_s), shown(message, u"信息"_s));
    };
    ASSERT_TRUE(m_manager->minimise(m_main.id));
    waitUntil([&] { return showing() == std::pair(false, false); }, kTimeoutMs);
    EXPECT_EQ(showing(), std::pair(false, false)) << "(main, message) shown after minimising";
    ASSERT_TRUE(m_manager->activate(m_main.id));
    waitUntil([&] { return showing() == std::pair(true, true); }, kTimeoutMs);
    ASSERT_EQ(showing(), std::pair(true, true)) << "(main, message) shown after restoring";
    m_main = m_server.findWindow(u"Vokari"_s);

    // The close glyph ends the program.
    ASSERT_TRUE(clickIn(m_main, MainWindowScreen::closeGlyphArea().center()));
    EXPECT_TRUE(m_app->waitForExit(kTimeoutMs)) << "the close glyph did not end the program";
    m_app.reset();
}

} // namespace
