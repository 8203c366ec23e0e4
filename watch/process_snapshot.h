// The wide Toolhelp snapshot of Windows NT: one call names every running process
// without opening any. Its functions (and the one that reads a process's image
// path with limited rights) are found by name in Kernel32, as on Windows; where
// they are missing the callers fall back to the process-by-process listing.
#pragma once

#include <string>
#include <string_view>

#include "core/mbcs.h"
#include "watch/process_api.h"

namespace tarnwick {

class ProcessSnapshot {
public:
    explicit ProcessSnapshot(ProcessApi& api);
    ~ProcessSnapshot();
    ProcessSnapshot(const ProcessSnapshot&) = delete;
    ProcessSnapshot& operator=(const ProcessSnapshot&) = delete;

    bool Available() const { return m_create != nullptr; }
    // QueryFullProcessImageNameW (Windows Vista and later), or null.
    QueryFullProcessImageNameFn ImagePathFunction() const { return m_imagePath; }

    // Calls visit(processId, name) for every process of one snapshot, the base name
    // in code page 932, cut to a name buffer's 259 bytes at a whole character and
    // valid during the call only; false when no snapshot could be taken.
    template <typename Visit>
    bool ForEach(Visit&& visit) {
        Handle snapshot = m_create(kSnapProcess, 0);
        if (snapshot == kInvalidHandle || snapshot == nullptr) return false;
        ProcessEntry32W entry{};
        entry.dwSize = sizeof entry;
        // The listing's own name buffer: a message box that a watch tick shows (a
        // failed auto-save) lets the next tick run inside this one.
        std::string name;
        for (WinBool more = m_first(snapshot, &entry); more; more = m_next(snapshot, &entry)) {
            m_api.ToShiftJis(BaseName(entry), name);
            if (name.size() >= kMaxPathBytes) name.resize(CutToFit(name, kMaxPathBytes - 1).size());
            visit(static_cast<Dword>(entry.th32ProcessID), name.c_str());
            entry.dwSize = sizeof entry;
        }
        m_api.CloseHandle(snapshot);
        return true;
    }

private:
    // The file name of a snapshot entry, without any folder in front of it.
    static std::u16string_view BaseName(const ProcessEntry32W& entry);

    ProcessApi& m_api;
    ModuleHandle m_kernel = nullptr;
    CreateToolhelp32SnapshotFn m_create = nullptr;
    Process32WFn m_first = nullptr;
    Process32WFn m_next = nullptr;
    QueryFullProcessImageNameFn m_imagePath = nullptr;
};

}  // namespace tarnwick
