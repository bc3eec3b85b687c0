#pragma once

#include "platform/linux/launcher.h"
#include "platform/platform.h"

#include <QDBusConnection>

#include <functional>
#include <memory>

class DesktopInhibitor;
class LogindSession;
class SoundService;

// The freedesktop/Linux backend: programs and documents through the desktop's opener, sounds
// through Qt Multimedia, session ends through logind on `bus` (the system bus in the program,
// a private one in tests), the desktop's suspend inhibitors on `sessionBus`, patterns from the
// system locale. The sound thread and the bus connections are made at their first use: most
// runs never end the session, and a program that has not sounded an alarm yet needs neither a
// thread nor its memory.
class LinuxPlatform final : public Platform
{
public:
    // `soundModule` names the sound module to load; empty: the one installed with the program.
    LinuxPlatform(std::function<QDBusConnection()> bus, std::function<QDBusConnection()> sessionBus,
                  Launcher launcher = Launcher(), QString soundModule = QString());
    // Without a session bus: the desktop is never asked, as a test's platform must not reach
    // the desktop it runs on.
    explicit LinuxPlatform(std::function<QDBusConnection()> bus, Launcher launcher = Launcher(),
                           QString soundModule = QString());
    explicit LinuxPlatform(const QDBusConnection& bus, Launcher launcher = Launcher(),
                           QString soundModule = QString());
    ~LinuxPlatform() override;

    void openTarget(const QString& target, QWidget* owner) override;
    void playBuiltInSound(int id) override;
    void playSoundNamed(const QString& name) override;
    void ExitWindowsSession(SessionEnd how) override;
    void holdIdleSleep(bool hold) override;
    void afterPendingRequests(std::function<void()> then) override;
    std::uint32_t tickCount() override;
    SleepClocks clocks() override;
    QDateTime localDateTime() override;
    QString shortDatePattern() override;
    QString timePattern() override;
    std::optional<QString> chooseFile(FileKind kind, const QString& previous,
                                      QWidget* owner) override;
    void minimiseApplication() override;
    void restoreApplication() override;
    void showOnTaskbar(const TaskbarView& view, QWidget* window) override;
    void processPendingEvents() override;
    bool waitForEvents(int ms) override;

private:
    SoundService& sound();

    std::function<QDBusConnection()> m_bus;
    std::function<QDBusConnection()> m_sessionBus;
    Launcher m_launcher;
    QString m_soundModule;
    std::unique_ptr<SoundService> m_sound;
    std::unique_ptr<LogindSession> m_session;
    std::unique_ptr<DesktopInhibitor> m_desktop;
};

// The name filter and executables-only switch of the file choice for `kind`.
struct FileChoice
{
    QString filter;
    bool executablesOnly = false;
};
FileChoice fileChoiceFor(FileKind kind);
