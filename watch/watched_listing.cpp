#include "watch/watched_listing.h"

#include <string>
#include <string_view>

#include "core/mbcs.h"

namespace tarnwick {

namespace {

template <typename Function>
Function Lookup(ProcessApi& api, ModuleHandle library, const char* name) {
    return reinterpret_cast<Function>(api.FindFunction(library, name));
}

// The file name of a snapshot entry, without any folder in front of it.
std::u16string_view EntryBaseName(const ProcessEntry32W& entry) {
    std::size_t length = 0;
    std::size_t start = 0;
    for (; length < kMaxPathBytes && entry.szExeFile[length] != 0; ++length) {
        if (entry.szExeFile[length] == u'\\' || entry.szExeFile[length] == u'/') start = length + 1;
    }
    return std::u16string_view(entry.szExeFile + start, length - start);
}

struct TaskVisit {
    WatchedProcessSink& sink;
    Dword processId;
    Handle host;
};

}  // namespace

WatchedProcessListing::WatchedProcessListing(ProcessApi& api, CProcessEnumerator& enumerator)
    : m_api(api), m_enumerator(enumerator) {
    OsVersion version;
    if (enumerator.m_unavailable || !api.GetVersion(version) || version.platformId != kPlatformNt) return;
    m_kernel = api.LoadModule("Kernel32.DLL");
    if (!m_kernel) return;
    m_snapshot = Lookup<CreateToolhelp32SnapshotFn>(api, m_kernel, "CreateToolhelp32Snapshot");
    m_first = Lookup<Process32WFn>(api, m_kernel, "Process32FirstW");
    m_next = Lookup<Process32WFn>(api, m_kernel, "Process32NextW");
    if (!m_snapshot || !m_first || !m_next) {
        m_snapshot = nullptr;
        api.ReleaseModule(m_kernel);
        m_kernel = nullptr;
    }
}

WatchedProcessListing::~WatchedProcessListing() {
    if (m_kernel) m_api.ReleaseModule(m_kernel);
}

void WatchedProcessListing::List(WatchedProcessSink& sink) {
    if (m_snapshot) {
        ListFromSnapshot(sink);
    } else {
        ListProcessByProcess(sink);
    }
}

void WatchedProcessListing::ListFromSnapshot(WatchedProcessSink& sink) {
    Handle snapshot = m_snapshot(kSnapProcess, 0);
    if (snapshot == kInvalidHandle || snapshot == nullptr) return;
    ProcessEntry32W entry{};
    entry.dwSize = sizeof entry;
    // One name buffer for the whole listing, and a listing's own: a message box that a
    // tick shows (a failed auto-save) lets the next tick run inside this one.
    std::string converted;
    for (WinBool more = m_first(snapshot, &entry); more; more = m_next(snapshot, &entry)) {
        // Cut as the process-by-process listing's name buffer cuts, at a whole character.
        m_api.ToShiftJis(EntryBaseName(entry), converted);
        if (converted.size() >= kMaxPathBytes) converted.resize(CutToFit(converted, kMaxPathBytes - 1).size());
        const char* name = converted.c_str();
        const Dword processId = entry.th32ProcessID;
        if (ProgramState* program = sink.WatchedProgram(name)) WatchOpened(sink, *program, processId, name);
        if (CProcessEnumerator::IsNtvdm(name)) WatchTasks(sink, processId);
        entry.dwSize = sizeof entry;
    }
    m_api.CloseHandle(snapshot);
}

void WatchedProcessListing::WatchOpened(WatchedProcessSink& sink, ProgramState& program, Dword processId,
                                        const char* name) {
    Handle process = m_api.OpenProcess(kProcessAllAccess, processId);
    if (!process) return;
    sink.Watch(program, processId, name, process);
    m_api.CloseHandle(process);
}

void WatchedProcessListing::WatchTasks(WatchedProcessSink& sink, Dword processId) {
    // The host is opened once for all its tasks; one that does not open lists none,
    // as the process-by-process listing, which cannot name it, lists none.
    Handle host = m_api.OpenProcess(kProcessAllAccess, processId);
    if (!host) return;
    TaskVisit visit{sink, processId, host};
    m_enumerator.EnumTaskBaseNames(processId, [](Dword, Dword, const char* name, void* context) -> WinBool {
        auto& visit = *static_cast<TaskVisit*>(context);
        if (ProgramState* program = visit.sink.WatchedProgram(name)) {
            visit.sink.Watch(*program, visit.processId, name, visit.host);
        }
        return 1;
    }, &visit);
    m_api.CloseHandle(host);
}

void WatchedProcessListing::ListProcessByProcess(WatchedProcessSink& sink) {
    struct Visit {
        WatchedProcessSink& sink;
        ProcessApi& api;
    } visit{sink, m_api};
    m_enumerator.EnumBaseNames([](Dword processId, Dword, const char* name, void* context) -> WinBool {
        auto& visit = *static_cast<Visit*>(context);
        if (!name || !*name) return 1;
        ProgramState* program = visit.sink.WatchedProgram(name);
        if (!program) return 1;
        Handle process = visit.api.OpenProcess(kProcessAllAccess, processId);
        visit.sink.Watch(*program, processId, name, process);
        if (process) visit.api.CloseHandle(process);
        return 1;
    }, &visit);
}

}  // namespace tarnwick
