// What a registration may set besides the CPU class: the I/O priority, the memory
// priority, the processors and efficiency mode. Each is "not set" unless the user
// chose it, and a registration with none set behaves as one from before they existed.
// The save file keeps none of them: they live in a companion file beside it, one
// line per registration that has any, keyed by the program name as the save file
// writes it, so that the save file stays readable by every copy that reads it today.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwick {

// The values are Windows' own (IO_PRIORITY_HINT, MEMORY_PRIORITY_*), -1 for not set.
enum class IoPriority : int { NotSet = -1, VeryLow = 0, Low = 1, Normal = 2 };
enum class MemoryPriority : int { NotSet = -1, VeryLow = 1, Low = 2, Medium = 3, BelowNormal = 4, Normal = 5 };
enum class EfficiencyMode : int { LeftToWindows, AlwaysOff, AlwaysOn };

struct ProgramSettings {
    IoPriority io = IoPriority::NotSet;
    MemoryPriority memory = MemoryPriority::NotSet;
    std::uint64_t processors = 0;  // bit n: logical processor n of the process's group; 0: not set
    EfficiencyMode efficiency = EfficiencyMode::LeftToWindows;

    bool AnySet() const { return *this != ProgramSettings{}; }
    bool operator==(const ProgramSettings&) const = default;
};

// Processors as the user writes them, "0-3,8": numbers and ranges from 0 to 63,
// separated by commas, blanks allowed. Nothing for a text that is not such a list;
// the empty text is the empty set.
std::optional<std::uint64_t> ParseProcessors(std::string_view text);
// The set as ranges, smallest first ("0-3,8"); empty for the empty set.
std::string FormatProcessors(std::uint64_t processors);

// The registration list's last column: the settings that are set, in a few words in
// the user's language ("I/O 低, CPU 0-3, 効率オフ"); empty when none is.
std::string SettingsSummary(const ProgramSettings& settings);

// The companion file of a save file: beside it, its name following the save file's
// ("Tarnwick.sav" gives "Tarnwick.more").
std::string CompanionPath(const std::string& savePath);

inline constexpr const char* kCompanionVersion = "TarnwickMore:1";

// Program names as the save file writes them, with their settings, in the list's order.
using NamedSettings = std::vector<std::pair<std::string, ProgramSettings>>;

// The file's bytes: the header, then "name,io,memory,efficiency,processors" with CR LF
// for each name whose settings are set. The processors come last, holding the rest of
// the line, since their ranges hold commas.
std::string FormatCompanionFile(const NamedSettings& settings);

struct CompanionContents {
    std::map<std::string, ProgramSettings> settings;  // by the name's key (MakeKey)
    int damagedLines = 0;  // skipped: lines that name no settings, or all of another version's file
};
// A missing file (nothing) holds no settings.
CompanionContents ParseCompanionFile(const std::optional<std::string>& text);

}  // namespace tarnwick
