#include "tests/support/fake_system.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>

#include "core/mbcs.h"

namespace tarnwick::testing {

namespace {

// Process handles carry the process id; snapshots have their own numbers.
constexpr std::uintptr_t kProcessTag = 0x10000000, kSnapshotTag = 0x5A5A0000;

Handle ProcessHandle(Dword id) { return reinterpret_cast<Handle>(kProcessTag + id); }
Dword ProcessIdOf(Handle handle) { return static_cast<Dword>(reinterpret_cast<std::uintptr_t>(handle) - kProcessTag); }

// The exported entry points: each takes the type that the program calls it by and
// forwards, with its arguments `a`, to the system that is current.
FakeSystem& Current() { return *FakeSystem::current; }
#define FORWARD(Type, call) reinterpret_cast<void*>(static_cast<Type>([](auto... a) { return Current().call; }))

// QueryFullProcessImageNameW: the full path; the size in is the buffer's, out the length.
WinBool ImagePath(Handle process, Dword, WideChar* name, Dword* size) {
    *size = Current().ModuleName(process, nullptr, name, *size, true);
    return *size != 0;
}

struct Export { const char *library, *name; void* address; };
const Export kExports[] = {
    {"PSAPI.DLL", "EnumProcesses", FORWARD(EnumProcessesFn, EnumProcesses(a...))},
    {"PSAPI.DLL", "EnumProcessModules", FORWARD(EnumProcessModulesFn, EnumProcessModules(a...))},
    {"PSAPI.DLL", "GetModuleBaseNameW", FORWARD(GetModuleNameFn, ModuleName(a..., false))},
    {"PSAPI.DLL", "GetModuleFileNameExW", FORWARD(GetModuleNameFn, ModuleName(a..., true))},
    {"VDMDBG.DLL", "VDMEnumTaskWOWEx", FORWARD(VdmEnumTaskWowExFn, EnumTasks(a...))},
    {"Kernel32.DLL", "CreateToolhelp32Snapshot", FORWARD(CreateToolhelp32SnapshotFn, Snapshot(a...))},
    {"Kernel32.DLL", "Process32First", FORWARD(Process32Fn, SnapshotEntry(a..., true))},
    {"Kernel32.DLL", "Process32Next", FORWARD(Process32Fn, SnapshotEntry(a..., false))},
    {"Kernel32.DLL", "Process32FirstW", FORWARD(Process32WFn, WideSnapshotEntry(a..., true))},
    {"Kernel32.DLL", "Process32NextW", FORWARD(Process32WFn, WideSnapshotEntry(a..., false))},
    {"Kernel32.DLL", "QueryFullProcessImageNameW",
     reinterpret_cast<void*>(static_cast<QueryFullProcessImageNameFn>(ImagePath))},
    {"ntdll.dll", "NtQuerySystemInformation", FORWARD(NtQuerySystemInformationFn, QuerySystemInformation(a...))},
};
#undef FORWARD

// The file name of a path, found without allocating (the benchmark runs through here).
std::string_view BaseNameOf(std::string_view path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
        if (path[i] == '\\' || path[i] == '/') start = i + 1;
    }
    return path.substr(start);
}

// The scripted system's wide names hold one unit per character, as UTF-16 does:
// a double-byte character becomes the unit (lead << 8 | trail), which ToShiftJis
// turns back. Copied like the system does into a short buffer, cut at the unit.
Dword CopyWideCut(std::string_view text, WideChar* out, Dword size) {
    if (size == 0) return 0;
    Dword length = 0;
    for (std::size_t i = 0; i < text.size() && length + 1 < size; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool pair = IsLeadByte(byte) && i + 1 < text.size();
        out[length++] = pair ? static_cast<WideChar>(byte << 8 | static_cast<unsigned char>(text[++i]))
                             : static_cast<WideChar>(byte);
    }
    out[length] = 0;
    return length;
}

// The path and base name of a process, made again only when its path has changed.
const std::shared_ptr<const PathNames>& NamesOf(const FakeProcess& process) {
    if (!process.names || process.names->path != process.path) {
        WideChar wide[kMaxPathBytes];
        const Dword length = CopyWideCut(BaseNameOf(process.path), wide, kMaxPathBytes);
        process.names = std::make_shared<const PathNames>(PathNames{process.path, std::u16string(wide, length)});
    }
    return process.names;
}

// The base priority that the query reports for a class: Windows' own, or Wine 8's
// index of the class; 0 for a value that is no class.
std::int32_t BasePriority(Dword priorityClass, bool wine) {
    constexpr Dword kClasses[] = {0x40, 0x4000, 0x20, 0x8000, 0x80, 0x100};
    constexpr std::int32_t kWindows[] = {4, 6, 8, 10, 13, 24}, kWine[] = {1, 5, 2, 6, 3, 4};
    const std::size_t i = std::find(std::begin(kClasses), std::end(kClasses), priorityClass) - kClasses;
    return i == std::size(kClasses) ? 0 : wine ? kWine[i] : kWindows[i];
}

}  // namespace

FakeProcess& FakeSystem::Add(Dword id, const std::string& path, Dword priority) {
    FakeProcess& process = processes.emplace_back();
    process.id = id, process.path = path, process.priority = priority, process.created = ++m_starts;
    return process;
}

FakeProcess* FakeSystem::Process(Dword id) {
    // Tests change `processes` freely, so the index is checked before it is trusted.
    auto found = m_positions.find(id);
    if (found == m_positions.end() || found->second >= processes.size() || processes[found->second].id != id) {
        m_positions.clear();
        for (std::size_t i = 0; i < processes.size(); ++i) m_positions.emplace(processes[i].id, i);
        if ((found = m_positions.find(id)) == m_positions.end()) return nullptr;
    }
    return &processes[found->second];
}

ModuleHandle FakeSystem::LoadModule(const char* name) {
    if (missingLibraries.count(name)) return nullptr;
    loaded.push_back(name);
    // Each library gets a handle of its own: the address of its remembered name.
    return const_cast<char*>(m_libraryNames.insert(name).first->c_str());
}

void* FakeSystem::FindFunction(ModuleHandle library, const char* name) {
    for (const Export& entry : kExports) {
        if (!std::strcmp(static_cast<const char*>(library), entry.library) && !std::strcmp(name, entry.name)) {
            return missingFunctions.count(name) ? nullptr : entry.address;
        }
    }
    return nullptr;
}

Handle FakeSystem::OpenProcess(Dword access, Dword processId) {
    ++opens;
    FakeProcess* process = Process(processId);
    const Dword granted = process && process->elevated ? kProcessQueryLimitedInformation : grantedRights;
    m_denied = process && (access & ~granted) != 0;
    if (!process || process->opensLeft == 0 || m_denied) return nullptr;
    if (process->opensLeft > 0) --process->opensLeft;
    ++openHandles;
    return ProcessHandle(processId);
}

Dword FakeSystem::GetPriorityClass(Handle handle) {
    FakeProcess* process = Process(ProcessIdOf(handle));
    m_denied = process && process->readDenied;
    if (process && std::exchange(process->readFailsOnce, false)) return 0;
    return process && !process->readDenied ? process->priority : 0;
}

bool FakeSystem::SetPriorityClass(Handle handle, Dword priorityClass) {
    FakeProcess* process = Process(ProcessIdOf(handle));
    m_denied = process && process->setDenied;
    if (!process || process->setRefused || process->setDenied) return false;
    process->priority = priorityClass == 0x100 ? realtimeGives : priorityClass;
    process->readFailsOnce = process->readBackFails;
    sets.emplace_back(process->id, priorityClass);
    return true;
}

SettingOutcome FakeSystem::SetProcessSetting(Handle handle, ProcessSetting setting, std::uint64_t value) {
    FakeProcess* process = Process(ProcessIdOf(handle));
    if (settingsMissing.count(setting)) return SettingOutcome::NotOnThisSystem;
    if (!process || process->settingsRefused) return SettingOutcome::Refused;
    process->settings.emplace_back(setting, value);
    if (setting == ProcessSetting::Efficiency) process->efficiencyMode = value != 0;
    return SettingOutcome::Done;
}

bool FakeSystem::ProcessSession(Dword processId, Dword& session) {
    const FakeProcess* process = Process(processId);
    if (!process && processId != kOwnId) return false;
    session = process ? process->session : kOwnSession;
    return true;
}

bool FakeSystem::InEfficiencyMode(Handle handle) {
    const FakeProcess* process = Process(ProcessIdOf(handle));
    return process && process->efficiencyMode;
}

WinBool FakeSystem::EnumProcesses(Dword* ids, Dword bytes, Dword* returned) {
    if (listingFails) return 0;
    Dword count = std::min<Dword>(static_cast<Dword>(processes.size()), bytes / sizeof(Dword));
    for (Dword i = 0; i < count; ++i) ids[i] = processes[i].id;
    *returned = count * sizeof(Dword);
    return 1;
}

WinBool FakeSystem::EnumProcessModules(Handle handle, ModuleHandle* modules, Dword bytes, Dword* needed) {
    FakeProcess* process = Process(ProcessIdOf(handle));
    if (!process || !process->modulesListable || bytes < sizeof(ModuleHandle)) return 0;
    modules[0] = reinterpret_cast<ModuleHandle>(0x400000);
    *needed = sizeof(ModuleHandle);
    return 1;
}

void FakeSystem::ToShiftJis(std::u16string_view name, std::string& text) {
    text.clear();
    for (WideChar unit : name) {
        if (unit > 0xFF) text += static_cast<char>(unit >> 8);
        text += static_cast<char>(unit & 0xFF);
    }
}

Dword FakeSystem::ModuleName(Handle handle, ModuleHandle, WideChar* name, Dword size, bool fullPath) {
    FakeProcess* process = Process(ProcessIdOf(handle));
    if (!process || process->path.empty()) return 0;
    return CopyWideCut(fullPath ? std::string_view(process->path) : BaseNameOf(process->path), name, size);
}

int FakeSystem::EnumTasks(Dword processId, TaskEnumProcEx callback, LParam context) {
    FakeProcess* process = Process(processId);
    for (const FakeTask& task : process ? process->tasks : std::vector<FakeTask>{}) {
        std::string fileName = task.fileName;  // the callback takes a writable text
        if (callback(1, 1, task.task, nullptr, fileName.data(), context)) break;
    }
    return 0;
}

Handle FakeSystem::Snapshot(Dword flags, Dword) {
    if (listingFails || flags != kSnapProcess) return kInvalidHandle;
    ++openHandles;
    const Handle handle = reinterpret_cast<Handle>(kSnapshotTag + ++m_snapshotsTaken);
    std::vector<SnapshotRow>& rows = m_snapshots[handle].rows;
    for (const FakeProcess& process : processes) rows.push_back({process.id, NamesOf(process)});
    return handle;
}

template <typename Entry>
const FakeSystem::SnapshotRow* FakeSystem::NextInSnapshot(Handle snapshot, Entry* entry, bool first) {
    auto found = m_snapshots.find(snapshot);
    if (found == m_snapshots.end() || entry->dwSize != sizeof *entry) return nullptr;
    auto& [rows, next] = found->second;
    if (first) next = 0;
    if (next == rows.size()) return nullptr;
    entry->th32ProcessID = rows[next].id;
    return &rows[next++];
}

WinBool FakeSystem::WideSnapshotEntry(Handle snapshot, ProcessEntry32W* entry, bool first) {
    const SnapshotRow* row = NextInSnapshot(snapshot, entry, first);
    // Windows NT's snapshot names the executable without its folder.
    if (row) *std::copy(row->names->baseName.begin(), row->names->baseName.end(), entry->szExeFile) = 0;
    return row != nullptr;
}

WinBool FakeSystem::SnapshotEntry(Handle snapshot, ProcessEntry32* entry, bool first) {
    const SnapshotRow* row = NextInSnapshot(snapshot, entry, first);
    // Copied as the system copies into its short buffer: cut at the byte, characters or not.
    if (row) entry->szExeFile[row->names->path.copy(entry->szExeFile, sizeof entry->szExeFile - 1)] = '\0';
    return row != nullptr;
}

std::int32_t FakeSystem::QuerySystemInformation(Dword informationClass, void* buffer, Dword bytes, Dword* needed) {
    if (informationClass != kSystemProcessInformation || listingFails) return static_cast<std::int32_t>(0xC0000001);
    // This program, then the others; each record is followed by its name and the
    // record of one thread, as the system lays them out.
    static const std::u16string kOwnName = u"Tarnwick.exe";
    auto size = [](const std::u16string& name) { return (sizeof(SystemProcessRecord) + 80 + 2 * name.size() + 7) / 8 * 8; };
    std::size_t total = size(kOwnName);
    for (const FakeProcess& process : processes) total += size(NamesOf(process)->baseName);
    *needed = static_cast<Dword>(total);
    if (total > bytes) return kStatusInfoLengthMismatch;
    auto* at = static_cast<unsigned char*>(buffer);
    SystemProcessRecord* record = nullptr;
    auto put = [&](Dword id, Dword priorityClass, Dword session, std::int64_t created, const std::u16string& name) {
        auto* text = reinterpret_cast<WideChar*>(at + sizeof(SystemProcessRecord));
        std::copy(name.begin(), name.end(), text);
        const auto length = static_cast<Word>(2 * name.size());
        // Its next record, one thread, creation time, name, base priority, id, parent, handles, session.
        record = new (at) SystemProcessRecord{static_cast<Dword>(size(name)), 1, {}, created, {}, length, length,
                                              name.empty() ? nullptr : text,
                                              BasePriority(priorityClass, wineBasePriorities), id, 0, 0, session};
        at += size(name);
    };
    put(kOwnId, ownClass, kOwnSession, 0, kOwnName);
    for (const FakeProcess& process : processes) {
        put(process.id, process.priority, process.session, process.created, NamesOf(process)->baseName);
    }
    record->NextEntryOffset = 0;
    return 0;
}

}  // namespace tarnwick::testing
