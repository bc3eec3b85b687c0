#include "platform/linux/linuxplatform.h"

#include "assets/assettable.h"
#include "platform/linux/desktopinhibitor.h"
#include "platform/linux/localepatterns.h"
#include "platform/linux/logindsession.h"
#include "platform/linux/soundservice.h"
#include "platform/toolkit.h"

#include <QDBusMessage>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLocale>
#include <QWindow>

#include <ctime>
#include <utility>

namespace {

std::int64_t millisecondsOf(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

// The X window id of the main window, by which the desktop names who holds it awake; 0 where
// there is none to give (not on X, or no window shown).
quint32 mainWindowX11Id()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return 0;
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->isVisible() && !window->transientParent() && window->type() == Qt::Window)
            return static_cast<quint32>(window->winId());
    }
    return 0;
}

} // namespace

LinuxPlatform::LinuxPlatform(std::function<QDBusConnection()> bus,
                             std::function<QDBusConnection()> sessionBus, Launcher launcher,
                             QString soundModule)
    : m_bus(std::move(bus)), m_sessionBus(std::move(sessionBus)), m_launcher(std::move(launcher)),
      m_soundModule(std::move(soundModule))
{}

LinuxPlatform::LinuxPlatform(std::function<QDBusConnection()> bus, Launcher launcher,
                             QString soundModule)
    : LinuxPlatform(
          std::move(bus), [] { return QDBusConnection(QStringLiteral("vokari-no-session-bus")); },
          std::move(launcher), std::move(soundModule))
{}

LinuxPlatform::LinuxPlatform(const QDBusConnection& bus, Launcher launcher, QString soundModule)
    : LinuxPlatform([bus] { return bus; }, std::move(launcher), std::move(soundModule))
{}

LinuxPlatform::~LinuxPlatform() = default;

void LinuxPlatform::openTarget(const QString& target, QWidget* /*owner*/)
{
    // The opener shows its own windows; there is nothing here for an owner to own.
    m_launcher.open(target);
}

SoundService& LinuxPlatform::sound()
{
    if (!m_sound)
        m_sound = loadSoundService(Assets::sound(1), m_soundModule);
    return *m_sound;
}

void LinuxPlatform::playBuiltInSound(int id)
{
    sound().playBytes(Assets::sound(id));
}

void LinuxPlatform::playSoundNamed(const QString& name)
{
    sound().playFile(name);
}

void LinuxPlatform::ExitWindowsSession(SessionEnd how)
{
    if (!m_session)
        m_session = std::make_unique<LogindSession>(m_bus());
    m_session->end(how);
}

void LinuxPlatform::holdIdleSleep(bool hold)
{
    // Nothing held yet and nothing to hold: no bus connection for nothing.
    if (!m_session && !hold)
        return;
    if (!m_session)
        m_session = std::make_unique<LogindSession>(m_bus());
    m_session->holdIdleSleep(hold);
    // GNOME's power manager does not heed logind's idle lock: the desktop is asked as well.
    if (!m_desktop)
        m_desktop = std::make_unique<DesktopInhibitor>(m_sessionBus());
    m_desktop->holdSuspend(hold, hold ? mainWindowX11Id() : 0);
}

void LinuxPlatform::afterPendingRequests(std::function<void()> then)
{
    if (m_session)
        m_session->afterPending(std::move(then));
    else
        then();
}

std::uint32_t LinuxPlatform::tickCount()
{
    // The monotonic clock counts from boot; only the low 32 bits are kept, as the caller expects.
    QElapsedTimer now;
    now.start();
    return static_cast<std::uint32_t>(now.msecsSinceReference());
}

SleepClocks LinuxPlatform::clocks()
{
    // CLOCK_MONOTONIC is the clock Qt's timers run on and stops during suspend; CLOCK_BOOTTIME
    // is the same clock with the suspended time added.
    return {millisecondsOf(CLOCK_MONOTONIC), millisecondsOf(CLOCK_BOOTTIME)};
}

QDateTime LinuxPlatform::localDateTime()
{
    return Toolkit::localDateTime();
}

QString LinuxPlatform::shortDatePattern()
{
    return clockPatternFromQtFormat(QLocale::system().dateFormat(QLocale::ShortFormat));
}

QString LinuxPlatform::timePattern()
{
    return clockPatternFromQtFormat(QLocale::system().timeFormat(QLocale::LongFormat));
}

FileChoice fileChoiceFor(FileKind kind)
{
    // Names on this system are case-sensitive, so both spellings of the extension are listed;
    // programs here rarely have an extension at all.
    if (kind == FileKind::Sound)
        return {QStringLiteral("WAV 声音文件 (*.WAV *.wav)"), false};
    return {QStringLiteral("可执行文件 (*)"), true};
}

std::optional<QString> LinuxPlatform::chooseFile(FileKind kind, const QString& previous,
                                                 QWidget* owner)
{
    const FileChoice choice = fileChoiceFor(kind);
    return Toolkit::chooseFile(choice.filter, choice.executablesOnly, previous, owner);
}

void LinuxPlatform::minimiseApplication()
{
    Toolkit::minimiseApplication();
}

void LinuxPlatform::restoreApplication()
{
    Toolkit::restoreApplication();
}

void LinuxPlatform::showOnTaskbar(const TaskbarView& view, QWidget* window)
{
    // The window manager marks the window as wanting attention until it is activated.
    if (view.attention && window)
        Toolkit::askAttention(window);
    // Docks and task managers (KDE's, Ubuntu's dock, Dash to Dock) read the launcher entry's
    // signal, broadcast on the session bus for the desktop entry whose name the program has.
    const QString entry = QGuiApplication::desktopFileName();
    QDBusConnection bus = m_sessionBus();
    if (entry.isEmpty() || !bus.isConnected())
        return;
    const bool bar = view.bar != TaskbarView::Bar::None;
    QDBusMessage update = QDBusMessage::createSignal(
        QStringLiteral("/org/vokari/Vokari/LauncherEntry"),
        QStringLiteral("com.canonical.Unity.LauncherEntry"), QStringLiteral("Update"));
    update << QStringLiteral("application://%1.desktop").arg(entry)
           << QVariantMap{
                  {QStringLiteral("progress"), view.progress()},
                  {QStringLiteral("progress-visible"), bar},
                  {QStringLiteral("count"), qint64{view.minutesLeft}},
                  {QStringLiteral("count-visible"), bar},
                  {QStringLiteral("urgent"), view.attention},
              };
    bus.send(update);
}

void LinuxPlatform::processPendingEvents()
{
    Toolkit::processPendingEvents();
}

bool LinuxPlatform::waitForEvents(int ms)
{
    return Toolkit::waitForEvents(ms);
}
