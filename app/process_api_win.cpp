#include "app/process_api_win.h"

#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstddef>

#include "win/system_library.h"
#include "win/text.h"

namespace tarnwick {

static_assert(sizeof(ProcessEntry32) == sizeof(PROCESSENTRY32), "Toolhelp's record");
static_assert(sizeof(ProcessEntry32W) == sizeof(PROCESSENTRY32W), "Toolhelp's wide record");
static_assert(offsetof(SystemProcessRecord, ImageNameLength) == offsetof(SYSTEM_PROCESS_INFORMATION, ImageName) &&
                  offsetof(SystemProcessRecord, ImageName) ==
                      offsetof(SYSTEM_PROCESS_INFORMATION, ImageName) + offsetof(UNICODE_STRING, Buffer) &&
                  offsetof(SystemProcessRecord, BasePriority) == offsetof(SYSTEM_PROCESS_INFORMATION, BasePriority) &&
                  offsetof(SystemProcessRecord, UniqueProcessId) ==
                      offsetof(SYSTEM_PROCESS_INFORMATION, UniqueProcessId) &&
                  offsetof(SystemProcessRecord, CreateTime) == offsetof(SYSTEM_PROCESS_INFORMATION, CreateTime) &&
                  offsetof(SystemProcessRecord, SessionId) == offsetof(SYSTEM_PROCESS_INFORMATION, SessionId),
              "the process information query's record");

namespace {

// GetProcessInformation exists from Windows 8 on: looked up once, where it is.
using GetProcessInformationFn = BOOL(WINAPI*)(HANDLE, PROCESS_INFORMATION_CLASS, LPVOID, DWORD);
GetProcessInformationFn ProcessInformationFunction() {
    static const auto function =
        LoadedSystemFunction<GetProcessInformationFn>(L"kernel32.dll", "GetProcessInformation");
    return function;
}

}  // namespace

bool Win32ProcessApi::GetVersion(OsVersion& version) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
    if (!GetVersionExA(&info)) return false;
    version = {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId};
    return true;
}

bool Win32ProcessApi::Is64BitWindows() {
#ifdef _WIN64
    return true;
#else
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

ModuleHandle Win32ProcessApi::LoadModule(const char* name) { return LoadSystemLibrary(Wide(name).c_str()); }

void Win32ProcessApi::ReleaseModule(ModuleHandle library) { ::FreeLibrary(static_cast<HMODULE>(library)); }

void* Win32ProcessApi::FindFunction(ModuleHandle library, const char* name) {
    return LibraryFunction<void*>(static_cast<HMODULE>(library), name);
}

Handle Win32ProcessApi::OpenProcess(Dword access, Dword processId) { return ::OpenProcess(access, FALSE, processId); }

bool Win32ProcessApi::LastCallWasDenied() { return GetLastError() == ERROR_ACCESS_DENIED; }

Dword Win32ProcessApi::GetPriorityClass(Handle process) { return ::GetPriorityClass(process); }

bool Win32ProcessApi::SetPriorityClass(Handle process, Dword priorityClass) {
    return ::SetPriorityClass(process, priorityClass) != 0;
}

void Win32ProcessApi::CloseHandle(Handle handle) { ::CloseHandle(handle); }

bool Win32ProcessApi::ProcessSession(Dword processId, Dword& session) {
    DWORD id = 0;
    if (!ProcessIdToSessionId(processId, &id)) return false;
    session = id;
    return true;
}

// The throttling state reads with the limited query right that the watch opens with.
bool Win32ProcessApi::InEfficiencyMode(Handle process) {
    const GetProcessInformationFn getInformation = ProcessInformationFunction();
    if (!getInformation) return false;
    PROCESS_POWER_THROTTLING_STATE state{};
    state.Version = PROCESS_POWER_THROTTLING_CURRENT_VERSION;
    if (!getInformation(process, ProcessPowerThrottling, &state, sizeof state)) return false;
    constexpr ULONG kSpeed = PROCESS_POWER_THROTTLING_EXECUTION_SPEED;
    return (state.ControlMask & kSpeed) != 0 && (state.StateMask & kSpeed) != 0;
}

Dword Win32ProcessApi::ForegroundProcessId() {
    HWND window = GetForegroundWindow();
    if (!window) return 0;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

Dword Win32ProcessApi::CurrentProcessId() { return ::GetCurrentProcessId(); }

Dword Win32ProcessApi::OwnPriorityClass() { return ::GetPriorityClass(::GetCurrentProcess()); }

void Win32ProcessApi::ToShiftJis(std::u16string_view name, std::string& out) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");
    NarrowInto(reinterpret_cast<const wchar_t*>(name.data()), name.size(), out);
}

}  // namespace tarnwick
