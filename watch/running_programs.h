// The programs running now, as the running programs dialog lists them for the
// user to pick one: file name, the description from the program file's version
// information, and the current priority. Where the system has the wide snapshot and
// the image path function (Windows Vista and later) every process is listed, those
// that this program may not change included; elsewhere only the processes that open
// with every access right. The class comes from the system's process query, which
// knows it without an open; where the query cannot be used, it is read from the
// opened process.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "watch/process_enumerator.h"

namespace tarnwick {

// A program file's version information as the system reads it.
class VersionInfo {
public:
    using Translation = std::pair<std::uint16_t, std::uint16_t>;  // language, code page
    virtual ~VersionInfo() = default;
    // The pairs of "\VarFileInfo\Translation"; nothing when that query fails.
    virtual std::optional<std::vector<Translation>> Translations() const = 0;
    // The text that a query such as "\StringFileInfo\041104b0\FileDescription"
    // yields; empty when the query fails.
    virtual std::string Value(const std::string& query) const = 0;
};

class VersionFiles {
public:
    virtual ~VersionFiles() = default;
    // The size of the file's version information; 0 when it has none.
    virtual std::uint32_t InfoSize(const std::string& path) = 0;
    // The version information of that size, or null when it cannot be read.
    virtual std::unique_ptr<VersionInfo> Read(const std::string& path, std::uint32_t size) = 0;
};

// The FileDescription of the file's version information, tried for every
// translation in order (a later non-empty value wins); empty text when there is
// none. `noInfo`, when given, tells whether the file has no version information at all.
std::string GetFileDescription(VersionFiles& files, const std::string& path, bool* noInfo = nullptr);

struct RunningProgram {
    std::string name;         // file name with extension
    std::string description;  // from the version information, or empty
    std::string priority;     // the current class's name; "低" when it cannot be known
};

// Lists from the snapshot, or else through the enumerator's full paths; a program
// file without version information is looked up once more by its bare file name.
std::vector<RunningProgram> ListRunningPrograms(CProcessEnumerator& enumerator, ProcessApi& processes,
                                                VersionFiles& versions);

}  // namespace tarnwick
