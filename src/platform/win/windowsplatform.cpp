#include "platform/win/windowsplatform.h"

#include "platform/toolkit.h"

#include <QDate>
#include <QTime>
#include <QWidget>

namespace {

// The handle of the owner's top-level window; asking a child for its handle would make it a
// native window of its own.
HWND windowHandle(QWidget* owner)
{
    return owner ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
}

} // namespace

void WindowsPlatform::openTarget(const QString& target, QWidget* owner)
{
    m_services.openTarget(target.toStdWString(), windowHandle(owner));
}

void WindowsPlatform::playBuiltInSound(int id)
{
    m_services.playBuiltInSound(id);
}

void WindowsPlatform::playSoundNamed(const QString& name)
{
    m_services.playSoundNamed(name.toStdWString());
}

void WindowsPlatform::ExitWindowsSession(SessionEnd how)
{
    // ExitWindowsEx answers at once; its result is not looked at.
    m_services.endSession(win32::exitWindowsFlags(how));
}

void WindowsPlatform::holdIdleSleep(bool hold)
{
    m_services.holdIdleSleep(hold);
}

void WindowsPlatform::afterPendingRequests(std::function<void()> then)
{
    // Nothing is ever left pending: the system took the request before the call returned.
    then();
}

std::uint32_t WindowsPlatform::tickCount()
{
    return m_services.tickCount();
}

SleepClocks WindowsPlatform::clocks()
{
    return {m_services.awakeMs(), m_services.uptimeMs()};
}

QDateTime WindowsPlatform::localDateTime()
{
    const SYSTEMTIME now = m_services.localTime();
    return QDateTime(QDate(now.wYear, now.wMonth, now.wDay),
                     QTime(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds));
}

QString WindowsPlatform::shortDatePattern()
{
    return QString::fromStdWString(m_services.shortDatePattern());
}

QString WindowsPlatform::timePattern()
{
    return QString::fromStdWString(m_services.timePattern());
}

std::optional<QString> WindowsPlatform::chooseFile(FileKind kind, const QString& previous,
                                                   QWidget* owner)
{
    if (kind == FileKind::Sound)
        return Toolkit::chooseFile(QStringLiteral("WAV 声音文件 (*.WAV)"), false, previous, owner);
    return Toolkit::chooseFile(QStringLiteral("可执行文件 (*.exe)"), true, previous, owner);
}

void WindowsPlatform::minimiseApplication()
{
    Toolkit::minimiseApplication();
}

void WindowsPlatform::restoreApplication()
{
    Toolkit::restoreApplication();
}

void WindowsPlatform::showOnTaskbar(const TaskbarView& view, QWidget* window)
{
    m_taskbar.show(view, window);
}

void WindowsPlatform::processPendingEvents()
{
    Toolkit::processPendingEvents();
}

bool WindowsPlatform::waitForEvents(int ms)
{
    return Toolkit::waitForEvents(ms);
}
