// A scripted Windows for the process listing and the watch cycle: it plays Windows
// NT (with NTVDM and its 16-bit tasks) or Windows 95/98/Me, refuses what it is told
// to refuse, and counts handles so that tests can see every one closed. The listing
// functions it hands out by name forward to the one system that is current. A
// snapshot is a copy of the processes when it was taken, walked by its own handle;
// the process information query reports base priorities as Windows or as Wine 8 does.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <unordered_map>
#include <string>
#include <vector>

#include "watch/process_api.h"

namespace tarnwick::testing {

struct FakeTask {
    Word task;
    std::string fileName;  // full path, as VDMDBG reports it
};

struct FakeProcess {
    Dword id = 0;
    std::string path;  // full executable path; the base name is cut from it
    Dword priority = 0x20;
    int opensLeft = -1;  // opens that succeed before the process refuses (-1: always)
    bool modulesListable = true;
    bool readRefused = false;
    bool setRefused = false;
    bool refusedAsDenied = false;  // a refused read or set says access denied: a driver stripped the rights
    bool elevated = false;  // runs as administrator: opens with the limited query right alone
    bool efficiencyMode = false;
    bool settingsRefused = false;  // each further setting is refused
    bool readBackFails = false, readFailsOnce = false;  // the read right after a set of the class fails
    std::vector<std::pair<ProcessSetting, std::uint64_t>> settings;  // as set, in order
    Dword session = 1;
    std::int64_t created = 0;  // set by Add: each process later than the one before
    std::vector<FakeTask> tasks;
    // The names in wide units, made once per path and shared with the snapshots: the
    // benchmark times the program's work, not the scripted system's.
    struct Names {
        std::string path;
        std::u16string baseName;
    };
    mutable std::shared_ptr<const Names> names;
};

class FakeSystem final : public ProcessApi {
public:
    FakeSystem();
    ~FakeSystem() override;

    // The system: NT (platform 2) on 64-bit Windows unless told otherwise.
    std::optional<OsVersion> version = OsVersion{10, 0, 19045, kPlatformNt};
    bool is64Bit = true;
    std::set<std::string> missingLibraries;
    std::set<std::string> missingFunctions;
    bool listingFails = false;
    std::set<ProcessSetting> settingsMissing;  // what this system does not have
    std::uint64_t machineProcessors = 0xFF;
    std::vector<FakeProcess> processes;
    Dword foreground = 0;
    // The rights any open may have; a wider request is refused as Windows refuses it.
    Dword grantedRights = ~Dword{0};
    // What a set to realtime gives: high without the privilege to raise scheduling priority.
    Dword realtimeGives = 0x100;
    // The base priorities of the query: Windows' own (normal 8) or Wine 8's class index (normal 2).
    bool wineBasePriorities = false;
    // This program's process, listed by the query alone.
    Dword ownId = 2;
    Dword ownClass = 0x20;
    Dword ownSession = 1;

    // What happened.
    int openHandles = 0;
    int opens = 0;
    std::vector<std::string> loaded;
    std::vector<std::string> freed;
    std::vector<std::pair<Dword, Dword>> sets;  // process id, class

    FakeProcess& Add(Dword id, const std::string& path, Dword priority = 0x20);
    FakeProcess* Process(Dword id);

    bool GetVersion(OsVersion& out) override;
    bool Is64BitWindows() override { return is64Bit; }
    ModuleHandle LoadModule(const char* name) override;
    void ReleaseModule(ModuleHandle library) override;
    void* FindFunction(ModuleHandle library, const char* name) override;
    Handle OpenProcess(Dword access, Dword processId) override;
    bool LastCallWasDenied() override { return m_denied; }
    Dword GetPriorityClass(Handle process) override;
    bool SetPriorityClass(Handle process, Dword priorityClass) override;
    SettingOutcome SetProcessSetting(Handle process, ProcessSetting setting, std::uint64_t value) override;
    std::uint64_t MachineProcessors() override { return machineProcessors; }
    void CloseHandle(Handle handle) override;
    bool ProcessSession(Dword processId, Dword& session) override;
    bool InEfficiencyMode(Handle process) override;
    Dword ForegroundProcessId() override { return foreground; }
    Dword CurrentProcessId() override { return ownId; }
    Dword OwnPriorityClass() override { return ownClass; }
    void ToShiftJis(std::u16string_view name, std::string& out) override;

    // The listing functions' behaviour, reached through the exported entry points.
    WinBool EnumProcesses(Dword* ids, Dword bytes, Dword* returned);
    WinBool EnumProcessModules(Handle process, ModuleHandle* modules, Dword bytes, Dword* needed);
    Dword ModuleName(Handle process, ModuleHandle module, WideChar* name, Dword size, bool fullPath);
    WinBool ImagePath(Handle process, Dword flags, WideChar* name, Dword* size);
    int EnumTasks(Dword processId, TaskEnumProcEx callback, LParam context);
    Handle Snapshot();
    WinBool SnapshotEntry(Handle snapshot, ProcessEntry32* entry, bool first);
    WinBool WideSnapshotEntry(Handle snapshot, ProcessEntry32W* entry, bool first);
    std::int32_t QuerySystemInformation(Dword informationClass, void* buffer, Dword bytes, Dword* needed);

    static FakeSystem* current;

private:
    using SnapshotRow = std::pair<Dword, std::shared_ptr<const FakeProcess::Names>>;
    struct SnapshotCopy {
        std::vector<SnapshotRow> entries;
        std::size_t next = 0;
    };
    // The snapshot's next process, or null at its end or for a wrong handle.
    const SnapshotRow* NextInSnapshot(Handle snapshot, bool first);

    std::map<std::string, std::string> m_libraryNames;
    std::unordered_map<Dword, std::size_t> m_positions;  // process id to index, rebuilt when stale
    std::map<Handle, SnapshotCopy> m_snapshots;
    std::uintptr_t m_snapshotsTaken = 0;
    bool m_denied = false;
    std::int64_t m_starts = 0;
};

}  // namespace tarnwick::testing
