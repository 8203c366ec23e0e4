#include "watch/running_programs.h"

#include <cstdio>
#include <unordered_map>

#include "core/mbcs.h"
#include "watch/process_query.h"
#include "watch/process_snapshot.h"

namespace tarnwick {

std::string GetFileDescription(VersionFiles& files, const std::string& path, bool* noInfo) {
    const std::uint32_t size = files.InfoSize(path);
    if (noInfo) *noInfo = size == 0;
    if (size == 0) return {};
    std::unique_ptr<VersionInfo> info = files.Read(path, size);
    if (!info) return {};
    std::optional<std::vector<VersionInfo::Translation>> translations = info->Translations();
    if (!translations) return {};
    std::string description;
    for (const auto& [language, codePage] : *translations) {
        char query[64];
        std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\FileDescription", language, codePage);
        std::string value = info->Value(query);
        if (!value.empty()) description = std::move(value);
    }
    return description;
}

namespace {

struct Listing {
    ProcessApi& processes;
    VersionFiles& versions;
    std::vector<RunningProgram> programs;
    // The classes that the system's query tells without opening any process (it
    // knows those that refuse every open, too); empty where it cannot be used.
    std::unordered_map<Dword, Dword> queried;

    // The queried class, else the one that the open process reads as (0 when none is).
    Dword ClassOf(Dword processId, Handle process) {
        const auto found = queried.find(processId);
        if (found != queried.end() && found->second != 0) return found->second;
        return process ? processes.GetPriorityClass(process) : 0;
    }

    // A program file without version information is looked up once more by its bare name.
    void Add(std::string name, const std::string& path, Dword priorityClass) {
        RunningProgram program;
        bool noInfo = path.empty();
        if (!noInfo) program.description = GetFileDescription(versions, path, &noInfo);
        if (noInfo) program.description = GetFileDescription(versions, name);
        program.name = std::move(name);
        program.priority = EntryPriorityName(priorityClass);
        programs.push_back(std::move(program));
    }
};

WinBool AddRunningProgram(Dword processId, Dword, const char* path, void* context) {
    Listing& listing = *static_cast<Listing*>(context);
    if (!path || !*path) return 1;
    Handle process = listing.processes.OpenProcess(kProcessAllAccess, processId);
    if (!process) return 1;
    listing.Add(BaseName(path), path, listing.ClassOf(processId, process));
    listing.processes.CloseHandle(process);
    return 1;
}

// Every process of the snapshot, those that this program may not change included;
// the path (and the class where the query does not tell it) is read with the limited
// query right alone, and no memory of the process is read.
void ListFromSnapshot(ProcessSnapshot& snapshot, CProcessEnumerator& enumerator, Listing& listing) {
    const QueryFullProcessImageNameFn imagePath = snapshot.ImagePathFunction();
    std::string path;
    snapshot.ForEach([&](Dword processId, const char* name) {
        if (processId == 0) return true;  // the idle process has no program file
        path.clear();
        Handle process = listing.processes.OpenProcess(kProcessQueryLimitedInformation, processId);
        if (process) {
            WideChar wide[kMaxPathBytes];
            Dword length = kMaxPathBytes;
            if (imagePath(process, 0, wide, &length)) {
                listing.processes.ToShiftJis(std::u16string_view(wide, length), path);
            }
        }
        const Dword priorityClass = listing.ClassOf(processId, process);
        if (process) listing.processes.CloseHandle(process);
        listing.Add(name, path, priorityClass);
        if (!CProcessEnumerator::IsNtvdm(name)) return true;
        // Its 16-bit tasks run in its class; they are found by their bare names.
        struct Tasks {
            Listing& listing;
            Dword priorityClass;
        } tasks{listing, priorityClass};
        enumerator.EnumTaskBaseNames(processId, [](Dword, Dword, const char* task, void* context) -> WinBool {
            auto& tasks = *static_cast<Tasks*>(context);
            tasks.listing.Add(task, "", tasks.priorityClass);
            return 1;
        }, &tasks);
        return true;
    });
}

}  // namespace

std::vector<RunningProgram> ListRunningPrograms(CProcessEnumerator& enumerator, ProcessApi& processes,
                                                VersionFiles& versions) {
    Listing listing{processes, versions, {}, {}};
    ProcessQuery query(processes);
    if (query.Available()) {
        query.ForEach([&](const ProcessQuery::Process& process) {
            listing.queried[process.id] = process.priorityClass;
            return true;
        });
    }
    ProcessSnapshot snapshot(processes);
    if (snapshot.ImagePathFunction()) {
        ListFromSnapshot(snapshot, enumerator, listing);
    } else {
        enumerator.EnumFullPaths(&AddRunningProgram, &listing);
    }
    return std::move(listing.programs);
}

}  // namespace tarnwick
