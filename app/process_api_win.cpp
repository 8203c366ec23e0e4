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

// SetProcessInformation exists from Windows 8 on.
using SetProcessInformationFn = BOOL(WINAPI*)(HANDLE, PROCESS_INFORMATION_CLASS, LPVOID, DWORD);
SettingOutcome SetInformation(HANDLE process, PROCESS_INFORMATION_CLASS kind, void* record, DWORD size) {
    static const auto set = LoadedSystemFunction<SetProcessInformationFn>(L"kernel32.dll", "SetProcessInformation");
    if (!set) return SettingOutcome::NotOnThisSystem;
    if (set(process, kind, record, size)) return SettingOutcome::Done;
    const DWORD error = GetLastError();
    return error == ERROR_INVALID_FUNCTION || error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED
               ? SettingOutcome::NotOnThisSystem
               : SettingOutcome::Refused;
}

// The I/O priority has no documented function: ntdll's NtSetInformationProcess with
// ProcessIoPriority (33) takes it, as Task Manager and Process Explorer set it.
SettingOutcome SetIoPriority(HANDLE process, ULONG hint) {
    using NtSetInformationProcessFn = LONG(NTAPI*)(HANDLE, ULONG, PVOID, ULONG);
    static const auto set = LoadedSystemFunction<NtSetInformationProcessFn>(L"ntdll.dll", "NtSetInformationProcess");
    if (!set) return SettingOutcome::NotOnThisSystem;
    const auto status = static_cast<ULONG>(set(process, 33, &hint, sizeof hint));
    if (status < 0x80000000u) return SettingOutcome::Done;
    // STATUS_NOT_IMPLEMENTED, STATUS_INVALID_INFO_CLASS, STATUS_NOT_SUPPORTED
    return status == 0xC0000002u || status == 0xC0000003u || status == 0xC00000BBu ? SettingOutcome::NotOnThisSystem
                                                                                  : SettingOutcome::Refused;
}

}  // namespace

SettingOutcome Win32ProcessApi::SetProcessSetting(Handle process, ProcessSetting setting, std::uint64_t value) {
    switch (setting) {
        case ProcessSetting::Io: return SetIoPriority(process, static_cast<ULONG>(value));
        case ProcessSetting::Memory: {
            MEMORY_PRIORITY_INFORMATION memory{static_cast<ULONG>(value)};
            return SetInformation(process, ProcessMemoryPriority, &memory, sizeof memory);
        }
        case ProcessSetting::Efficiency: {
            PROCESS_POWER_THROTTLING_STATE state{};
            state.Version = PROCESS_POWER_THROTTLING_CURRENT_VERSION;
            state.ControlMask = PROCESS_POWER_THROTTLING_EXECUTION_SPEED;
            state.StateMask = value ? PROCESS_POWER_THROTTLING_EXECUTION_SPEED : 0;
            return SetInformation(process, ProcessPowerThrottling, &state, sizeof state);
        }
        case ProcessSetting::Processors:
            return SetProcessAffinityMask(process, static_cast<DWORD_PTR>(value)) ? SettingOutcome::Done
                                                                                 : SettingOutcome::Refused;
    }
    return SettingOutcome::NotOnThisSystem;
}

std::uint64_t Win32ProcessApi::MachineProcessors() {
    DWORD_PTR own = 0;
    DWORD_PTR machine = 0;
    return GetProcessAffinityMask(GetCurrentProcess(), &own, &machine) ? machine : 0;
}

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
