#include "watch/watched_listing.h"

namespace tarnwick {

namespace {

struct TaskVisit {
    WatchedProcessSink& sink;
    Dword processId;
    Handle host;
};

}  // namespace

WatchedProcessListing::WatchedProcessListing(ProcessApi& api, CProcessEnumerator& enumerator)
    : m_api(api), m_enumerator(enumerator), m_snapshot(api) {
    m_useSnapshot = !enumerator.m_unavailable && m_snapshot.Available();
    OsVersion version;
    if (api.GetVersion(version) && version.platformId == kPlatformNt) m_rights = PriorityRights(version);
}

void WatchedProcessListing::List(WatchedProcessSink& sink) {
    if (m_useSnapshot) {
        ListFromSnapshot(sink);
    } else {
        ListProcessByProcess(sink);
    }
}

void WatchedProcessListing::ListFromSnapshot(WatchedProcessSink& sink) {
    m_snapshot.ForEach([&](Dword processId, const char* name) {
        if (ProgramState* program = sink.WatchedProgram(name)) WatchOpened(sink, *program, processId, name);
        if (CProcessEnumerator::IsNtvdm(name)) WatchTasks(sink, processId);
    });
}

void WatchedProcessListing::WatchOpened(WatchedProcessSink& sink, ProgramState& program, Dword processId,
                                        const char* name) {
    Handle process = m_api.OpenProcess(m_rights, processId);
    if (!process) {
        if (m_api.OpenWasDenied()) sink.Unchangeable(program, processId, name);
        return;
    }
    sink.Watch(program, processId, name, process);
    m_api.CloseHandle(process);
}

void WatchedProcessListing::WatchTasks(WatchedProcessSink& sink, Dword processId) {
    // The host is opened once for all its tasks; one that does not open lists none,
    // as the process-by-process listing, which cannot name it, lists none.
    Handle host = m_api.OpenProcess(m_rights, processId);
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
        Dword rights;
    } visit{sink, m_api, m_rights};
    m_enumerator.EnumBaseNames([](Dword processId, Dword, const char* name, void* context) -> WinBool {
        auto& visit = *static_cast<Visit*>(context);
        if (!name || !*name) return 1;
        ProgramState* program = visit.sink.WatchedProgram(name);
        if (!program) return 1;
        Handle process = visit.api.OpenProcess(visit.rights, processId);
        visit.sink.Watch(*program, processId, name, process);
        if (process) visit.api.CloseHandle(process);
        return 1;
    }, &visit);
}

}  // namespace tarnwick
