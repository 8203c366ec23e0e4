// Lists the processes of watched programs for the watch cycle. On Windows NT with
// the wide Toolhelp functions, one process snapshot names every process and only a
// process of a watched program is opened, once; elsewhere the enumerator's
// process-by-process listing, which opens and names every process, remains.
#pragma once

#include "core/program_table.h"
#include "watch/process_api.h"
#include "watch/process_enumerator.h"

namespace tarnwick {

// Receives the processes of watched programs.
class WatchedProcessSink {
public:
    virtual ~WatchedProcessSink() = default;
    // The program a base name belongs to when it is registered and watched; else null.
    virtual ProgramState* WatchedProgram(const char* name) = 0;
    // One of its processes (or the NTVDM host of one of its 16-bit tasks). `process`
    // is a full-access handle, valid during the call, or null where the
    // process-by-process listing named the process but could not open it again.
    virtual void Watch(ProgramState& program, Dword processId, const char* name, Handle process) = 0;
};

class WatchedProcessListing {
public:
    WatchedProcessListing(ProcessApi& api, CProcessEnumerator& enumerator);
    ~WatchedProcessListing();
    WatchedProcessListing(const WatchedProcessListing&) = delete;
    WatchedProcessListing& operator=(const WatchedProcessListing&) = delete;

    bool UsesSnapshot() const { return m_snapshot != nullptr; }
    void List(WatchedProcessSink& sink);

private:
    void ListFromSnapshot(WatchedProcessSink& sink);
    void ListProcessByProcess(WatchedProcessSink& sink);
    // A process of a watched name: opened once; one that does not open is passed by,
    // as the process-by-process listing passes by one it cannot name.
    void WatchOpened(WatchedProcessSink& sink, ProgramState& program, Dword processId, const char* name);
    void WatchTasks(WatchedProcessSink& sink, Dword processId);

    ProcessApi& m_api;
    CProcessEnumerator& m_enumerator;
    ModuleHandle m_kernel = nullptr;
    CreateToolhelp32SnapshotFn m_snapshot = nullptr;
    Process32WFn m_first = nullptr;
    Process32WFn m_next = nullptr;
};

}  // namespace tarnwick
