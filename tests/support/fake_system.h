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
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "watch/process_api.h"

namespace tarnwick::testing {

struct FakeTask { Word task; std::string fileName; };  // the file name: a full path, as VDMDBG reports it

// A path and its base name in wide units.
struct PathNames { std::string path; std::u16string baseName; };

struct FakeProcess {
    Dword id = 0;
    std::string path;  // full executable path; the base name is cut from it
    Dword priority = 0x20;
    int opensLeft = -1;  // opens that succeed before the process refuses (-1: always)
    bool modulesListable = true;
    // A read or set refused as access denied (a driver stripped the rights), or a set refused otherwise.
    bool readDenied = false, setRefused = false, setDenied = false;
    bool elevated = false;  // runs as administrator: opens with the limited query right alone
    bool efficiencyMode = false;
    bool settingsRefused = false;  // each further setting is refused
    bool readBackFails = false, readFailsOnce = false;  // the read right after a set of the class fails
    std::vector<std::pair<ProcessSetting, std::uint64_t>> settings;  // as set, in order
    Dword session = 1;
    std::int64_t created = 0;  // set by Add: each process later than the one before
    std::vector<FakeTask> tasks;
    // Made once per path and shared with the snapshots: the benchmark times the
    // program's work, not the scripted system's.
    mutable std::shared_ptr<const PathNames> names;
};

class FakeSystem final : public ProcessApi {
public:
    FakeSystem() { current = this; }
    ~FakeSystem() override {
        if (current == this) current = nullptr;
    }

    // The system: NT (platform 2) on 64-bit Windows unless told otherwise.
    std::optional<OsVersion> version = OsVersion{10, 0, 19045, kPlatformNt};
    bool is64Bit = true;
    std::set<std::string> missingLibraries, missingFunctions;
    bool listingFails = false;
    std::set<ProcessSetting> settingsMissing;  // what this system does not have
    std::vector<FakeProcess> processes;
    Dword foreground = 0;
    // The rights any open may have; a wider request is refused as Windows refuses it.
    Dword grantedRights = ~Dword{0};
    // What a set to realtime gives: high without the privilege to raise scheduling priority.
    Dword realtimeGives = 0x100;
    // The base priorities of the query: Windows' own (normal 8) or Wine 8's class index (normal 2).
    bool wineBasePriorities = false;
    // This program's class; its process (id 2, session 1) is listed by the query alone.
    Dword ownClass = 0x20;
    static constexpr Dword kOwnId = 2, kOwnSession = 1;

    // What happened.
    int openHandles = 0, opens = 0;
    std::vector<std::string> loaded, freed;
    std::vector<std::pair<Dword, Dword>> sets;  // process id, class

    FakeProcess& Add(Dword id, const std::string& path, Dword priority = 0x20);
    FakeProcess* Process(Dword id);

    bool GetVersion(OsVersion& out) override { return version && (out = *version, true); }
    bool Is64BitWindows() override { return is64Bit; }
    ModuleHandle LoadModule(const char* name) override;
    void ReleaseModule(ModuleHandle library) override { freed.push_back(static_cast<const char*>(library)); }
    void* FindFunction(ModuleHandle library, const char* name) override;
    Handle OpenProcess(Dword access, Dword processId) override;
    bool LastCallWasDenied() override { return m_denied; }
    Dword GetPriorityClass(Handle process) override;
    bool SetPriorityClass(Handle process, Dword priorityClass) override;
    SettingOutcome SetProcessSetting(Handle process, ProcessSetting setting, std::uint64_t value) override;
    std::uint64_t MachineProcessors() override { return 0xFF; }  // eight
    void CloseHandle(Handle handle) override {
        m_snapshots.erase(handle);
        --openHandles;
    }
    bool ProcessSession(Dword processId, Dword& session) override;
    bool InEfficiencyMode(Handle process) override;
    Dword ForegroundProcessId() override { return foreground; }
    Dword CurrentProcessId() override { return kOwnId; }
    Dword OwnPriorityClass() override { return ownClass; }
    void ToShiftJis(std::u16string_view name, std::string& out) override;

    // The listing functions' behaviour, reached through the exported entry points.
    WinBool EnumProcesses(Dword* ids, Dword bytes, Dword* returned);
    WinBool EnumProcessModules(Handle process, ModuleHandle* modules, Dword bytes, Dword* needed);
    Dword ModuleName(Handle process, ModuleHandle module, WideChar* name, Dword size, bool fullPath);
    int EnumTasks(Dword processId, TaskEnumProcEx callback, LParam context);
    Handle Snapshot(Dword flags = kSnapProcess, Dword processId = 0);
    WinBool SnapshotEntry(Handle snapshot, ProcessEntry32* entry, bool first);
    WinBool WideSnapshotEntry(Handle snapshot, ProcessEntry32W* entry, bool first);
    std::int32_t QuerySystemInformation(Dword informationClass, void* buffer, Dword bytes, Dword* needed);

    inline static FakeSystem* current = nullptr;

private:
    struct SnapshotRow { Dword id; std::shared_ptr<const PathNames> names; };
    struct SnapshotCopy { std::vector<SnapshotRow> rows; std::size_t next = 0; };
    // The snapshot's next process, its id put in the entry; null at its end, for a
    // wrong handle or an entry whose size is not set.
    template <typename Entry>
    const SnapshotRow* NextInSnapshot(Handle snapshot, Entry* entry, bool first);

    std::set<std::string> m_libraryNames;
    std::unordered_map<Dword, std::size_t> m_positions;  // process id to index, rebuilt when stale
    std::map<Handle, SnapshotCopy> m_snapshots;
    std::uintptr_t m_snapshotsTaken = 0;
    bool m_denied = false;
    std::int64_t m_starts = 0;
};

}  // namespace tarnwick::testing
