#include "platform/win/win32services.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

namespace {

// What the recording table saw, plus the results it is told to give. Function pointers carry no
// state, so the recording functions reach the current recorder through one global.
struct Recorder
{
    struct ShellCall
    {
        HWND owner;
        std::wstring verb;
        std::wstring file;
        bool parametersNull;
        bool directoryNull;
        INT show;
    };
    struct SoundCall
    {
        bool isResource;
        ULONG_PTR resourceId;
        std::wstring name;
        HMODULE module;
        DWORD flags;
    };
    struct LocaleCall
    {
        LCID locale;
        LCTYPE item;
        int size;
    };

    std::vector<std::string> order;
    std::vector<ShellCall> shellCalls;
    std::vector<SoundCall> soundCalls;
    std::vector<LocaleCall> localeCalls;

    // Session end: arguments as passed, results as scripted or as the system gave them.
    DWORD versionSizeOnEntry = 0;
    HANDLE tokenProcess = nullptr;
    DWORD tokenAccess = 0;
    HANDLE openedToken = nullptr;
    bool lookupSystemNull = false;
    std::wstring lookupName;
    LUID lookedUpLuid{};
    HANDLE adjustedToken = nullptr;
    BOOL adjustDisableAll = TRUE;
    TOKEN_PRIVILEGES adjustState{};
    DWORD adjustLength = 0;
    bool adjustPreviousGiven = false;
    bool adjustReturnLengthGiven = false;
    DWORD adjustReturnLengthOnEntry = 0xFFFFFFFF;
    BOOL adjustResult = FALSE;
    UINT exitFlags = 0;
    DWORD exitReason = 0xFFFFFFFF;

    std::optional<DWORD> scriptedPlatform; // none: ask the real GetVersionExW
    bool failVersion = false;
    bool failOpen = false;
    bool failLookup = false;
    bool failAdjust = false;
    BOOL exitResult = TRUE;

    // Power requests as the system keeps them: each open one counts up with a set and down with
    // a clear, and holds the machine awake above zero. powerCalls logs contexts and misuse.
    std::map<HANDLE, int> powerRequests;
    std::vector<std::string> powerCalls;
    bool failPowerCreate = false;
    bool failPowerSet = false;
    INT_PTR nextPowerRequest = 0x5150;

    LCID scriptedLocale = 0;
    int scriptedLocaleResult = 0;
    const wchar_t* scriptedLocaleText = L"";
};

Recorder* g_recorder = nullptr;

HINSTANCE WINAPI recordShellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                    LPCWSTR directory, INT show)
{
    g_recorder->order.push_back("ShellExecuteW");
    g_recorder->shellCalls.push_back({owner, verb ? verb : L"<null>", file ? file : L"<null>",
                                      parameters == nullptr, directory == nullptr, show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

BOOL WINAPI recordPlaySound(LPCWSTR sound, HMODULE module, DWORD flags)
{
    g_recorder->order.push_back("PlaySoundW");
    const bool isResource = IS_INTRESOURCE(sound);
    g_recorder->soundCalls.push_back(
        {isResource, isResource ? reinterpret_cast<ULONG_PTR>(sound) : 0,
         isResource || !sound ? std::wstring() : std::wstring(sound), module, flags});
    return TRUE;
}

BOOL WINAPI recordGetVersionEx(LPOSVERSIONINFOW info)
{
    g_recorder->order.push_back("GetVersionExW");
    g_recorder->versionSizeOnEntry = info->dwOSVersionInfoSize;
    if (g_recorder->failVersion)
        return FALSE;
    const BOOL result = GetVersionExW(info);
    if (g_recorder->scriptedPlatform)
        info->dwPlatformId = *g_recorder->scriptedPlatform;
    return result;
}

HANDLE WINAPI recordGetCurrentProcess()
{
    g_recorder->order.push_back("GetCurrentProcess");
    return GetCurrentProcess();
}

BOOL WINAPI recordOpenProcessToken(HANDLE process, DWORD access, PHANDLE token)
{
    g_recorder->order.push_back("OpenProcessToken");
    g_recorder->tokenProcess = process;
    g_recorder->tokenAccess = access;
    if (g_recorder->failOpen) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const BOOL result = OpenProcessToken(process, access, token);
    g_recorder->openedToken = result ? *token : nullptr;
    return result;
}

BOOL WINAPI recordLookupPrivilegeValue(LPCWSTR system, LPCWSTR name, PLUID luid)
{
    g_recorder->order.push_back("LookupPrivilegeValueW");
    g_recorder->lookupSystemNull = system == nullptr;
    g_recorder->lookupName = name ? name : L"<null>";
    if (g_recorder->failLookup) {
        SetLastError(ERROR_NO_SUCH_PRIVILEGE);
        return FALSE;
    }
    const BOOL result = LookupPrivilegeValueW(system, name, luid);
    g_recorder->lookedUpLuid = *luid;
    return result;
}

BOOL WINAPI recordAdjustTokenPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES state,
                                        DWORD length, PTOKEN_PRIVILEGES previous,
                                        PDWORD returnLength)
{
    g_recorder->order.push_back("AdjustTokenPrivileges");
    g_recorder->adjustedToken = token;
    g_recorder->adjustDisableAll = disableAll;
    g_recorder->adjustState = *state;
    g_recorder->adjustLength = length;
    g_recorder->adjustPreviousGiven = previous != nullptr;
    g_recorder->adjustReturnLengthGiven = returnLength != nullptr;
    if (returnLength)
        g_recorder->adjustReturnLengthOnEntry = *returnLength;
    if (g_recorder->failAdjust)
        return FALSE;
    g_recorder->adjustResult =
        AdjustTokenPrivileges(token, disableAll, state, length, previous, returnLength);
    return g_recorder->adjustResult;
}

BOOL WINAPI recordExitWindowsEx(UINT flags, DWORD reason)
{
    g_recorder->order.push_back("ExitWindowsEx");
    g_recorder->exitFlags = flags;
    g_recorder->exitReason = reason;
    return g_recorder->exitResult;
}

HANDLE WINAPI recordPowerCreateRequest(PREASON_CONTEXT context)
{
    const std::wstring reason = context->Reason.SimpleReasonString;
    g_recorder->powerCalls.push_back(std::to_string(context->Version) + " " +
                                     std::to_string(context->Flags) + " " +
                                     std::string(reason.begin(), reason.end()));
    if (g_recorder->failPowerCreate)
        return INVALID_HANDLE_VALUE;
    const auto request = reinterpret_cast<HANDLE>(g_recorder->nextPowerRequest++);
    g_recorder->powerRequests[request] = 0;
    return request;
}

// PowerSetRequest with `change` 1, PowerClearRequest with -1.
template <int change> BOOL WINAPI recordPowerRequest(HANDLE request, POWER_REQUEST_TYPE type)
{
    const auto found = g_recorder->powerRequests.find(request);
    if (type != PowerRequestSystemRequired || found == g_recorder->powerRequests.end() ||
        found->second + change < 0) {
        g_recorder->powerCalls.push_back("type " + std::to_string(type) + ", unknown or unset");
        return FALSE;
    }
    if (change > 0 && g_recorder->failPowerSet)
        return FALSE;
    found->second += change;
    return TRUE;
}
BOOL WINAPI recordCloseHandle(HANDLE handle)
{
    return g_recorder->powerRequests.erase(handle) == 1;
}

LCID WINAPI scriptGetThreadLocale()
{
    g_recorder->order.push_back("GetThreadLocale");
    return g_recorder->scriptedLocale;
}

int WINAPI scriptGetLocaleInfo(LCID locale, LCTYPE item, LPWSTR buffer, int size)
{
    g_recorder->order.push_back("GetLocaleInfoW");
    g_recorder->localeCalls.push_back({locale, item, size});
    // Writes even when failing, as a careless caller would then read stale text.
    wcsncpy(buffer, g_recorder->scriptedLocaleText, static_cast<size_t>(size) - 1);
    buffer[size - 1] = L'\0';
    return g_recorder->scriptedLocaleResult;
}

// The real system table with every call of interest routed through the recorder. ExitWindowsEx is
// always replaced: a test must never end the session it runs in.
win32::Api recordingApi()
{
    win32::Api api = win32::systemApi();
    api.shellExecute = &recordShellExecute;
    api.playSound = &recordPlaySound;
    api.getVersionEx = &recordGetVersionEx;
    api.getCurrentProcess = &recordGetCurrentProcess;
    api.openProcessToken = &recordOpenProcessToken;
    api.lookupPrivilegeValue = &recordLookupPrivilegeValue;
    api.adjustTokenPrivileges = &recordAdjustTokenPrivileges;
    api.exitWindowsEx = &recordExitWindowsEx;
    api.powerCreateRequest = &recordPowerCreateRequest;
    api.powerSetRequest = &recordPowerRequest<1>;
    api.powerClearRequest = &recordPowerRequest<-1>;
    api.closeHandle = &recordCloseHandle;
    return api;
}

class Win32ServicesRecorded : public ::testing::Test
{
protected:
    void SetUp() override { g_recorder = &m_recorder; }
    void TearDown() override { g_recorder = nullptr; }

    Recorder m_recorder;
    win32::Services m_services{recordingApi()};
};

std::int64_t fileTimeSeconds(const FILETIME& time)
{
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<std::int64_t>(value.QuadPart / 10'000'000ULL);
}

std::optional<std::int64_t> systemTimeSeconds(const SYSTEMTIME& time)
{
    FILETIME file;
    if (!SystemTimeToFileTime(&time, &file))
        return std::nullopt;
    return fileTimeSeconds(file);
}

// "+0530" or "-0330", as `date +%z` prints it, in seconds.
std::optional<int> parseUtcOffset(const char* text)
{
    if (!text || std::strlen(text) != 5 || (text[0] != '+' && text[0] != '-'))
        return std::nullopt;
    const int hours = (text[1] - '0') * 10 + (text[2] - '0');
    const int minutes = (text[3] - '0') * 10 + (text[4] - '0');
    const int seconds = hours * 3600 + minutes * 60;
    return text[0] == '-' ? -seconds : seconds;
}

// Resets the thread locale when a test that changed it ends, however it ends.
class ThreadLocaleScope
{
public:
    explicit ThreadLocaleScope(LCID locale) : m_previous(GetThreadLocale())
    {
        SetThreadLocale(locale);
    }
    ~ThreadLocaleScope() { SetThreadLocale(m_previous); }

private:
    LCID m_previous;
};

bool shutdownPrivilegeEnabled(HANDLE token, const LUID& luid)
{
    DWORD size = 0;
    GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
    std::vector<std::uint8_t> buffer(size);
    if (!GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size))
        return false;
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID_AND_ATTRIBUTES& entry = privileges->Privileges[i];
        if (entry.Luid.LowPart == luid.LowPart && entry.Luid.HighPart == luid.HighPart)
            return (entry.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    return false;
}

// ---- Clock -------------------------------------------------------------------------------------

TEST(Win32Clock, TickCountAdvancesWithTheSystemsMillisecondCounter)
{
    const win32::Services services;
    const DWORD before = services.tickCount();
    Sleep(60);
    const DWORD after = services.tickCount();
    // Unsigned subtraction stays right across the wrap at 2^32.
    const DWORD elapsed = after - before;
    EXPECT_GE(elapsed, 40u);
    EXPECT_LT(elapsed, 5000u);
}

TEST(Win32Clock, TickCountIsTheLow32BitsOfTheUptime)
{
    const win32::Services services;
    const ULONGLONG wide = GetTickCount64();
    const DWORD narrow = services.tickCount();
    EXPECT_LT(static_cast<DWORD>(narrow - static_cast<DWORD>(wide)), 1000u);
}

TEST(Win32Clock, UptimeWithAndWithoutSleepAreMillisecondsThatAdvanceTogether)
{
    const win32::Services services;
    ULONGLONG interruptTime = 0;
    ASSERT_TRUE(QueryUnbiasedInterruptTime(&interruptTime));
    const ULONGLONG tickCount = GetTickCount64();
    const std::int64_t awake = services.awakeMs();
    const std::int64_t uptime = services.uptimeMs();
    // The interrupt time counts in 100 ns units; the tick count ticks every 16 ms or so.
    EXPECT_NEAR(double(awake), double(interruptTime / 10'000), 50.0);
    EXPECT_NEAR(double(uptime), double(tickCount), 50.0);
    EXPECT_GE(uptime + 50, awake);

    Sleep(100);
    EXPECT_NEAR(double(services.awakeMs() - awake), 100.0, 60.0);
    EXPECT_NEAR(double(services.uptimeMs() - uptime), 100.0, 60.0);
}

TEST(Win32Clock, LocalTimeHasSaneFields)
{
    const SYSTEMTIME now = win32::Services().localTime();
    EXPECT_GE(now.wYear, 2020);
    EXPECT_LE(now.wYear, 2200);
    EXPECT_GE(now.wMonth, 1);
    EXPECT_LE(now.wMonth, 12);
    EXPECT_GE(now.wDay, 1);
    EXPECT_LE(now.wDay, 31);
    EXPECT_LE(now.wHour, 23);
    EXPECT_LE(now.wMinute, 59);
    EXPECT_LE(now.wSecond, 59);
    EXPECT_LE(now.wMilliseconds, 999);

    // A round trip through FILETIME recomputes the weekday; a filled-in structure agrees.
    FILETIME file;
    ASSERT_TRUE(SystemTimeToFileTime(&now, &file));
    SYSTEMTIME normalised;
    ASSERT_TRUE(FileTimeToSystemTime(&file, &normalised));
    EXPECT_EQ(normalised.wDayOfWeek, now.wDayOfWeek);
    EXPECT_EQ(normalised.wDay, now.wDay);
}

// The launcher passes the host's clock and UTC offset; under a zone with a half-hour offset a
// conversion that only shifts hours, or not at all, is caught.
TEST(Win32Clock, LocalTimeAgreesWithTheHostClock)
{
    const char* hostEpoch = std::getenv("VOKARI_HOST_EPOCH");
    const std::optional<int> hostOffset = parseUtcOffset(std::getenv("VOKARI_HOST_UTC_OFFSET"));
    ASSERT_TRUE(hostEpoch && hostOffset) << "run this test through the Wine launcher, which sets "
                                            "VOKARI_HOST_EPOCH and VOKARI_HOST_UTC_OFFSET";

    FILETIME utcNow;
    GetSystemTimeAsFileTime(&utcNow);
    const std::optional<std::int64_t> local = systemTimeSeconds(win32::Services().localTime());
    ASSERT_TRUE(local);

    constexpr std::int64_t kWindowsToUnixEpoch = 11'644'473'600;
    const std::int64_t utcUnix = fileTimeSeconds(utcNow) - kWindowsToUnixEpoch;
    const std::int64_t launchedAt = std::strtoll(hostEpoch, nullptr, 10);
    // The run started at most a minute ago, by the host's own clock.
    EXPECT_GE(utcUnix, launchedAt - 2);
    EXPECT_LE(utcUnix, launchedAt + 60);

    const std::int64_t localUnix = *local - kWindowsToUnixEpoch;
    EXPECT_NEAR(static_cast<double>(localUnix), static_cast<double>(utcUnix + *hostOffset), 3.0)
        << "host offset " << *hostOffset << " s";
}

// ---- Locale patterns ---------------------------------------------------------------------------

TEST(Win32Locale, DefaultPatternsHaveDateAndTimeTokens)
{
    const win32::Services services;
    const std::wstring date = services.shortDatePattern();
    const std::wstring time = services.timePattern();

    ASSERT_FALSE(date.empty());
    EXPECT_NE(date.find(L'y'), std::wstring::npos) << date;
    EXPECT_NE(date.find(L'M'), std::wstring::npos) << date;
    EXPECT_NE(date.find(L'd'), std::wstring::npos) << date;
    EXPECT_EQ(date.find_first_of(L"hHms"), std::wstring::npos) << date;

    ASSERT_FALSE(time.empty());
    EXPECT_NE(time.find_first_of(L"hH"), std::wstring::npos) << time;
    EXPECT_NE(time.find(L'm'), std::wstring::npos) << time;
    EXPECT_NE(time.find(L's'), std::wstring::npos) << time;
    EXPECT_EQ(time.find_first_of(L"yMd"), std::wstring::npos) << time;
}

TEST(Win32Locale, PatternsFollowTheThreadLocale)
{
    const win32::Services services;
    std::wstring usDate, usTime, germanDate, germanTime;
    {
        const ThreadLocaleScope us(MAKELCID(0x0409, SORT_DEFAULT));
        usDate = services.shortDatePattern();
        usTime = services.timePattern();
    }
    {
        const ThreadLocaleScope german(MAKELCID(0x0407, SORT_DEFAULT));
        germanDate = services.shortDatePattern();
        germanTime = services.timePattern();
    }
    // Month before day with slashes and a 12-hour clock, against day before month with dots
    // and a 24-hour clock.
    EXPECT_LT(usDate.find(L'M'), usDate.find(L'd')) << usDate;
    EXPECT_NE(usDate.find(L'/'), std::wstring::npos) << usDate;
    EXPECT_NE(usTime.find(L"tt"), std::wstring::npos) << usTime;
    EXPECT_NE(usTime.find(L'h'), std::wstring::npos) << usTime;

    EXPECT_LT(germanDate.find(L'd'), germanDate.find(L'M')) << germanDate;
    EXPECT_NE(germanDate.find(L'.'), std::wstring::npos) << germanDate;
    EXPECT_NE(germanTime.find(L'H'), std::wstring::npos) << germanTime;
    EXPECT_EQ(germanTime.find(L't'), std::wstring::npos) << germanTime;
}

TEST(Win32Locale, UnknownItemGivesEmptyText)
{
    EXPECT_EQ(win32::Services().localeText(0x7FFF), L"");
}

TEST_F(Win32ServicesRecorded, LocaleCallUsesTheThreadLocaleAndTheWholeBuffer)
{
    win32::Api api = recordingApi();
    api.getThreadLocale = &scriptGetThreadLocale;
    api.getLocaleInfo = &scriptGetLocaleInfo;
    const win32::Services services(api);
    m_recorder.scriptedLocale = 0x0411;
    m_recorder.scriptedLocaleText = L"yyyy'年'M'月'd'日'";
    m_recorder.scriptedLocaleResult = 16;

    EXPECT_EQ(services.shortDatePattern(), L"yyyy'年'M'月'd'日'");
    m_recorder.scriptedLocaleText = L"H:mm:ss";
    m_recorder.scriptedLocaleResult = 8;
    EXPECT_EQ(services.timePattern(), L"H:mm:ss");

    ASSERT_EQ(m_recorder.localeCalls.size(), 2u);
    EXPECT_EQ(m_recorder.localeCalls[0].locale, 0x0411u);
    EXPECT_EQ(m_recorder.localeCalls[0].item, 0x1Fu);
    EXPECT_EQ(m_recorder.localeCalls[0].size, 256);
    EXPECT_EQ(m_recorder.localeCalls[1].locale, 0x0411u);
    EXPECT_EQ(m_recorder.localeCalls[1].item, 0x1003u);
    EXPECT_EQ(m_recorder.localeCalls[1].size, 256);
}

TEST_F(Win32ServicesRecorded, FailedLocaleCallGivesEmptyTextWhateverTheBufferHolds)
{
    win32::Api api = recordingApi();
    api.getThreadLocale = &scriptGetThreadLocale;
    api.getLocaleInfo = &scriptGetLocaleInfo;
    const win32::Services services(api);
    m_recorder.scriptedLocaleText = L"stale";
    m_recorder.scriptedLocaleResult = 0;

    EXPECT_EQ(services.shortDatePattern(), L"");
    EXPECT_EQ(services.timePattern(), L"");
}

// ---- Sounds ------------------------------------------------------------------------------------

TEST_F(Win32ServicesRecorded, BuiltInSoundPlaysTheResourceOfTheProgramsOwnModule)
{
    for (int id = 1; id <= 3; ++id)
        EXPECT_TRUE(m_services.playBuiltInSound(id));

    ASSERT_EQ(m_recorder.soundCalls.size(), 3u);
    for (int id = 1; id <= 3; ++id) {
        const Recorder::SoundCall& call = m_recorder.soundCalls[static_cast<size_t>(id - 1)];
        SCOPED_TRACE(id);
        EXPECT_TRUE(call.isResource);
        EXPECT_EQ(call.resourceId, static_cast<ULONG_PTR>(id));
        EXPECT_EQ(call.module, GetModuleHandleW(nullptr));
        EXPECT_EQ(call.flags, 0x40005u);
    }
}

TEST_F(Win32ServicesRecorded, NamedSoundPassesTheNameUnchangedWithoutModule)
{
    const std::wstring name = L"C:\\声音 文件\\\"铃声\" 1.wav";
    EXPECT_TRUE(m_services.playSoundNamed(name));

    ASSERT_EQ(m_recorder.soundCalls.size(), 1u);
    EXPECT_FALSE(m_recorder.soundCalls[0].isResource);
    EXPECT_EQ(m_recorder.soundCalls[0].name, name);
    EXPECT_EQ(m_recorder.soundCalls[0].module, nullptr);
    EXPECT_EQ(m_recorder.soundCalls[0].flags, 1u);
}

class Win32SoundSystem : public ::testing::Test
{
protected:
    // Cuts off whatever a test started, so nothing plays on into the next one.
    void TearDown() override { PlaySoundW(nullptr, nullptr, 0); }
};

TEST_F(Win32SoundSystem, TestProgramCarriesTheThreeWaveResources)
{
    for (int id = 1; id <= 3; ++id) {
        HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"WAVE");
        ASSERT_NE(resource, nullptr) << id;
        // Every one is a RIFF/WAVE file, as PlaySoundW expects in memory.
        const auto* data = static_cast<const char*>(LockResource(LoadResource(nullptr, resource)));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(std::string(data, 4), "RIFF");
        EXPECT_EQ(std::string(data + 8, 4), "WAVE");
    }
}

// Playback is started on its own thread, so the system accepts the request even where no audio
// device exists (under Wine a waiting call without a device returns FALSE instead).
TEST_F(Win32SoundSystem, BuiltInSoundIsAcceptedWithoutWaiting)
{
    const win32::Services services;
    for (int id = 1; id <= 3; ++id)
        EXPECT_TRUE(services.playBuiltInSound(id)) << id;
}

TEST_F(Win32SoundSystem, MissingSoundFileIsAcceptedAndFallsBackToTheDefault)
{
    EXPECT_TRUE(win32::Services().playSoundNamed(L"C:\\no such folder\\无声.wav"));
}

// ---- Opening a target --------------------------------------------------------------------------

TEST_F(Win32ServicesRecorded, OpenTargetPassesTextAndOwnerUnchanged)
{
    const HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    const std::vector<std::wstring> targets = {
        L"C:\\测试 目录\\程序.exe",
        L"\"C:\\Program Files\\Tool\\tool.exe\" --flag",
        L"https://example.org/a b?x=\"1\"",
        L"  leading and trailing  ",
    };
    for (const std::wstring& target : targets)
        m_services.openTarget(target, owner);
    m_services.openTarget(L"D:\\notes.txt", nullptr);

    ASSERT_EQ(m_recorder.shellCalls.size(), targets.size() + 1);
    for (size_t i = 0; i < targets.size(); ++i) {
        const Recorder::ShellCall& call = m_recorder.shellCalls[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(call.owner, owner);
        EXPECT_EQ(call.verb, L"open");
        EXPECT_EQ(call.file, targets[i]);
        EXPECT_TRUE(call.parametersNull);
        EXPECT_TRUE(call.directoryNull);
        EXPECT_EQ(call.show, 1);
    }
    EXPECT_EQ(m_recorder.shellCalls.back().owner, nullptr);
    EXPECT_EQ(m_recorder.shellCalls.back().file, L"D:\\notes.txt");
}

TEST_F(Win32ServicesRecorded, OpenTargetWithEmptyTextMakesNoCall)
{
    m_services.openTarget(L"", nullptr);
    EXPECT_TRUE(m_recorder.shellCalls.empty());
    EXPECT_TRUE(m_recorder.order.empty());
}

// ---- Idle sleep --------------------------------------------------------------------------------

TEST_F(Win32ServicesRecorded, IdleSleepIsHeldByANamedRequestUntilReleasedAndNoneIsLeftOpen)
{
    struct Step
    {
        bool hold, failCreate, failSet, awake;
    };
    const Step steps[] = {{true, true, false, false}, // the system has no request to give
                          {true, false, false, true},   {true, false, false, true},
                          {false, false, false, false}, {false, false, false, false},
                          {true, false, true, false}, // the system refuses the set
                          {true, false, false, true}};
    {
        win32::Services services(recordingApi());
        for (const Step& step : steps) {
            m_recorder.failPowerCreate = step.failCreate;
            m_recorder.failPowerSet = step.failSet;
            services.holdIdleSleep(step.hold);
            EXPECT_EQ(std::ranges::any_of(m_recorder.powerRequests,
                                          [](const auto& request) { return request.second > 0; }),
                      step.awake)
                << "step " << &step - steps;
        }
    }
    EXPECT_TRUE(m_recorder.powerRequests.empty()) << "a power request was left open";
    ASSERT_FALSE(m_recorder.powerCalls.empty());
    // Version 0 and POWER_REQUEST_CONTEXT_SIMPLE_STRING; anything else logged is misuse.
    for (const std::string& call : m_recorder.powerCalls)
        EXPECT_EQ(call, "0 1 Vokari: countdown will end the session");
}

// ---- Ending the session ------------------------------------------------------------------------

TEST(Win32SessionGuard, RecordingTableNeverReachesTheRealExitWindowsEx)
{
    EXPECT_EQ(recordingApi().exitWindowsEx, &recordExitWindowsEx);
    EXPECT_NE(recordingApi().exitWindowsEx, win32::systemApi().exitWindowsEx);
}

TEST_F(Win32ServicesRecorded, SessionEndEnablesTheShutdownPrivilegeFirst)
{
    LUID expectedLuid{};
    ASSERT_TRUE(LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &expectedLuid));

    // Start from a disabled privilege, so the enabled one afterwards is the services' doing.
    HANDLE probe = nullptr;
    ASSERT_TRUE(
        OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &probe));
    TOKEN_PRIVILEGES disable{};
    disable.PrivilegeCount = 1;
    disable.Privileges[0].Luid = expectedLuid;
    disable.Privileges[0].Attributes = 0;
    ASSERT_TRUE(AdjustTokenPrivileges(probe, FALSE, &disable, sizeof(disable), nullptr, nullptr));
    ASSERT_FALSE(shutdownPrivilegeEnabled(probe, expectedLuid));

    EXPECT_TRUE(m_services.endSession(12));

    const std::vector<std::string> expectedOrder = {
        "GetVersionExW",         "GetCurrentProcess",     "OpenProcessToken",
        "LookupPrivilegeValueW", "AdjustTokenPrivileges", "ExitWindowsEx"};
    EXPECT_EQ(m_recorder.order, expectedOrder);
    EXPECT_EQ(m_recorder.versionSizeOnEntry, sizeof(OSVERSIONINFOW));

    EXPECT_EQ(m_recorder.tokenProcess, GetCurrentProcess());
    EXPECT_EQ(m_recorder.tokenAccess, 40u);
    ASSERT_NE(m_recorder.openedToken, nullptr);

    EXPECT_TRUE(m_recorder.lookupSystemNull);
    EXPECT_EQ(m_recorder.lookupName, L"SeShutdownPrivilege");

    EXPECT_EQ(m_recorder.adjustedToken, m_recorder.openedToken);
    EXPECT_EQ(m_recorder.adjustDisableAll, FALSE);
    EXPECT_EQ(m_recorder.adjustState.PrivilegeCount, 1u);
    EXPECT_EQ(m_recorder.adjustState.Privileges[0].Luid.LowPart, expectedLuid.LowPart);
    EXPECT_EQ(m_recorder.adjustState.Privileges[0].Luid.HighPart, expectedLuid.HighPart);
    EXPECT_EQ(m_recorder.adjustState.Privileges[0].Attributes, 2u);
    EXPECT_EQ(m_recorder.adjustLength, 16u);
    EXPECT_TRUE(m_recorder.adjustPreviousGiven);
    EXPECT_TRUE(m_recorder.adjustReturnLengthGiven);
    EXPECT_EQ(m_recorder.adjustReturnLengthOnEntry, 0u);
    EXPECT_TRUE(m_recorder.adjustResult);

    EXPECT_EQ(m_recorder.exitFlags, 12u);
    EXPECT_EQ(m_recorder.exitReason, 0x80000000u);

    // The real calls took effect on the process token.
    EXPECT_TRUE(shutdownPrivilegeEnabled(probe, expectedLuid));
    // The services leave their token open by design; the test closes it.
    CloseHandle(m_recorder.openedToken);
    CloseHandle(probe);
}

TEST_F(Win32ServicesRecorded, EachSessionEndReachesExitWindowsAsPlannedAndReturnsTheSystemsAnswer)
{
    struct Case
    {
        SessionEnd how;
        // EWX_POWEROFF 8, EWX_REBOOT 2, EWX_LOGOFF 0, each with EWX_FORCE 4 | EWX_FORCEIFHUNG 0x10
        UINT flags;
        DWORD reason; // SHTDN_REASON_FLAG_PLANNED, major and minor "other"
    };
    const Case cases[] = {{SessionEnd::PowerOff, 0x1Cu, 0x80000000u},
                          {SessionEnd::Restart, 0x16u, 0x80000000u},
                          {SessionEnd::LogOff, 0x14u, 0x80000000u}};
    for (const Case& c : cases) {
        for (const BOOL answer : {TRUE, FALSE}) {
            SCOPED_TRACE(testing::Message() << "flags " << c.flags << " answer " << answer);
            m_recorder.exitResult = answer;
            m_recorder.exitFlags = 0;
            m_recorder.exitReason = 0xFFFFFFFF;
            EXPECT_EQ(m_services.endSession(win32::exitWindowsFlags(c.how)), answer != FALSE);
            EXPECT_EQ(m_recorder.exitFlags, c.flags);
            EXPECT_EQ(m_recorder.exitReason, c.reason);
            CloseHandle(m_recorder.openedToken);
        }
    }
}

TEST_F(Win32ServicesRecorded, FailedTokenOpeningStillEndsTheSession)
{
    m_recorder.failOpen = true;
    EXPECT_TRUE(m_services.endSession(6));
    const std::vector<std::string> expectedOrder = {"GetVersionExW", "GetCurrentProcess",
                                                    "OpenProcessToken", "ExitWindowsEx"};
    EXPECT_EQ(m_recorder.order, expectedOrder);
    EXPECT_EQ(m_recorder.exitFlags, 6u);
}

TEST_F(Win32ServicesRecorded, FailedPrivilegeLookupSkipsOnlyTheAdjustment)
{
    m_recorder.failLookup = true;
    EXPECT_TRUE(m_services.endSession(4));
    const std::vector<std::string> expectedOrder = {"GetVersionExW", "GetCurrentProcess",
                                                    "OpenProcessToken", "LookupPrivilegeValueW",
                                                    "ExitWindowsEx"};
    EXPECT_EQ(m_recorder.order, expectedOrder);
    EXPECT_EQ(m_recorder.exitFlags, 4u);
    CloseHandle(m_recorder.openedToken);
}

TEST_F(Win32ServicesRecorded, FailedAdjustmentStillEndsTheSession)
{
    m_recorder.failAdjust = true;
    m_recorder.exitResult = FALSE;
    EXPECT_FALSE(m_services.endSession(12));
    const std::vector<std::string> expectedOrder = {
        "GetVersionExW",         "GetCurrentProcess",     "OpenProcessToken",
        "LookupPrivilegeValueW", "AdjustTokenPrivileges", "ExitWindowsEx"};
    EXPECT_EQ(m_recorder.order, expectedOrder);
    CloseHandle(m_recorder.openedToken);
}

TEST_F(Win32ServicesRecorded, NonNtSystemSkipsThePrivilegeSteps)
{
    m_recorder.scriptedPlatform = VER_PLATFORM_WIN32_WINDOWS;
    EXPECT_TRUE(m_services.endSession(12));
    const std::vector<std::string> expectedOrder = {"GetVersionExW", "ExitWindowsEx"};
    EXPECT_EQ(m_recorder.order, expectedOrder);
    EXPECT_EQ(m_recorder.exitFlags, 12u);
}

TEST_F(Win32ServicesRecorded, UnknownVersionSkipsThePrivilegeSteps)
{
    m_recorder.failVersion = true;
    EXPECT_TRUE(m_services.endSession(4));
    const std::vector<std::string> expectedOrder = {"GetVersionExW", "ExitWindowsEx"};
    EXPECT_EQ(m_recorder.order, expectedOrder);
}

} // namespace
