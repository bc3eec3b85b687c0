#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <functional>

// Xlib's types, declared here so that tests need not include Xlib.h, whose macros
// (None, Bool, Status, ...) collide with Qt and GoogleTest.
struct _XDisplay;
using Display = _XDisplay;

// Helpers for end-to-end tests that drive real programs on a private virtual X server.
namespace e2e {

// Polls `predicate` every `pollMs` until it returns true or `timeoutMs` has passed; returns
// whether it became true. The predicate is always evaluated at least once.
bool waitUntil(const std::function<bool()>& predicate, int timeoutMs, int pollMs = 50);

// The whole root window of `display`, or the part `area` of it in root coordinates, as an
// RGB32 image; a null image if the area lies outside the screen.
QImage captureRoot(Display* display);
QImage captureRoot(Display* display, const QRect& area);

// A top-level window as found on the screen.
struct WindowInfo
{
    unsigned long id = 0; // the X window id
    QRect geometry;       // the client area in root coordinates
    bool isValid() const { return id != 0; }
};

enum class InputBackend
{
    Xdotool, // a separate xdotool process, as a real input device would deliver events
    XTest,   // the XTest extension on the harness's own connection
};

// A private Xvfb (1280x800x24 unless told otherwise) with its own display number chosen by the
// server itself, and an Xlib connection to it. The developer's own display is never touched.
class XServer
{
public:
    explicit XServer(int width = 1280, int height = 800);
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Whether the server started and the connection is open; errorString() says why not.
    bool isReady() const { return m_display != nullptr; }
    QString errorString() const { return m_error; }

    // ":<n>", the value DISPLAY takes for programs meant to run on this server.
    QString displayName() const { return m_displayName; }
    Display* connection() const { return m_display; }

    // The calling process's environment with DISPLAY pointing at this server.
    QProcessEnvironment environment() const;

    // The first viewable top-level window titled exactly `title` (by _NET_WM_NAME or WM_NAME),
    // polled for until `timeoutMs` has passed; an invalid WindowInfo if none appeared.
    WindowInfo findWindow(const QString& title, int timeoutMs = 10000) const;
    // Where window `id` is now, read afresh from the server: its client area in root
    // coordinates, or an empty rectangle if the window is gone.
    QRect windowGeometry(unsigned long id) const;

    QImage screenshot() const;
    QImage grab(const QRect& area) const;

    // Pointer and keyboard input; each call returns once the events have reached the server,
    // and false (with errorString() set) if they could not be sent. Buttons: 1 left,
    // 2 middle, 3 right.
    void setInputBackend(InputBackend backend) { m_backend = backend; }
    QPoint pointerPosition() const;
    bool moveTo(QPoint position);
    bool press(int button = 1);
    bool release(int button = 1);
    bool click(QPoint position, int button = 1);
    // Presses `button` at `from`, moves to `to` through `steps` evenly spaced positions and
    // releases there; the button is released even if a move fails.
    bool drag(QPoint from, QPoint to, int button = 1, int steps = 4);
    // Keys and text always go through xdotool: `keys` in its names ("Return", "ctrl+a").
    bool typeText(const QString& text);
    bool key(const QString& keys);

private:
    bool start(int width, int height);
    bool runXdotool(const QStringList& arguments);
    bool sendButton(int button, bool down);
    QString serverLog() const;

    QProcess m_xvfb;
    QTemporaryFile m_log;
    QString m_displayName;
    QString m_error;
    Display* m_display = nullptr;
    InputBackend m_backend = InputBackend::Xdotool;
};

// A program running on an XServer on Qt's xcb platform, with a private empty home and XDG
// directories so that no user settings leak in or out. Terminated when destroyed.
class AppProcess
{
public:
    // `extra` is added to the environment the program gets (a private sound server, say).
    // A non-empty `launcher` is a command line the program and its arguments are appended to,
    // such as a memory checker; processId() is then the launcher's.
    AppProcess(const XServer& server, const QString& program, const QStringList& arguments = {},
               const QProcessEnvironment& extra = {}, const QStringList& launcher = {});
    ~AppProcess();
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    bool isRunning();
    qint64 processId() const { return m_process.processId(); }
    // Exit code and status once the program has ended.
    int exitCode() const { return m_process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    // Waits up to `timeoutMs` for the program to end by itself.
    bool waitForExit(int timeoutMs);
    QString errorString() const { return m_error; }
    // The private home directory the program runs with.
    QString homePath() const { return m_home.path(); }

private:
    QTemporaryDir m_home;
    QProcess m_process;
    QString m_error;
};

} // namespace e2e
