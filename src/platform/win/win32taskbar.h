#pragma once

#include "platform/taskbarview.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <vector>
#include <windows.h>

class QWidget;
struct ITaskbarList3;

namespace win32 {

// Shows a TaskbarView on the main window's taskbar button: the progress bar and the thumbnail's
// hover text through ITaskbarList3, the call for attention through FlashWindowEx. The taskbar
// takes these only once it has announced the button with "TaskbarButtonCreated", and forgets
// them when Explorer restarts and announces it again, so the last view is kept and shown anew on
// every announcement. Every call's result is ignored: a missing or stubbed taskbar changes
// nothing.
class Taskbar final : public QAbstractNativeEventFilter
{
public:
    Taskbar();
    ~Taskbar() override;
    Taskbar(const Taskbar&) = delete;
    Taskbar& operator=(const Taskbar&) = delete;

    void show(const TaskbarView& view, QWidget* window);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void listen();
    void allowAnnouncement(HWND hwnd) const;
    void buttonCreated(HWND hwnd);
    ITaskbarList3* list();
    void apply();

    const UINT m_buttonCreatedMessage;
    bool m_listening = false;
    // Windows whose button the taskbar has announced; the main window may be announced before
    // the program first shows anything on it.
    std::vector<HWND> m_announced;
    HWND m_window = nullptr;
    TaskbarView m_view;
    // Whether the button was last told to flash: FlashWindowEx is called only on a change.
    bool m_flashing = false;
    ITaskbarList3* m_list = nullptr;
    bool m_listTried = false;
    // Carries the queued showing after an announcement, which goes with this object.
    QObject m_context;
    bool m_reapplyPending = false;
};

} // namespace win32
