#pragma once

#include "platform/sessionend.h"

#include <cstdint>
#include <string>
#include <windows.h>

namespace win32 {

// Every system call the services make. Tests hand in a table of their own to record the calls
// and script the results; nothing may reach the real ExitWindowsEx from a test.
struct Api
{
    HINSTANCE(WINAPI* shellExecute)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    BOOL(WINAPI* playSound)(LPCWSTR, HMODULE, DWORD);
    HMODULE(WINAPI* getModuleHandle)(LPCWSTR);
    BOOL(WINAPI* getVersionEx)(LPOSVERSIONINFOW);
    HANDLE(WINAPI* getCurrentProcess)();
    BOOL(WINAPI* openProcessToken)(HANDLE, DWORD, PHANDLE);
    BOOL(WINAPI* lookupPrivilegeValue)(LPCWSTR, LPCWSTR, PLUID);
    BOOL(WINAPI* adjustTokenPrivileges)
    (HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
    BOOL(WINAPI* exitWindowsEx)(UINT, DWORD);
    DWORD(WINAPI* getTickCount)();
    ULONGLONG(WINAPI* getTickCount64)();
    BOOL(WINAPI* queryUnbiasedInterruptTime)(PULONGLONG);
    void(WINAPI* getLocalTime)(LPSYSTEMTIME);
    LCID(WINAPI* getThreadLocale)();
    int(WINAPI* getLocaleInfo)(LCID, LCTYPE, LPWSTR, int);
    HANDLE(WINAPI* powerCreateRequest)(PREASON_CONTEXT);
    BOOL(WINAPI* powerSetRequest)(HANDLE, POWER_REQUEST_TYPE);
    BOOL(WINAPI* powerClearRequest)(HANDLE, POWER_REQUEST_TYPE);
    BOOL(WINAPI* closeHandle)(HANDLE);
};

// The table of the real functions of the system.
const Api& systemApi();

// Flags and item ids exactly as the services pass them on.
inline constexpr DWORD kBuiltInSoundFlags = 0x40005; // SND_RESOURCE | SND_ASYNC
inline constexpr DWORD kNamedSoundFlags = 0x0001;    // SND_ASYNC
inline constexpr DWORD kShutdownTokenAccess = 40;    // TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
inline constexpr LCTYPE kShortDateItem = 0x1F;       // LOCALE_SSHORTDATE
inline constexpr LCTYPE kTimeFormatItem = 0x1003;    // LOCALE_STIMEFORMAT
inline constexpr int kLocaleBufferSize = 256;
// The idle sleep is held off by a power request with a plain reason (version 0, flags
// POWER_REQUEST_CONTEXT_SIMPLE_STRING 1) of type PowerRequestSystemRequired, so that
// `powercfg /requests` names the program and says why the machine stays awake.
inline constexpr wchar_t kIdleSleepReason[] = L"Vokari: countdown will end the session";

// The ExitWindowsEx flags of a session end: EWX_POWEROFF 8, EWX_REBOOT 2 or EWX_LOGOFF 0, each
// with EWX_FORCE 4 and EWX_FORCEIFHUNG 0x10, so power off 0x1C, restart 0x16, log off 0x14.
// EWX_FORCE does nothing where terminal services run, which is every client Windows of today;
// there EWX_FORCEIFHUNG still ends the programs that do not answer in time, so none can hold
// the power-off up.
constexpr UINT exitWindowsFlags(SessionEnd how)
{
    constexpr UINT force = 4 | 0x10;
    switch (how) {
    case SessionEnd::PowerOff:
        return 8 | force;
    case SessionEnd::Restart:
        return 2 | force;
    case SessionEnd::LogOff:
        break;
    }
    return 0 | force;
}
// The reason ExitWindowsEx records: SHTDN_REASON_FLAG_PLANNED 0x80000000 with MAJOR_OTHER and
// MINOR_OTHER, both 0. A zero reason would be logged as an unplanned shutdown, which may make
// the system gather a state file and end later.
inline constexpr DWORD kSessionEndReason = 0x80000000;

// The Windows services of the program, in wide characters so that paths and texts outside the
// system code page survive. No Qt here: this part is built and tested without it.
class Services
{
public:
    explicit Services(const Api& api = systemApi()) : m_api(api) {}
    ~Services();
    // One owner for the power request's handle.
    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

    // Asks the shell to open `target` with the "open" verb, shown normally. Empty text makes no
    // call: the shell would take it for the current folder and open that.
    void openTarget(const std::wstring& target, HWND owner) const;

    // Starts sound resource `id` of the program's own module, or a sound by name, without
    // waiting. Returns what PlaySoundW returned.
    bool playBuiltInSound(int id) const;
    bool playSoundNamed(const std::wstring& name) const;

    // Enables the shutdown privilege where the system has one (NT only), then asks for the
    // session end with `flags` (EWX_* values). Returns whether the system accepted.
    bool endSession(UINT flags) const;

    // Keeps the system from sleeping for lack of use while held; an explicit sleep, a lid close
    // or a shutdown still go ahead. Held for the whole program, not only this thread; saying the
    // same twice changes nothing. When the system gives no request, the machine sleeps as before.
    void holdIdleSleep(bool hold);

    DWORD tickCount() const;
    // Milliseconds of uptime: with the time asleep (GetTickCount64), and without it
    // (QueryUnbiasedInterruptTime, which counts in 100 ns units).
    std::int64_t uptimeMs() const;
    std::int64_t awakeMs() const;
    SYSTEMTIME localTime() const;

    // The thread locale's text for `item`; empty text when the system has none.
    std::wstring localeText(LCTYPE item) const;
    std::wstring shortDatePattern() const { return localeText(kShortDateItem); }
    std::wstring timePattern() const { return localeText(kTimeFormatItem); }

private:
    bool isNtPlatform() const;
    void enableShutdownPrivilege() const;

    Api m_api;
    // Made by the first hold and kept for the next; closing it ends any request still set.
    HANDLE m_powerRequest = nullptr;
    bool m_holdingIdleSleep = false;
};

} // namespace win32
