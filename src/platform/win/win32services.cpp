#include "platform/win/win32services.h"

#include <algorithm>
#include <iterator>
#include <mmsystem.h>
#include <shellapi.h>

namespace win32 {

const Api& systemApi()
{
    static const Api api{
        .shellExecute = &::ShellExecuteW,
        .playSound = &::PlaySoundW,
        .getModuleHandle = &::GetModuleHandleW,
        .getVersionEx = &::GetVersionExW,
        .getCurrentProcess = &::GetCurrentProcess,
        .openProcessToken = &::OpenProcessToken,
        .lookupPrivilegeValue = &::LookupPrivilegeValueW,
        .adjustTokenPrivileges = &::AdjustTokenPrivileges,
        .exitWindowsEx = &::ExitWindowsEx,
        .getTickCount = &::GetTickCount,
        .getTickCount64 = &::GetTickCount64,
        .queryUnbiasedInterruptTime = &::QueryUnbiasedInterruptTime,
        .getLocalTime = &::GetLocalTime,
        .getThreadLocale = &::GetThreadLocale,
        .getLocaleInfo = &::GetLocaleInfoW,
        .powerCreateRequest = &::PowerCreateRequest,
        .powerSetRequest = &::PowerSetRequest,
        .powerClearRequest = &::PowerClearRequest,
        .closeHandle = &::CloseHandle,
    };
    return api;
}

Services::~Services()
{
    if (m_powerRequest)
        m_api.closeHandle(m_powerRequest);
}

void Services::openTarget(const std::wstring& target, HWND owner) const
{
    if (target.empty())
        return;
    // Success or failure changes nothing for the caller, so the result is not looked at.
    m_api.shellExecute(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool Services::playBuiltInSound(int id) const
{
    // A null module name gives the program's own instance, which carries the WAVE resources.
    const HMODULE self = m_api.getModuleHandle(nullptr);
    return m_api.playSound(MAKEINTRESOURCEW(id), self, kBuiltInSoundFlags) != FALSE;
}

bool Services::playSoundNamed(const std::wstring& name) const
{
    return m_api.playSound(name.c_str(), nullptr, kNamedSoundFlags) != FALSE;
}

bool Services::isNtPlatform() const
{
    // An unknown version counts as not NT: the privilege steps are skipped, the request is not.
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    return m_api.getVersionEx(&version) != FALSE && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

void Services::enableShutdownPrivilege() const
{
    // The token is left open on purpose: the session is about to end and the system reclaims
    // it; closing it here would change nothing the user sees.
    HANDLE token = nullptr;
    if (!m_api.openProcessToken(m_api.getCurrentProcess(), kShutdownTokenAccess, &token))
        return;
    TOKEN_PRIVILEGES privileges{};
    if (!m_api.lookupPrivilegeValue(nullptr, L"SeShutdownPrivilege",
                                    &privileges.Privileges[0].Luid))
        return;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    TOKEN_PRIVILEGES previous{};
    DWORD returnLength = 0;
    // A refusal shows up as a refused ExitWindowsEx, so this result is not looked at.
    m_api.adjustTokenPrivileges(token, FALSE, &privileges, sizeof(TOKEN_PRIVILEGES), &previous,
                                &returnLength);
}

bool Services::endSession(UINT flags) const
{
    if (isNtPlatform())
        enableShutdownPrivilege();
    return m_api.exitWindowsEx(flags, kSessionEndReason) != FALSE;
}

void Services::holdIdleSleep(bool hold)
{
    // The system counts every set against its clear, so each is made once only.
    if (hold == m_holdingIdleSleep)
        return;
    if (!hold) {
        m_api.powerClearRequest(m_powerRequest, PowerRequestSystemRequired);
        m_holdingIdleSleep = false;
        return;
    }
    if (!m_powerRequest) {
        // The system copies the reason; it only has to last through the call.
        wchar_t reason[std::size(kIdleSleepReason)];
        std::copy(std::begin(kIdleSleepReason), std::end(kIdleSleepReason), reason);
        REASON_CONTEXT context{};
        context.Version = POWER_REQUEST_CONTEXT_VERSION;
        context.Flags = POWER_REQUEST_CONTEXT_SIMPLE_STRING;
        context.Reason.SimpleReasonString = reason;
        const HANDLE request = m_api.powerCreateRequest(&context);
        if (request == INVALID_HANDLE_VALUE || !request)
            return;
        m_powerRequest = request;
    }
    m_holdingIdleSleep = m_api.powerSetRequest(m_powerRequest, PowerRequestSystemRequired) != FALSE;
}

DWORD Services::tickCount() const
{
    return m_api.getTickCount();
}

std::int64_t Services::uptimeMs() const
{
    return static_cast<std::int64_t>(m_api.getTickCount64());
}

std::int64_t Services::awakeMs() const
{
    // It fails only when given nowhere to write.
    ULONGLONG hundredNanoseconds = 0;
    m_api.queryUnbiasedInterruptTime(&hundredNanoseconds);
    return static_cast<std::int64_t>(hundredNanoseconds / 10'000);
}

SYSTEMTIME Services::localTime() const
{
    SYSTEMTIME time{};
    m_api.getLocalTime(&time);
    return time;
}

std::wstring Services::localeText(LCTYPE item) const
{
    wchar_t buffer[kLocaleBufferSize] = {};
    if (m_api.getLocaleInfo(m_api.getThreadLocale(), item, buffer, kLocaleBufferSize) == 0)
        return {};
    return std::wstring(buffer);
}

} // namespace win32
