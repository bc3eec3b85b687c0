#pragma once

#include "platform/linux/launcher.h"
#include "platform/platform.h"

#include <memory>

class LogindSession;
class QDBusConnection;
class SoundPlayer;

// The freedesktop/Linux backend: programs and documents through the desktop's opener, sounds
// through Qt Multimedia, session ends through logind on `bus` (the system bus in the program,
// a private one in tests), patterns from the system locale.
class LinuxPlatform final : public Platform
{
public:
    explicit LinuxPlatform(const QDBusConnection& bus, Launcher launcher = Launcher());
    ~LinuxPlatform() override;

    void openTarget(const QString& target, QWidget* owner) override;
    void playBuiltInSound(int id) override;
    void playSoundNamed(const QString& name) override;
    void ExitWindowsSession(SessionEnd how) override;
    void afterPendingRequests(std::function<void()> then) override;
    std::uint32_t tickCount() override;
    QDateTime localDateTime() override;
    QString shortDatePattern() override;
    QString timePattern() override;
    std::optional<QString> chooseFile(FileKind kind, const QString& previous,
                                      QWidget* owner) override;
    void minimiseApplication() override;
    void restoreApplication() override;
    void processPendingEvents() override;
    bool waitForEvents(int ms) override;

private:
    Launcher m_launcher;
    std::unique_ptr<SoundPlayer> m_sound;
    std::unique_ptr<LogindSession> m_session;
};

// The name filter and executables-only switch of the file choice for `kind`.
struct FileChoice
{
    QString filter;
    bool executablesOnly = false;
};
FileChoice fileChoiceFor(FileKind kind);
