// Lists the processes of watched programs for the watch cycle. On Windows NT the
// system's process information query names every process and tells its class in one
// call, and a process of a watched program is opened only when its class differs
// from the wanted one; where the query cannot be used, one wide Toolhelp snapshot
// names every process and each process of a watched program is opened, once. Both
// open with the least rights that reading and setting a class need. Elsewhere the
// enumerator's process-by-process listing, which opens and names every process,
// remains.
#pragma once

#include <cstdint>

#include "core/program_table.h"
#include "watch/process_api.h"
#include "watch/process_enumerator.h"
#include "watch/process_query.h"
#include "watch/process_snapshot.h"

namespace tarnwick {

// Receives the processes of watched programs.
class WatchedProcessSink {
public:
    virtual ~WatchedProcessSink() = default;
    // The program a base name belongs to when it is registered and watched; else null
    // (always for the empty name).
    virtual ProgramState* WatchedProgram(const char* name) = 0;
    // Whether a process of the program that runs at this class (0: not known) needs
    // nothing now.
    virtual bool Settled(ProgramState& program, Dword processId, Dword priorityClass) = 0;
    // One of its processes (or the NTVDM host of one of its 16-bit tasks). `process`
    // is a handle with the priority rights, valid during the call, or null where the
    // process-by-process listing named the process but could not open it again.
    virtual void Watch(ProgramState& program, Dword processId, const char* name, Handle process) = 0;
    // One of its processes that the system would not open with those rights: it runs
    // with higher rights than this program.
    virtual void Unchangeable(ProgramState& program, Dword processId, const char* name) = 0;
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
    // A process of a watched name: opened once. One that has ended since it was listed
    // is passed by, as the process-by-process listing passes by one it cannot name.
    // Each returns false once another listing has run inside this one.
    bool WatchOpened(WatchedProcessSink& sink, ProgramState& program, Dword processId, const char* name,
                     std::uint64_t listing);
    // The 16-bit tasks of an NTVDM host that runs at a class (0: not known).
    bool WatchTasks(WatchedProcessSink& sink, Dword processId, Dword hostClass, std::uint64_t listing);

    ProcessApi& m_api;
    CProcessEnumerator& m_enumerator;
    ProcessQuery m_query;
    ProcessSnapshot m_snapshot;
    WatchListing m_kind = WatchListing::ProcessByProcess;
    Dword m_rights = kProcessAllAccess;
    std::uint64_t m_listings = 0;  // listings begun: a change tells that one ran inside another
};

}  // namespace tarnwick
