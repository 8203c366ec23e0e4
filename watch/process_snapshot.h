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

// The name of a listed process as the watch cycle matches it: the file name of an
// image name or path, in code page 932, cut to a name buffer's 259 bytes at a whole
// character. Empty when the name does not convert.
void ListedName(ProcessApi& api, std::u16string_view image, std::string& name);

class ProcessSnapshot {
public:
    explicit ProcessSnapshot(ProcessApi& api);
    ~ProcessSnapshot();
    ProcessSnapshot(const ProcessSnapshot&) = delete;
    ProcessSnapshot& operator=(const ProcessSnapshot&) = delete;

    bool Available() const { return m_create != nullptr; }
    // QueryFullProcessImageNameW (Windows Vista and later), or null.
    QueryFullProcessImageNameFn ImagePathFunction() const { return m_imagePath; }

    // Calls visit(processId, name) for every process of one snapshot that has a name
    // (see ListedName; valid during the call only) until it returns false; false when
    // no snapshot could be taken.
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
            ListedName(m_api, std::u16string_view(entry.szExeFile, Length(entry)), name);
            if (!name.empty() && !visit(static_cast<Dword>(entry.th32ProcessID), name.c_str())) break;
            entry.dwSize = sizeof entry;
        }
        m_api.CloseHandle(snapshot);
        return true;
    }

private:
    static std::size_t Length(const ProcessEntry32W& entry);

    ProcessApi& m_api;
    ModuleHandle m_kernel = nullptr;
    CreateToolhelp32SnapshotFn m_create = nullptr;
    Process32WFn m_first = nullptr;
    Process32WFn m_next = nullptr;
    QueryFullProcessImageNameFn m_imagePath = nullptr;
};

}  // namespace tarnwick
