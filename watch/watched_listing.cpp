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
    m_ownSessionKnown = api.ProcessSession(api.CurrentProcessId(), m_ownSession);
}

// ProcessIdToSessionId needs the query right on the process, which a Tarnwick that is
// not elevated lacks for another user's process: its session stays unknown, and the
// open that follows is refused as for a program with higher rights (told once). The
// query listing, which reads every session from its records, has no such gap.
bool WatchedProcessListing::OtherUsersProcess(Dword processId) {
    Dword session = 0;
    return m_ownSessionKnown && m_api.ProcessSession(processId, session) && OtherUsers(session);
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
    return m_query.ForEach([&](const ProcessQuery::Process& process) {
        if (OtherUsers(process.session)) return true;
        const ProcessKey key{process.id, process.created};
        if (ProgramState* program = sink.WatchedProgram(process.name);
            program && !sink.Settled(*program, key, process.priorityClass) &&
            !WatchOpened(sink, *program, key, process.name, listing)) {
            return false;
        }
        return !CProcessEnumerator::IsNtvdm(process.name) || WatchTasks(sink, key, process.priorityClass, listing);
    });
}

void WatchedProcessListing::ListFromSnapshot(WatchedProcessSink& sink, std::uint64_t listing) {
    m_snapshot.ForEach([&](Dword processId, const char* name) {
        ProgramState* program = sink.WatchedProgram(name);
        const bool ntvdm = CProcessEnumerator::IsNtvdm(name);
        // The session is asked only of the processes that matter: one call each.
        if ((program || ntvdm) && OtherUsersProcess(processId)) return true;
        if (program && !WatchOpened(sink, *program, {processId, 0}, name, listing)) return false;
        return !ntvdm || WatchTasks(sink, {processId, 0}, 0, listing);
    });
}

bool WatchedProcessListing::WatchOpened(WatchedProcessSink& sink, ProgramState& program, const ProcessKey& key,
                                        const char* name, std::uint64_t listing) {
    Handle process = m_api.OpenProcess(m_rights, key.id);
    if (!process) {
        if (m_api.LastCallWasDenied()) sink.Unchangeable(program, key, name);
    } else {
        sink.Watch(program, key, name, process);
        m_api.CloseHandle(process);
    }
    return m_listings == listing;
}

bool WatchedProcessListing::WatchTasks(WatchedProcessSink& sink, const ProcessKey& host, Dword hostClass,
                                       std::uint64_t listing) {
    struct TaskVisit {
        WatchedProcessListing& listing;
        WatchedProcessSink& sink;
        ProcessKey key;
        Dword hostClass;
        std::uint64_t number;
        Handle host;
    } visit{*this, sink, host, hostClass, listing, nullptr};
    m_enumerator.EnumTaskBaseNames(host.id, [](Dword, Dword, const char* name, void* context) -> WinBool {
        auto& visit = *static_cast<TaskVisit*>(context);
        ProgramState* program = visit.sink.WatchedProgram(name);
        if (!program || visit.sink.Settled(*program, visit.key, visit.hostClass)) return 1;
        // The host is opened once, for the first task that needs it. One that does not
        // open lists no more tasks, as the process-by-process listing, which cannot
        // name it, lists none.
        if (!visit.host) visit.host = visit.listing.m_api.OpenProcess(visit.listing.m_rights, visit.key.id);
        if (!visit.host) return 0;
        visit.sink.Watch(*program, visit.key, name, visit.host);
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
        if (!program || visit.listing.OtherUsersProcess(processId)) return 1;
        Handle process = visit.listing.m_api.OpenProcess(visit.listing.m_rights, processId);
        visit.sink.Watch(*program, {processId, 0}, name, process);
        if (process) visit.listing.m_api.CloseHandle(process);
        return visit.listing.m_listings == visit.number;
    }, &visit);
}

}  // namespace tarnwick
