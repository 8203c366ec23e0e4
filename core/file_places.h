// Where the program keeps its settings file, save file and the conversion's
// temporary file: beside the program whenever that folder takes new files, so that
// existing users' files stay where they are; otherwise (a folder such as Program
// Files that a standard user cannot write, or a temporary folder that an archive
// program empties) in the user's own folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"

namespace tarnwick {

// The folders that the system names for the program.
class SystemFolders {
public:
    virtual ~SystemFolders() = default;
    // The user's own folder for the program (%APPDATA%\Tarnwick), whether it exists
    // or not; nothing when the system cannot name it.
    virtual std::optional<std::string> PerUserFolder() = 0;
    // The system's temporary folder, in every form a path into it may take (long
    // and short names).
    virtual std::vector<std::string> TemporaryFolders() = 0;
    // True when the folder exists afterwards.
    virtual bool MakeFolder(const std::string& path) = 0;
    // An elevated start can write where the same user's ordinary start cannot
    // (Program Files), and both must choose the same folder: true when the folder's
    // security refuses new files to the user's unelevated rights. False for any
    // other start, whose own rights are the ordinary ones, and where it cannot be told.
    virtual bool RefusedToOrdinaryStart(const std::string& folder) = 0;
};

struct FilePlaces {
    std::string programFolder;  // each with its closing backslash
    std::string filesFolder;
    bool inTemporaryFolder = false;
};

// Whether the path lies in the folder or below it; letters compared regardless of case.
bool IsWithinFolder(std::string_view path, std::string_view folder);
// A file name alone, with no drive or folder: whole code page 932 characters and no
// separator. A name cut inside a double-byte character is no name.
bool IsBareName(std::string_view name);
// Whether new files can be made in the folder: one is really created and removed,
// since only the attempt tells what the folder's permissions allow this user.
bool CanCreateFilesIn(FileSystem& files, const std::string& folder);

// Beside the program when the user's ordinary start can create files there and it is
// no temporary folder; else the user's own folder. Where the security allows it, a
// file is still tried: a read-only medium or a locked folder refuses whatever the
// rights say, and an elevated start can write wherever its ordinary twin can.
FilePlaces ChooseFilePlaces(const std::string& programFile, SystemFolders& folders, FileSystem& files);

// A file that the files' folder lacks but the program's folder holds under the same
// name is copied over, so the first run with the user's folder keeps the options
// and registrations. Never the other way round: the program's folder is only read.
void AdoptFromProgramFolder(FileSystem& files, const FilePlaces& places, const std::string& path);

// Said once per start when the program runs from a temporary folder.
std::string UnpackFirstMessage(const FilePlaces& places);

}  // namespace tarnwick
