#include "platform/win/win32taskbar.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QWidget>

#include <algorithm>
#include <shobjidl.h>
#include <string>

namespace win32 {

Taskbar::Taskbar() : m_buttonCreatedMessage(RegisterWindowMessageW(L"TaskbarButtonCreated"))
{
    // The platform is made before the main window, so listening now also sees the window's
    // WM_CREATE, early enough to let the announcement through to an elevated program.
    listen();
}

Taskbar::~Taskbar()
{
    if (m_listening && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    if (m_list)
        m_list->Release();
}

void Taskbar::listen()
{
    if (m_listening || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installNativeEventFilter(this);
    m_listening = true;
}

void Taskbar::allowAnnouncement(HWND hwnd) const
{
    // The announcement comes from Explorer, which runs unelevated: without this, UIPI keeps it
    // from a program run as administrator, and its button would never show anything.
    if (m_buttonCreatedMessage != 0)
        ChangeWindowMessageFilterEx(hwnd, m_buttonCreatedMessage, MSGFLT_ALLOW, nullptr);
}

bool Taskbar::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    // Qt hands every window message, sent or posted, to the filters as "windows_generic_MSG".
    if (eventType != "windows_generic_MSG")
        return false;
    const auto* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(msg->lParam);
        if (create && !(create->style & WS_CHILD))
            allowAnnouncement(msg->hwnd);
    } else if (msg->message == m_buttonCreatedMessage && m_buttonCreatedMessage != 0) {
        buttonCreated(msg->hwnd);
    }
    // Qt does nothing with either message; it goes on to the default handling.
    return false;
}

void Taskbar::buttonCreated(HWND hwnd)
{
    if (std::find(m_announced.begin(), m_announced.end(), hwnd) == m_announced.end())
        m_announced.push_back(hwnd);
    if (hwnd != m_window || m_reapplyPending)
        return;
    // Qt hands a posted message to the filters twice, from its event loop and from the window
    // procedure, so the view is shown once the loop comes round again rather than at once.
    m_reapplyPending = true;
    QMetaObject::invokeMethod(
        &m_context,
        [this] {
            m_reapplyPending = false;
            // A new button (Explorer restarted) shows nothing of what the old one did, flashing
            // included.
            m_flashing = false;
            apply();
        },
        Qt::QueuedConnection);
}

void Taskbar::show(const TaskbarView& view, QWidget* window)
{
    listen();
    m_view = view;
    const HWND hwnd = window ? reinterpret_cast<HWND>(window->window()->winId()) : nullptr;
    if (hwnd != m_window) {
        m_window = hwnd;
        m_flashing = false;
        // In case the window was made before the filter listened.
        if (hwnd)
            allowAnnouncement(hwnd);
    }
    if (hwnd && std::find(m_announced.begin(), m_announced.end(), hwnd) != m_announced.end())
        apply();
}

ITaskbarList3* Taskbar::list()
{
    if (m_listTried)
        return m_list;
    m_listTried = true;
    // Qt has already initialised OLE on this, the user-interface thread. Without a taskbar the
    // creation fails and the bar and hover text are simply not shown.
    void* created = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                &created)) ||
        !created)
        return nullptr;
    m_list = static_cast<ITaskbarList3*>(created);
    if (FAILED(m_list->HrInit())) {
        m_list->Release();
        m_list = nullptr;
    }
    return m_list;
}

void Taskbar::apply()
{
    if (ITaskbarList3* taskbar = list()) {
        // The value first: it turns a button without a bar to a normal bar, so the state set
        // after it is the one that stays.
        if (m_view.bar != TaskbarView::Bar::None && m_view.length > 0)
            taskbar->SetProgressValue(m_window, ULONGLONG(std::max(m_view.done, 0)),
                                      ULONGLONG(m_view.length));
        TBPFLAG state = TBPF_NOPROGRESS;
        if (m_view.bar == TaskbarView::Bar::Running)
            state = TBPF_NORMAL;
        else if (m_view.bar == TaskbarView::Bar::Paused)
            state = TBPF_PAUSED;
        taskbar->SetProgressState(m_window, state);
        const std::wstring hoverText = m_view.hoverText.toStdWString();
        taskbar->SetThumbnailTooltip(m_window, hoverText.c_str());
    }
    if (m_view.attention != m_flashing) {
        // Flashes until the user brings the window to the front, however long that takes.
        FLASHWINFO flash{};
        flash.cbSize = sizeof(flash);
        flash.hwnd = m_window;
        flash.dwFlags = m_view.attention ? FLASHW_TRAY | FLASHW_TIMERNOFG : FLASHW_STOP;
        flash.uCount = 0;
        flash.dwTimeout = 0;
        FlashWindowEx(&flash);
        m_flashing = m_view.attention;
    }
}

} // namespace win32
