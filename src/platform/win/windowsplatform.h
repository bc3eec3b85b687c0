#pragma once

#include "platform/platform.h"
#include "platform/win/win32services.h"
#include "platform/win/win32taskbar.h"

// The Windows backend: turns Qt types into the wide-character services and leaves the window
// work to the toolkit.
class WindowsPlatform final : public Platform
{
public:
    explicit WindowsPlatform(const win32::Api& api = win32::systemApi()) : m_services(api) {}

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
    win32::Services m_services;
    win32::Taskbar m_taskbar;
};
