#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace e2e {

class XServer;

// A real window manager on a private X server, for tests of what only a window manager does:
// minimising to an icon and restoring. Stopped when destroyed.
class WindowManager
{
public:
    enum class Kind
    {
        Openbox, // small, and what the other end-to-end runs use
        Mutter,  // GNOME's, as an X11 window manager on its own private session bus
    };

    explicit WindowManager(const XServer& server, Kind kind = Kind::Openbox);
    ~WindowManager();
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    // Whether the manager runs and has announced itself on the root window.
    bool isReady() const { return m_ready; }
    QString errorString() const { return m_error; }

    // Whether window `id` is iconified (its WM_STATE is IconicState).
    bool isIconic(unsigned long id) const;
    // Asks the manager to iconify window `id` as a taskbar does (ICCCM WM_CHANGE_STATE).
    bool minimise(unsigned long id) const;
    // Asks the manager to activate window `id` as a taskbar does (_NET_ACTIVE_WINDOW from a
    // pager), which brings an iconified window back.
    bool activate(unsigned long id) const;

private:
    const XServer& m_server;
    QTemporaryDir m_config;
    QProcess m_process;
    bool m_ready = false;
    QString m_error;
};

} // namespace e2e
