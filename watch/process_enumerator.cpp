#include "watch/process_enumerator.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/mbcs.h"

namespace tarnwick {

namespace {

// The looked-up functions: one set for the whole program, written only while an
// enumerator is being constructed.
VdmEnumTaskWowExFn s_VDMEnumTaskWOWEx;
GetModuleNameFn s_GetModuleFileNameExW;
GetModuleNameFn s_GetModuleBaseNameW;
EnumProcessModulesFn s_EnumProcessModules;
EnumProcessesFn s_EnumProcesses;
Process32Fn s_Process32Next;
Process32Fn s_Process32First;
CreateToolhelp32SnapshotFn s_CreateToolhelp32Snapshot;

constexpr std::size_t kPartBytes = 256;  // file-name part and extension, as _splitpath's buffers

template <typename Function>
Function Lookup(ProcessApi& api, ModuleHandle library, const char* name) {
    return reinterpret_cast<Function>(api.FindFunction(library, name));
}

// Base name of a path into a name buffer, each part cut as the fixed buffers allow.
void WriteBaseName(std::string_view path, char* out, std::size_t size) {
    PathParts parts = SplitPath(path);
    std::string joined(CutToFit(parts.name, kPartBytes - 1));
    joined += CutToFit(parts.extension, kPartBytes - 1);
    CopyToBuffer(joined, out, size);
}

bool EqualsIgnoringAsciiCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char x = (*a >= 'a' && *a <= 'z') ? static_cast<char>(*a - 32) : *a;
        char y = (*b >= 'a' && *b <= 'z') ? static_cast<char>(*b - 32) : *b;
        if (x != y) return false;
    }
    return *a == *b;
}

// What one 16-bit task listing hands through VDMEnumTaskWOWEx to the task step.
struct TaskRecord {
    Dword processId;
    ProcessCallback callback;
    void* context;
    int stop;
};

WinBool ReportTask(TaskRecord& record, Word task, const char* name) {
    if (!record.callback(record.processId, task, name, record.context)) {
        record.stop = 1;
        return 1;  // stop VDMEnumTaskWOWEx
    }
    return 0;
}

WinBool TARNWICK_WINAPI TaskStepBaseName(Dword, Word, Word task, char*, char* fileName, LParam context) {
    char name[kMaxPathBytes];
    WriteBaseName(fileName ? fileName : "", name, sizeof name);
    return ReportTask(*reinterpret_cast<TaskRecord*>(context), task, name);
}

WinBool TARNWICK_WINAPI TaskStepFullPath(Dword, Word, Word task, char*, char* fileName, LParam context) {
    char name[kMaxPathBytes];
    CopyToBuffer(fileName ? std::string_view(fileName, strnlen(fileName, kMaxPathBytes)) : "", name, sizeof name);
    return ReportTask(*reinterpret_cast<TaskRecord*>(context), task, name);
}

}  // namespace

CProcessEnumerator::CProcessEnumerator(ProcessApi& api) : m_api(api) {
    m_unavailable = 1;
    s_VDMEnumTaskWOWEx = nullptr;
    s_GetModuleFileNameExW = nullptr;
    s_GetModuleBaseNameW = nullptr;
    s_EnumProcessModules = nullptr;
    s_EnumProcesses = nullptr;
    s_Process32Next = nullptr;
    s_Process32First = nullptr;
    s_CreateToolhelp32Snapshot = nullptr;

    OsVersion version;
    if (!m_api.GetVersion(version)) return;
    if (version.platformId == kPlatformNt && !LoadNt()) return;
    if (version.platformId == kPlatformWindows && !LoadWindows9x()) return;
    m_unavailable = 0;
}

CProcessEnumerator::~CProcessEnumerator() {
    Release(m_hVdmLibrary);
    Release(m_hListLibrary);
}

void CProcessEnumerator::Release(ModuleHandle& library) {
    if (library) m_api.ReleaseModule(library);
    library = nullptr;
}

bool CProcessEnumerator::LoadNt() {
    m_hListLibrary = m_api.LoadModule("PSAPI.DLL");
    if (!m_hListLibrary) return false;
    // 64-bit Windows runs no 16-bit programs: there the task library is not loaded at
    // all (every library loaded is one more that a planted copy could stand in for).
    const bool tasksNeeded = !m_api.Is64BitWindows();
    if (tasksNeeded) {
        m_hVdmLibrary = m_api.LoadModule("VDMDBG.DLL");
        if (!m_hVdmLibrary) return false;
    }

    s_EnumProcesses = Lookup<EnumProcessesFn>(m_api, m_hListLibrary, "EnumProcesses");
    s_EnumProcessModules = Lookup<EnumProcessModulesFn>(m_api, m_hListLibrary, "EnumProcessModules");
    s_GetModuleBaseNameW = Lookup<GetModuleNameFn>(m_api, m_hListLibrary, "GetModuleBaseNameW");
    s_GetModuleFileNameExW = Lookup<GetModuleNameFn>(m_api, m_hListLibrary, "GetModuleFileNameExW");
    if (m_hVdmLibrary) s_VDMEnumTaskWOWEx = Lookup<VdmEnumTaskWowExFn>(m_api, m_hVdmLibrary, "VDMEnumTaskWOWEx");

    if (!s_EnumProcesses || !s_EnumProcessModules || !s_GetModuleBaseNameW || (!s_VDMEnumTaskWOWEx && tasksNeeded)) {
        Release(m_hListLibrary);
        Release(m_hVdmLibrary);
        return false;
    }
    return true;
}

bool CProcessEnumerator::LoadWindows9x() {
    m_hListLibrary = m_api.LoadModule("Kernel32.DLL");
    if (!m_hListLibrary) return false;
    s_CreateToolhelp32Snapshot = Lookup<CreateToolhelp32SnapshotFn>(m_api, m_hListLibrary, "CreateToolhelp32Snapshot");
    s_Process32First = Lookup<Process32Fn>(m_api, m_hListLibrary, "Process32First");
    s_Process32Next = Lookup<Process32Fn>(m_api, m_hListLibrary, "Process32Next");
    if (!s_CreateToolhelp32Snapshot || !s_Process32First || !s_Process32Next) {
        Release(m_hListLibrary);
        return false;
    }
    return true;
}

WinBool CProcessEnumerator::EnumBaseNames(ProcessCallback callback, void* context) {
    return Enumerate(NameKind::Base, callback, context);
}

WinBool CProcessEnumerator::EnumFullPaths(ProcessCallback callback, void* context) {
    return Enumerate(NameKind::Full, callback, context);
}

WinBool CProcessEnumerator::Enumerate(NameKind kind, ProcessCallback callback, void* context) {
    if (m_unavailable) return 0;
    OsVersion version;
    if (!m_api.GetVersion(version)) return 0;
    if (version.platformId == kPlatformNt) return EnumerateNt(kind, callback, context);
    if (version.platformId == kPlatformWindows) return EnumerateWindows9x(kind, callback, context);
    return 0;
}

WinBool CProcessEnumerator::EnumerateNt(NameKind kind, ProcessCallback callback, void* context) {
    Dword ids[kMaxProcesses];
    Dword bytes = 0;
    if (!s_EnumProcesses(ids, sizeof ids, &bytes)) return 0;
    Dword count = bytes / sizeof(Dword);
    if (count > kMaxProcesses) count = kMaxProcesses;
    GetModuleNameFn nameOf = kind == NameKind::Base ? s_GetModuleBaseNameW : s_GetModuleFileNameExW;

    for (Dword i = 0; i < count; ++i) {
        char name[kMaxPathBytes];
        name[0] = '\0';
        if (Handle process = m_api.OpenProcess(kProcessAllAccess, ids[i])) {
            ModuleHandle module = nullptr;  // the first module is the executable
            Dword needed = 0;
            if (s_EnumProcessModules(process, &module, sizeof module, &needed) && nameOf) {
                WideChar wide[kMaxPathBytes];
                const Dword length = nameOf(process, module, wide, kMaxPathBytes);
                if (length != 0) {
                    const std::u16string_view text(wide, std::min<Dword>(length, kMaxPathBytes - 1));
                    std::string converted;
                    m_api.ToShiftJis(text, converted);
                    CopyToBuffer(converted, name, sizeof name);
                }
            }
            m_api.CloseHandle(process);
        }
        if (!callback(ids[i], 0, name, context)) return 1;

        const bool ntvdm = kind == NameKind::Base ? IsNtvdm(name) : std::strstr(name, "NTVDM.EXE") != nullptr;
        if (ntvdm && s_VDMEnumTaskWOWEx) {
            TaskRecord record{ids[i], callback, context, 0};
            s_VDMEnumTaskWOWEx(ids[i], kind == NameKind::Base ? TaskStepBaseName : TaskStepFullPath,
                               reinterpret_cast<LParam>(&record));
            if (record.stop) return 1;
        }
    }
    return 1;
}

bool CProcessEnumerator::EnumTaskBaseNames(Dword processId, ProcessCallback callback, void* context) {
    if (m_unavailable || !s_VDMEnumTaskWOWEx) return false;
    TaskRecord record{processId, callback, context, 0};
    s_VDMEnumTaskWOWEx(processId, TaskStepBaseName, reinterpret_cast<LParam>(&record));
    return true;
}

bool CProcessEnumerator::IsNtvdm(const char* baseName) { return EqualsIgnoringAsciiCase(baseName, "NTVDM.EXE"); }

WinBool CProcessEnumerator::EnumerateWindows9x(NameKind kind, ProcessCallback callback, void* context) {
    Handle snapshot = s_CreateToolhelp32Snapshot(kSnapProcess, 0);
    if (snapshot == kInvalidHandle || snapshot == nullptr) return 0;
    ProcessEntry32 entry{};
    entry.dwSize = sizeof entry;
    if (!s_Process32First(snapshot, &entry)) {
        m_api.CloseHandle(snapshot);
        return 1;
    }
    do {
        if (Handle process = m_api.OpenProcess(kProcessAllAccess, entry.th32ProcessID)) {
            m_api.CloseHandle(process);
        } else {
            entry.szExeFile[0] = '\0';
        }
        std::size_t length = TerminateInBuffer(entry.szExeFile, sizeof entry.szExeFile);
        char name[kMaxPathBytes];
        if (kind == NameKind::Base) {
            WriteBaseName(std::string_view(entry.szExeFile, length), name, sizeof name);
        } else {
            CopyToBuffer(std::string_view(entry.szExeFile, length), name, sizeof name);
        }
        if (!callback(entry.th32ProcessID, 0, name, context)) {
            m_api.CloseHandle(snapshot);
            return 1;
        }
        entry.dwSize = sizeof entry;
    } while (s_Process32Next(snapshot, &entry));
    m_api.CloseHandle(snapshot);
    return 1;
}

}  // namespace tarnwick
