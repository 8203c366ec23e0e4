// Lists the processes of watched programs for the watch cycle. On Windows NT with
// the wide Toolhelp functions, one process snapshot names every process and only a
// process of a watched program is opened, once, with the least rights that reading
// and setting its class need; elsewhere the enumerator's process-by-process listing,
// which opens and names every process, remains.
#pragma once

#include "core/program_table.h"
#include "watch/process_api.h"
#include "watch/process_enumerator.h"
#include "watch/process_snapshot.h"

namespace tarnwick {

// Receives the processes of watched programs.
class WatchedProcessSink {
public:
    virtual ~WatchedProcessSink() = default;
    // The program a base name belongs to when it is registered and watched; else null.
    virtual ProgramState* WatchedProgram(const char* name) = 0;
    // One of its processes (or the NTVDM host of one of its 16-bit tasks). `process`
    // is a handle with the priority rights, valid during the call, or null where the
    // process-by-process listing named the process but could not open it again.
    virtual void Watch(ProgramState& program, Dword processId, const char* name, Handle process) = 0;
    // One of its processes that the system would not open with those rights: it runs
    // with higher rights than this program.
    virtual void Unchangeable(ProgramState& program, Dword processId, const char* name) = 0;
};

class WatchedProcessListing {
public:
    WatchedProcessListing(ProcessApi& api, CProcessEnumerator& enumerator);

    bool UsesSnapshot() const { return m_useSnapshot; }
    void List(WatchedProcessSink& sink);

private:
    void ListFromSnapshot(WatchedProcessSink& sink);
    void ListProcessByProcess(WatchedProcessSink& sink);
    // A process of a watched name: opened once. One that has ended since the snapshot
    // is passed by, as the process-by-process listing passes by one it cannot name.
    void WatchOpened(WatchedProcessSink& sink, ProgramState& program, Dword processId, const char* name);
    void WatchTasks(WatchedProcessSink& sink, Dword processId);

    ProcessApi& m_api;
    CProcessEnumerator& m_enumerator;
    ProcessSnapshot m_snapshot;
    bool m_useSnapshot = false;
    Dword m_rights = kProcessAllAccess;
};

}  // namespace tarnwick
