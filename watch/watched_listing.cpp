#include "watch/watched_listing.h"

namespace tarnwick {

WatchedProcessListing::WatchedProcessListing(ProcessApi& api, CProcessEnumerator& enumerator)
    : m_api(api), m_enumerator(enumerator), m_query(api), m_snapshot(api) {
    if (!enumerator.m_unavailable && m_query.Available()) {
        m_kind = WatchListing::Query;
    } else if (!enumerator.m_unavailable && m_snapshot.Available()) {
        m_kind = WatchListing::Snapshot;
    }
    OsVersion version;
    if (api.GetVersion(version) && version.platformId == kPlatformNt) m_rights = PriorityRights(version);
}

void WatchedProcessListing::List(WatchedProcessSink& sink) {
    const std::uint64_t listing = ++m_listings;
    // A query that fails now (the memory for its records cannot be had) leaves this
    // tick to the snapshot.
    if (m_kind == WatchListing::Query && ListFromQuery(sink, listing)) return;
    if (m_kind != WatchListing::ProcessByProcess && m_snapshot.Available()) {
        ListFromSnapshot(sink, listing);
    } else {
        ListProcessByProcess(sink, listing);
    }
}

bool WatchedProcessListing::ListFromQuery(WatchedProcessSink& sink, std::uint64_t listing) {
    return m_query.ForEach([&](Dword processId, const char* name, Dword priorityClass) {
        if (ProgramState* program = sink.WatchedProgram(name);
            program && !sink.Settled(*program, processId, priorityClass) &&
            !WatchOpened(sink, *program, processId, name, listing)) {
            return false;
        }
        return !CProcessEnumerator::IsNtvdm(name) || WatchTasks(sink, processId, priorityClass, listing);
    });
}

void WatchedProcessListing::ListFromSnapshot(WatchedProcessSink& sink, std::uint64_t listing) {
    m_snapshot.ForEach([&](Dword processId, const char* name) {
        if (ProgramState* program = sink.WatchedProgram(name);
            program && !WatchOpened(sink, *program, processId, name, listing)) {
            return false;
        }
        return !CProcessEnumerator::IsNtvdm(name) || WatchTasks(sink, processId, 0, listing);
    });
}

bool WatchedProcessListing::WatchOpened(WatchedProcessSink& sink, ProgramState& program, Dword processId,
                                        const char* name, std::uint64_t listing) {
    Handle process = m_api.OpenProcess(m_rights, processId);
    if (!process) {
        if (m_api.OpenWasDenied()) sink.Unchangeable(program, processId, name);
    } else {
        sink.Watch(program, processId, name, process);
        m_api.CloseHandle(process);
    }
    return m_listings == listing;
}

bool WatchedProcessListing::WatchTasks(WatchedProcessSink& sink, Dword processId, Dword hostClass,
                                       std::uint64_t listing) {
    struct TaskVisit {
        WatchedProcessListing& listing;
        WatchedProcessSink& sink;
        Dword processId;
        Dword hostClass;
        std::uint64_t number;
        Handle host;
    } visit{*this, sink, processId, hostClass, listing, nullptr};
    m_enumerator.EnumTaskBaseNames(processId, [](Dword, Dword, const char* name, void* context) -> WinBool {
        auto& visit = *static_cast<TaskVisit*>(context);
        ProgramState* program = visit.sink.WatchedProgram(name);
        if (!program || visit.sink.Settled(*program, visit.processId, visit.hostClass)) return 1;
        // The host is opened once, for the first task that needs it. One that does not
        // open lists no more tasks, as the process-by-process listing, which cannot
        // name it, lists none.
        if (!visit.host) visit.host = visit.listing.m_api.OpenProcess(visit.listing.m_rights, visit.processId);
        if (!visit.host) return 0;
        visit.sink.Watch(*program, visit.processId, name, visit.host);
        return visit.listing.m_listings == visit.number;
    }, &visit);
    if (visit.host) m_api.CloseHandle(visit.host);
    return m_listings == listing;
}

void WatchedProcessListing::ListProcessByProcess(WatchedProcessSink& sink, std::uint64_t listing) {
    struct Visit {
        WatchedProcessListing& listing;
        WatchedProcessSink& sink;
        std::uint64_t number;
    } visit{*this, sink, listing};
    m_enumerator.EnumBaseNames([](Dword processId, Dword, const char* name, void* context) -> WinBool {
        auto& visit = *static_cast<Visit*>(context);
        ProgramState* program = visit.sink.WatchedProgram(name);
        if (!program) return 1;
        Handle process = visit.listing.m_api.OpenProcess(visit.listing.m_rights, processId);
        visit.sink.Watch(*program, processId, name, process);
        if (process) visit.listing.m_api.CloseHandle(process);
        return visit.listing.m_listings == visit.number;
    }, &visit);
}

}  // namespace tarnwick
