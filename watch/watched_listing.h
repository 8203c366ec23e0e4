// Lists the processes of watched programs for the watch cycle. On Windows NT the
// system's process information query names every process and tells its class,
// session and creation time in one call, and a process of a watched program is
// opened only when its class differs from the wanted one and the cycle does not
// know it as unchangeable; where the query cannot be used, one wide Toolhelp
// snapshot names every process and each process of a watched program is opened once
// a tick. Both open with the least rights that reading and setting a class need.
// Elsewhere the enumerator's process-by-process listing remains, which opens every
// process with full access to name it, and the processes of watched programs once
// more with the least rights. Processes in another user's session (neither this
// program's own nor the services' 0) are passed by in every listing: one account's
// Tarnwick leaves another account's programs alone.
#pragma once

#include <cstdint>
#include <functional>

#include "core/program_table.h"
#include "watch/process_api.h"
#include "watch/process_enumerator.h"
#include "watch/process_query.h"
#include "watch/process_snapshot.h"

namespace tarnwick {

// One process as a listing knows it. The query tells its creation time, so that id and
// time name one process even once its id has been given to a later one; the snapshot
// and the process-by-process listing do not tell it (0), and a process that they list
// is then opened on every tick.
struct ProcessKey {
    Dword id = 0;
    std::int64_t created = 0;
    bool operator==(const ProcessKey&) const = default;
};
struct ProcessKeyHash {
    std::size_t operator()(const ProcessKey& key) const {
        return std::hash<std::int64_t>{}(key.created) ^ key.id;
    }
};

// Receives the processes of watched programs.
class WatchedProcessSink {
public:
    virtual ~WatchedProcessSink() = default;
    // The program a base name belongs to when it is registered and watched; else null
    // (always for the empty name).
    virtual ProgramState* WatchedProgram(const char* name) = 0;
    // Whether a process of the program that runs at this class (0: not known) needs
    // nothing now, not even to be opened.
    virtual bool Settled(ProgramState& program, const ProcessKey& process, Dword priorityClass) = 0;
    // One of its processes (or the NTVDM host of one of its 16-bit tasks). `process`
    // is a handle with the priority rights, valid during the call, or null where the
    // process-by-process listing named the process but could not open it again.
    virtual void Watch(ProgramState& program, const ProcessKey& key, const char* name, Handle process) = 0;
    // One of its processes that the system would not open with those rights: it runs
    // with higher rights than this program.
    virtual void Unchangeable(ProgramState& program, const ProcessKey& process, const char* name) = 0;
};

enum class WatchListing { Query, Snapshot, ProcessByProcess };

class WatchedProcessListing {
public:
    WatchedProcessListing(ProcessApi& api, CProcessEnumerator& enumerator);

    WatchListing Kind() const { return m_kind; }
    // A sink's call may run another listing inside this one (a message box's loop
    // runs the next tick): this one then ends at once, since what it listed may be
    // stale by then and a process id may belong to another program.
    void List(WatchedProcessSink& sink);

private:
    // False when the query fails before it lists anything.
    bool ListFromQuery(WatchedProcessSink& sink, std::uint64_t listing);
    void ListFromSnapshot(WatchedProcessSink& sink, std::uint64_t listing);
    void ListProcessByProcess(WatchedProcessSink& sink, std::uint64_t listing);
    // A process of a watched name: opened once a listing. One that has ended since it was listed
    // is passed by, as the process-by-process listing passes by one it cannot name.
    // Each returns false once another listing has run inside this one.
    bool WatchOpened(WatchedProcessSink& sink, ProgramState& program, const ProcessKey& process, const char* name,
                     std::uint64_t listing);
    // The 16-bit tasks of an NTVDM host that runs at a class (0: not known).
    bool WatchTasks(WatchedProcessSink& sink, const ProcessKey& host, Dword hostClass, std::uint64_t listing);
    // Whether a session is another user's: neither this program's own nor the
    // services' 0 (which the debug privilege reaches). Where this program's own
    // session cannot be told, none is.
    bool OtherUsers(Dword session) const { return m_ownSessionKnown && session != m_ownSession && session != 0; }
    bool OtherUsersProcess(Dword processId);

    ProcessApi& m_api;
    CProcessEnumerator& m_enumerator;
    ProcessQuery m_query;
    ProcessSnapshot m_snapshot;
    WatchListing m_kind = WatchListing::ProcessByProcess;
    Dword m_rights = kProcessAllAccess;
    Dword m_ownSession = 0;
    bool m_ownSessionKnown = false;
    std::uint64_t m_listings = 0;  // listings begun: a change tells that one ran inside another
};

}  // namespace tarnwick
