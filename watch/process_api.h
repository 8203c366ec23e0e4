// The platform operations that listing processes and setting their priorities
// rely on. The listing functions themselves (PSAPI, VDMDBG, Toolhelp) are found
// by name at run time, as on Windows; their types are spelled here portably with
// Windows' sizes, so that the same listing code runs against Windows and against
// a scripted system in the native tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/priority.h"

#if defined(_WIN32) && !defined(_WIN64)
#define TARNWICK_WINAPI __stdcall
#else
#define TARNWICK_WINAPI
#endif

namespace tarnwick {

using Dword = std::uint32_t;
using Word = std::uint16_t;
using WinBool = int;
using Handle = void*;
using ModuleHandle = void*;
using LParam = std::intptr_t;

inline const Handle kInvalidHandle = reinterpret_cast<Handle>(static_cast<std::intptr_t>(-1));
inline constexpr Dword kProcessAllAccess = 0x1F0FFF;
inline constexpr Dword kProcessSetInformation = 0x0200;
inline constexpr Dword kProcessQueryInformation = 0x0400;
inline constexpr Dword kProcessQueryLimitedInformation = 0x1000;
inline constexpr Dword kSnapProcess = 0x2;
inline constexpr std::size_t kMaxPathBytes = 260;

// Toolhelp's process record: PROCESSENTRY32 (ANSI) and PROCESSENTRY32W (wide), whose
// file name on Windows NT is the executable's base name.
template <typename Char>
struct BasicProcessEntry32 {
    Dword dwSize;
    Dword cntUsage;
    Dword th32ProcessID;
    std::uintptr_t th32DefaultHeapID;
    Dword th32ModuleID;
    Dword cntThreads;
    Dword th32ParentProcessID;
    std::int32_t pcPriClassBase;
    Dword dwFlags;
    Char szExeFile[kMaxPathBytes];
};
using ProcessEntry32 = BasicProcessEntry32<char>;
using ProcessEntry32W = BasicProcessEntry32<char16_t>;

using TaskEnumProcEx = WinBool(TARNWICK_WINAPI*)(Dword threadId, Word module16, Word task16, char* moduleName,
                                                 char* fileName, LParam context);
using VdmEnumTaskWowExFn = int(TARNWICK_WINAPI*)(Dword processId, TaskEnumProcEx callback, LParam context);
// The wide (UTF-16) forms of the naming functions: the ANSI forms would turn a
// Japanese file name into question marks on a system of another code page.
using WideChar = char16_t;
using GetModuleNameFn = Dword(TARNWICK_WINAPI*)(Handle process, ModuleHandle module, WideChar* name, Dword size);
using EnumProcessModulesFn = WinBool(TARNWICK_WINAPI*)(Handle process, ModuleHandle* modules, Dword bytes,
                                                       Dword* needed);
using EnumProcessesFn = WinBool(TARNWICK_WINAPI*)(Dword* ids, Dword bytes, Dword* returned);
using Process32Fn = WinBool(TARNWICK_WINAPI*)(Handle snapshot, ProcessEntry32* entry);
using Process32WFn = WinBool(TARNWICK_WINAPI*)(Handle snapshot, ProcessEntry32W* entry);
using CreateToolhelp32SnapshotFn = Handle(TARNWICK_WINAPI*)(Dword flags, Dword processId);
using QueryFullProcessImageNameFn = WinBool(TARNWICK_WINAPI*)(Handle process, Dword flags, WideChar* name,
                                                              Dword* size);

// NtQuerySystemInformation of ntdll with the process information class: a chain of
// records, each of this head (SYSTEM_PROCESS_INFORMATION) followed by its threads.
inline constexpr Dword kSystemProcessInformation = 5;
inline constexpr std::int32_t kStatusInfoLengthMismatch = static_cast<std::int32_t>(0xC0000004);
struct SystemProcessRecord {
    Dword NextEntryOffset;  // 0 on the last record
    Dword NumberOfThreads;
    std::int64_t Reserved[3];  // private working set, hard faults and thread peak, cycle time
    std::int64_t CreateTime;   // 100 ns units since 1601
    std::int64_t Times[2];     // user and kernel times
    Word ImageNameLength;      // bytes, without a terminating zero
    Word ImageNameMaximumLength;
    const WideChar* ImageName;
    std::int32_t BasePriority;
    std::uintptr_t UniqueProcessId;
    std::uintptr_t InheritedFromUniqueProcessId;
    Dword HandleCount;
    Dword SessionId;
};
using NtQuerySystemInformationFn = std::int32_t(TARNWICK_WINAPI*)(Dword informationClass, void* buffer,
                                                                  Dword bytes, Dword* needed);

// The least rights that reading and setting a process's priority class need: security
// software and games' anti-cheat treat a full-access open as an attack. The limited
// query right exists from Windows Vista on.
inline Dword PriorityRights(const OsVersion& version) {
    return kProcessSetInformation |
           (version.majorVersion >= 6 ? kProcessQueryLimitedInformation : kProcessQueryInformation);
}

// A registration's further settings, as a process takes them.
enum class ProcessSetting { Io, Memory, Processors, Efficiency };
enum class SettingOutcome { Done, NotOnThisSystem, Refused };

class ProcessApi {
public:
    virtual ~ProcessApi() = default;
    // GetVersionExA; false when the version cannot be read.
    virtual bool GetVersion(OsVersion& version) = 0;
    // True where no 16-bit program can run (64-bit Windows).
    virtual bool Is64BitWindows() = 0;
    virtual ModuleHandle LoadModule(const char* name) = 0;
    virtual void ReleaseModule(ModuleHandle library) = 0;
    virtual void* FindFunction(ModuleHandle library, const char* name) = 0;
    // OpenProcess, not inheritable; null on refusal or when the process is gone.
    virtual Handle OpenProcess(Dword access, Dword processId) = 0;
    // Right after an OpenProcess, GetPriorityClass or SetPriorityClass that failed:
    // whether the system refused the rights (a process run as administrator, a
    // protected one, a handle whose rights a driver has stripped) rather than found no
    // process or failed otherwise.
    virtual bool LastCallWasDenied() = 0;
    // 0 on failure.
    virtual Dword GetPriorityClass(Handle process) = 0;
    virtual bool SetPriorityClass(Handle process, Dword priorityClass) = 0;
    // ProcessIdToSessionId: the Terminal Services session that a process runs in
    // (0 for services); false when it cannot be told.
    virtual bool ProcessSession(Dword processId, Dword& session) = 0;
    // Whether the process runs in efficiency mode (power throttling of its execution
    // speed, which Windows 11 pairs with the idle class); false where the system
    // cannot tell: the state can be read only from Windows 11 22H2 on.
    virtual bool InEfficiencyMode(Handle process) = 0;
    // Sets one further setting on a process opened with the priority rights, which each
    // of them needs and no more: `value` is the I/O priority hint, the memory priority,
    // the processor mask (within this machine's) or 1 and 0 for efficiency mode on and off.
    // NotOnThisSystem where this Windows lacks the setting (older ones, Wine).
    virtual SettingOutcome SetProcessSetting(Handle process, ProcessSetting setting, std::uint64_t value) = 0;
    // The logical processors of this machine that a process may run on (those of the
    // program's own processor group); 0 when they cannot be read.
    virtual std::uint64_t MachineProcessors() = 0;
    virtual void CloseHandle(Handle handle) = 0;
    // Process id of the foreground window's owner; 0 when there is none.
    virtual Dword ForegroundProcessId() = 0;
    virtual Dword CurrentProcessId() = 0;
    // GetPriorityClass of this program's own process; 0 when it cannot be read.
    virtual Dword OwnPriorityClass() = 0;
    // A name that the wide naming functions gave, in code page 932, into a buffer
    // that the caller keeps (the watch cycle converts every process's name).
    virtual void ToShiftJis(std::u16string_view name, std::string& out) = 0;
};

}  // namespace tarnwick
