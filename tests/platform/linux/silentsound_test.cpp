#include "assets/assettable.h"
#include "childprocesses.h"
#include "platform/linux/linuxplatform.h"
#include "platform/linux/soundplayer.h"
#include "soundcheck.h"

#include <QApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Each suite needs a process of its own: the audio library opens its server connection once per
// process. CTest runs them apart (see CMakeLists.txt).
namespace {

constexpr qint64 kPromptMs = 100;

struct Play
{
    const char* name;
    std::function<void(Platform&)> play;
};

std::vector<Play> everyKindOfPlay(const QString& soundFile)
{
    return {
        {"built-in 1", [](Platform& p) { p.playBuiltInSound(1); }},
        {"built-in 2", [](Platform& p) { p.playBuiltInSound(2); }},
        {"built-in 3", [](Platform& p) { p.playBuiltInSound(3); }},
        {"unknown built-in", [](Platform& p) { p.playBuiltInSound(0); }},
        {"file", [=](Platform& p) { p.playSoundNamed(soundFile); }},
        {"missing file", [](Platform& p) { p.playSoundNamed(u"/nonexistent/x.wav"_s); }},
        {"no name", [](Platform& p) { p.playSoundNamed(QString()); }},
    };
}

void expectEveryPlayPrompt(Platform& platform, const QString& soundFile)
{
    for (const Play& play : everyKindOfPlay(soundFile)) {
        QElapsedTimer clock;
        clock.start();
        play.play(platform);
        EXPECT_LT(clock.elapsed(), kPromptMs) << play.name << " kept the caller waiting";
    }
}

class SilentSound : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // Whatever the audio library makes of its cookie stays out of the real home.
        qputenv("PULSE_COOKIE", m_dir.filePath(u"cookie"_s).toUtf8());
        m_soundFile = m_dir.filePath(u"sound.wav"_s);
        QFile file(m_soundFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Assets::sound(2));
    }

    QTemporaryDir m_dir;
    QString m_soundFile;
};

using NoAudioServer = SilentSound;

TEST_F(NoAudioServer, PlaysReturnAtOnceAndAreDroppedQuietly)
{
    qputenv("PULSE_SERVER", "unix:/nonexistent/vokari-test/native");
    LinuxPlatform platform(QDBusConnection(u"unused"_s), Launcher(),
                           QStringLiteral(VOKARI_SOUND_MODULE));
    expectEveryPlayPrompt(platform, m_soundFile);

    SoundPlayer player(Assets::sound(1));
    player.playBytes(Assets::sound(1));
    player.playFile(m_soundFile);
    player.playFile(u"/nonexistent/x.wav"_s);
    EXPECT_TRUE(ChildProcesses::waitUntil([&] { return player.idle(); }, 5000))
        << "the sound thread never got through the requests";
    // Nothing was put on the screen about it.
    QApplication::processEvents();
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

TEST_F(NoAudioServer, ClosingEndsTheSoundThread)
{
    qputenv("PULSE_SERVER", "unix:/nonexistent/vokari-test/native");
    const int before = SoundCheck::soundThreads();
    {
        LinuxPlatform platform(QDBusConnection(u"unused"_s), Launcher(),
                               QStringLiteral(VOKARI_SOUND_MODULE));
        platform.playBuiltInSound(1);
        // The thread names itself once it runs.
        EXPECT_TRUE(ChildProcesses::waitUntil(
            [&] { return SoundCheck::soundThreads() == before + 1; }, 2000));
    }
    EXPECT_TRUE(
        ChildProcesses::waitUntil([&] { return SoundCheck::soundThreads() == before; }, 2000))
        << "the sound thread outlived its platform";
}

// A server that takes connections and never answers, as a hung one does.
class StuckAudioServer : public SilentSound
{
protected:
    void SetUp() override
    {
        SilentSound::SetUp();
        m_socket = socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(m_socket, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = m_dir.filePath(u"native"_s).toUtf8();
        ASSERT_LT(std::size_t(path.size()), sizeof address.sun_path);
        std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
        ASSERT_EQ(bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(listen(m_socket, 8), 0);
        qputenv("PULSE_SERVER", "unix:" + path);
    }
    void TearDown() override { hangUp(); }

    // Whether a client is waiting to be let in, as the sound thread will be.
    bool clientWaiting() const
    {
        pollfd waiting{m_socket, POLLIN, 0};
        return poll(&waiting, 1, 0) == 1 && (waiting.revents & POLLIN);
    }

    // Refuses the waiting clients, which frees whoever waited on the server.
    void hangUp()
    {
        if (m_socket >= 0)
            close(m_socket);
        m_socket = -1;
    }

    int m_socket = -1;
};

TEST_F(StuckAudioServer, PlaysReturnAtOnceAndClosingDoesNotHang)
{
    const int before = SoundCheck::soundThreads();
    auto platform = std::make_unique<LinuxPlatform>(QDBusConnection(u"unused"_s), Launcher(),
                                                    QStringLiteral(VOKARI_SOUND_MODULE));
    expectEveryPlayPrompt(*platform, m_soundFile);
    ASSERT_TRUE(ChildProcesses::waitUntil([&] { return clientWaiting(); }, 5000))
        << "the sound thread never called the server";

    QElapsedTimer clock;
    clock.start();
    platform.reset();
    // The stuck thread is left behind rather than waited for (the server would keep it 30 s).
    EXPECT_LT(clock.elapsed(), SoundPlayer::kShutdownWaitMs + 2000);

    hangUp();
    EXPECT_TRUE(
        ChildProcesses::waitUntil([&] { return SoundCheck::soundThreads() == before; }, 10000))
        << "the sound thread left behind never ended";
}

} // namespace
