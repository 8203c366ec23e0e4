// Lists the running processes and reports each, by executable base name or full
// path, to a callback: through PSAPI (and, on 32-bit systems, VDMDBG for the 16-bit
// tasks inside NTVDM) on Windows NT, through the Toolhelp snapshot on Windows
// 95/98/Me. The listing functions are loaded by name when the enumerator is constructed.
#pragma once

#include "watch/process_api.h"

namespace tarnwick {

// Process id, 16-bit task handle (0 for an ordinary process), name (empty when the
// process could not be opened or named; valid during the call only), context.
// Returns false to stop the listing.
using ProcessCallback = WinBool (*)(Dword processId, Dword task, const char* name, void* context);

class CProcessEnumerator {
public:
    explicit CProcessEnumerator(ProcessApi& api);
    virtual ~CProcessEnumerator();
    CProcessEnumerator(const CProcessEnumerator&) = delete;
    CProcessEnumerator& operator=(const CProcessEnumerator&) = delete;

    // Both return false when the enumerator is unavailable, the version cannot be
    // read, the system listing fails or the platform is unknown; else true.
    WinBool EnumBaseNames(ProcessCallback callback, void* context);
    WinBool EnumFullPaths(ProcessCallback callback, void* context);

    // The 16-bit tasks inside one NTVDM process, by base name; false where the task
    // listing is unavailable.
    bool EnumTaskBaseNames(Dword processId, ProcessCallback callback, void* context);
    // Whether a process of this base name hosts 16-bit tasks.
    static bool IsNtvdm(const char* baseName);

    int m_unavailable = 1;
    ModuleHandle m_hListLibrary = nullptr;
    ModuleHandle m_hVdmLibrary = nullptr;

    static constexpr Dword kMaxProcesses = 1000;

private:
    enum class NameKind { Base, Full };
    WinBool Enumerate(NameKind kind, ProcessCallback callback, void* context);
    WinBool EnumerateNt(NameKind kind, ProcessCallback callback, void* context);
    WinBool EnumerateWindows9x(NameKind kind, ProcessCallback callback, void* context);
    bool LoadNt();
    bool LoadWindows9x();
    void Release(ModuleHandle& library);

    ProcessApi& m_api;
};

}  // namespace tarnwick
