#pragma once

#include "platform/sessionend.h"
#include "platform/taskbarview.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

// Which files a file choice offers.
enum class FileKind
{
    Sound,   // "WAV 声音文件"
    Program, // "可执行文件"
};

// Two readings of the system's uptime, in milliseconds: one clock stands still while the machine
// sleeps, the other keeps counting. Between two readings, how much more the second advanced is
// the time the machine slept; the readings themselves mean nothing on their own.
struct SleepClocks
{
    std::int64_t monotonicMs = 0;
    std::int64_t bootMs = 0;

    // Grows by the time slept and by nothing else.
    std::int64_t sleptMs() const { return bootMs - monotonicMs; }
};

// The operating-system services the program uses, behind one narrow interface. One instance is
// created at start-up and handed to the windows that need it; tests hand in a recording fake.
// Every operation runs on the user-interface thread and returns promptly.
class Platform
{
public:
    Platform() = default;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;
    virtual ~Platform() = default;

    // Opens `target` as the desktop would: a program is started, a document or folder opens in
    // its application, anything else is taken for a URL. The text is never split into a program
    // and arguments and never reaches a shell. `owner` is the window that owns whatever the
    // system shows about the launch, or none. Failures are ignored; empty text opens nothing.
    virtual void openTarget(const QString& target, QWidget* owner) = 0;

    // Plays built-in sound `id` (1 to 3) once, without waiting; cuts off any sound still playing.
    virtual void playBuiltInSound(int id) = 0;

    // Plays a sound by name once, without waiting; cuts off any sound still playing. A name that
    // is no playable file plays the default sound, the built-in beep.
    virtual void playSoundNamed(const QString& name) = 0;

    // Asks the system to end the session with the force flag: power off, restart or log off.
    // Returns at once; the system's answer is not awaited and the caller carries on either way.
    virtual void ExitWindowsSession(SessionEnd how) = 0;

    // While held, asks both the login manager and the desktop not to let the session sleep for
    // lack of use, giving the reason "Vokari: countdown will end the session", so that a
    // countdown set to end the session gets there on time. An explicit suspend, a lid close or
    // the session end itself are never held up. Returns at once; saying the same twice changes
    // nothing, and a missing or silent login manager or desktop service changes nothing else.
    // Whatever is held goes with the program.
    virtual void holdIdleSleep(bool hold) = 0;

    // Runs `then` once every session-end request made so far has been answered or given up
    // (within a few seconds), at once when none is pending. The program calls it before it
    // ends, so a request made just before is not lost with the process.
    virtual void afterPendingRequests(std::function<void()> then) = 0;

    // Milliseconds since the system started, wrapping at 2^32.
    virtual std::uint32_t tickCount() = 0;

    // Both uptime clocks, read together. A platform that cannot tell sleep apart reports two
    // clocks that never drift apart, so nothing is ever counted as slept.
    virtual SleepClocks clocks() = 0;

    // The local date and time, to the millisecond.
    virtual QDateTime localDateTime() = 0;

    // The user's short-date and time patterns in the clock line's pattern language ("yyyy/M/d",
    // "H:mm:ss", "h:mm:ss tt"); empty text when the system cannot tell. May throw when the
    // locale cannot be read at all; the clock line then falls back to fixed patterns.
    virtual QString shortDatePattern() = 0;
    virtual QString timePattern() = 0;

    // Lets the user choose an existing file of `kind`, starting from `previous`; its full path,
    // or nothing when the user cancels.
    virtual std::optional<QString> chooseFile(FileKind kind, const QString& previous,
                                              QWidget* owner) = 0;

    // Takes the program off the screen: its main window, and through the window system the
    // windows it owns. Timers and actions go on running.
    virtual void minimiseApplication() = 0;

    // Brings a minimised program back and activates it, its owned windows with it; does nothing
    // if it is not minimised.
    virtual void restoreApplication() = 0;

    // Shows `view` on the taskbar button of `window`, the main window, replacing what it showed
    // before; the default view clears everything. Called only when something shown changes,
    // at most about once a second. Returns at once; a taskbar or dock that is not there, or not
    // listening, changes nothing.
    virtual void showOnTaskbar(const TaskbarView& view, QWidget* window) = 0;

    // Handles every pending window event (clicks, painting, timer ticks) and returns.
    virtual void processPendingEvents() = 0;

    // Handles window events as they come for about `ms` milliseconds, sleeping while there are
    // none. A modal dialog opened meanwhile holds the return until it closes. Returns false,
    // at once, when the event loop has been told to end and can wait no more.
    virtual bool waitForEvents(int ms) = 0;
};
