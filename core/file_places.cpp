#include "core/file_places.h"

#include "core/mbcs.h"
#include "core/texts.h"

namespace tarnwick {

namespace {

constexpr const char* kProbeName = "Tarnwick-write-test.tmp";

std::string WithClosingBackslash(const std::string& folder) { return JoinPath(folder, ""); }

}  // namespace

bool IsWithinFolder(std::string_view path, std::string_view folder) {
    const std::string inside = UpperCase(WithClosingBackslash(std::string(folder)));
    return !folder.empty() && UpperCase(path).starts_with(inside);
}

bool IsBareName(std::string_view name) {
    if (name.empty()) return false;
    for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
        if (IsLeadByte(static_cast<unsigned char>(name[i])) && i + 1 == name.size()) return false;
        if (name[i] == '\\' || name[i] == '/' || name[i] == ':') return false;
    }
    return true;
}

bool CanCreateFilesIn(FileSystem& files, const std::string& folder) {
    const std::string probe = JoinPath(folder, kProbeName);
    const bool created = files.Write(probe, "");
    files.Remove(probe);
    return created;
}

FilePlaces ChooseFilePlaces(const std::string& programFile, SystemFolders& folders, FileSystem& files) {
    FilePlaces places;
    places.programFolder = FolderOf(programFile);
    places.filesFolder = places.programFolder;
    for (const std::string& temporary : folders.TemporaryFolders()) {
        places.inTemporaryFolder = places.inTemporaryFolder || IsWithinFolder(programFile, temporary);
    }
    if (!places.inTemporaryFolder && !folders.RefusedToOrdinaryStart(places.programFolder) &&
        CanCreateFilesIn(files, places.programFolder)) {
        return places;
    }
    const std::optional<std::string> perUser = folders.PerUserFolder();
    if (!perUser) return places;  // nowhere better: a failing save reports itself
    folders.MakeFolder(*perUser);
    places.filesFolder = WithClosingBackslash(*perUser);
    return places;
}

void AdoptFromProgramFolder(FileSystem& files, const FilePlaces& places, const std::string& path) {
    if (places.filesFolder == places.programFolder || FolderOf(path) != places.filesFolder) return;
    if (files.Exists(path)) return;
    const std::optional<std::string> bytes = files.Read(JoinPath(places.programFolder, BaseName(path)));
    if (bytes) WriteReplacing(files, path, *bytes);
}

std::string UnpackFirstMessage(const FilePlaces& places) {
    return TextWith(Text::StartedFromTemporaryFolder, {places.filesFolder});
}

}  // namespace tarnwick
