#include "windowmanager.h"

#include "xharness.h"

#include <QStandardPaths>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace e2e {

namespace {

// The first 32-bit value of `property` on `window`, or 0 when it has none.
unsigned long firstValue(Display* display, unsigned long window, Atom property, Atom type)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    unsigned long value = 0;
    if (XGetWindowProperty(display, window, property, 0, 1, False, type, &actualType, &format,
                           &count, &after, &data) == Success &&
        data && count == 1 && format == 32)
        value = *reinterpret_cast<unsigned long*>(data);
    if (data)
        XFree(data);
    return value;
}

// The window on which the manager announces itself, or 0 while none runs.
unsigned long supportingWindow(Display* display)
{
    return firstValue(display, DefaultRootWindow(display),
                      XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False), XA_WINDOW);
}

// Sends the manager a client message about `window`, as pagers and taskbars do.
bool askManager(Display* display, unsigned long window, const char* type, long first, long second)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, type, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = first;
    event.xclient.data.l[1] = second;
    const bool sent = XSendEvent(display, DefaultRootWindow(display), False,
                                 SubstructureRedirectMask | SubstructureNotifyMask, &event) != 0;
    XSync(display, False);
    return sent;
}

} // namespace

WindowManager::WindowManager(const XServer& server, Kind kind) : m_server(server)
{
    const QString name =
        kind == Kind::Mutter ? QStringLiteral("mutter") : QStringLiteral("openbox");
    const QString program = QStandardPaths::findExecutable(name);
    const QString session = QStandardPaths::findExecutable(QStringLiteral("dbus-run-session"));
    if (program.isEmpty() || (kind == Kind::Mutter && session.isEmpty())) {
        m_error = name + QStringLiteral(" is not installed");
        return;
    }
    // A private configuration home, so the developer's own settings never apply.
    QProcessEnvironment env = server.environment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
    env.insert(QStringLiteral("HOME"), m_config.path());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QString command = program;
    QStringList arguments{QStringLiteral("--sm-disable")};
    if (kind == Kind::Mutter) {
        // Its settings and helpers talk over a session bus: a private one, ended with it. Its
        // chatter about missing services goes nowhere.
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_config.path());
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        command = session;
        arguments = {QStringLiteral("--"), program, QStringLiteral("--x11"),
                     QStringLiteral("--replace"), QStringLiteral("--sm-disable")};
    }
    m_process.setProcessEnvironment(env);
    m_process.start(command, arguments);
    if (!m_process.waitForStarted(5000)) {
        m_error = m_process.errorString();
        return;
    }
    m_ready = waitUntil([&] { return supportingWindow(server.connection()) != 0; }, 20000);
    if (!m_ready)
        m_error = name + QStringLiteral(" did not announce itself within 20 s");
}

WindowManager::~WindowManager()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000))
        m_process.kill();
    m_process.waitForFinished(3000);
}

bool WindowManager::isIconic(unsigned long id) const
{
    Display* display = m_server.connection();
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    return firstValue(display, id, wmState, wmState) == IconicState;
}

bool WindowManager::minimise(unsigned long id) const
{
    return askManager(m_server.connection(), id, "WM_CHANGE_STATE", IconicState, 0);
}

bool WindowManager::activate(unsigned long id) const
{
    // Source 2: the request comes from a pager or taskbar.
    return askManager(m_server.connection(), id, "_NET_ACTIVE_WINDOW", 2, CurrentTime);
}

} // namespace e2e
