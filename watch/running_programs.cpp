#include "watch/running_programs.h"

#include <cstdio>

#include "core/mbcs.h"

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
};

WinBool AddRunningProgram(Dword processId, Dword, const char* path, void* context) {
    Listing& listing = *static_cast<Listing*>(context);
    if (!path || !*path) return 1;
    Handle process = listing.processes.OpenProcess(kProcessAllAccess, processId);
    if (!process) return 1;
    RunningProgram program;
    program.name = BaseName(path);
    bool noInfo = false;
    program.description = GetFileDescription(listing.versions, path, &noInfo);
    if (noInfo) program.description = GetFileDescription(listing.versions, program.name);
    program.priority = EntryPriorityName(listing.processes.GetPriorityClass(process));
    listing.processes.CloseHandle(process);
    listing.programs.push_back(std::move(program));
    return 1;
}

}  // namespace

std::vector<RunningProgram> ListRunningPrograms(CProcessEnumerator& enumerator, ProcessApi& processes,
                                                VersionFiles& versions) {
    Listing listing{processes, versions, {}};
    enumerator.EnumFullPaths(&AddRunningProgram, &listing);
    return std::move(listing.programs);
}

}  // namespace tarnwick
