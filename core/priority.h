// The seven priority choices: their names in the save file and on the screen, class
// values and where they are offered. The file's names are byte-exact.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/message_box.h"

namespace tarnwick {

using PriorityLevel = std::uint32_t;

// Windows priority class values; 0 stands for "none" (active priority only).
inline constexpr PriorityLevel kRealtime = 0x100;
inline constexpr PriorityLevel kHigh = 0x80;
inline constexpr PriorityLevel kAboveNormal = 0x8000;
inline constexpr PriorityLevel kNormal = 0x20;
inline constexpr PriorityLevel kBelowNormal = 0x4000;
inline constexpr PriorityLevel kIdle = 0x40;
inline constexpr PriorityLevel kNoPriority = 0;

// The operating system version record as GetVersionExA fills it, less the text.
struct OsVersion {
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t platformId = 0;  // 1: Windows 95/98/Me, 2: Windows NT
};
inline constexpr std::uint32_t kPlatformWindows = 1;
inline constexpr std::uint32_t kPlatformNt = 2;

// Name of a class as the lists, menus and history show it, in the user's language;
// 0 reads "指定なし" ("(none)"), every value outside the table "低" ("Low").
std::string PriorityName(PriorityLevel level);
// The same without the line for 0, for the entry and running programs dialogs.
std::string EntryPriorityName(PriorityLevel level);
// Class of a shown name (the entry dialog's combo boxes); every other text gives
// the low class.
PriorityLevel EntryPriorityFromName(const std::string& name);

// Name of a class in the save file: Japanese whatever the user's language, so that
// a file reads the same on every Windows.
std::string PriorityFileName(PriorityLevel level);
// Class of a name in the save file; "指定なし" gives 0, every text outside the
// table the low class.
PriorityLevel PriorityFromFileName(const std::string& name);
// What a list cell shows for a priority that the file names `fileText`: the shown
// name of its class, or the file's text itself where that names no class.
std::string ShownPriority(const std::string& fileText, PriorityLevel level);

// Above and below normal exist from Windows 2000 on.
bool HasExtendedPriorities(const OsVersion& version);
// Privileges such as the debug privilege exist from Windows NT 4.0 on.
bool HasPrivileges(const OsVersion& version);

// The levels the entry dialog's combo boxes offer, in their order.
std::span<const PriorityLevel> OfferedLevels(const OsVersion& version);

// One command of the registration list's pop-up menu.
struct PriorityCommand {
    unsigned id;
    bool active;  // sets the active priority (column 4) rather than the specified one
    PriorityLevel level;
    bool asksFirst;
};
// Every quick command, in menu order (specified levels, then active levels).
std::span<const PriorityCommand> PriorityCommands();
// The command with this id, or nullptr.
const PriorityCommand* FindPriorityCommand(unsigned id);
// Whether the command sets the level that a row has now: the menu marks it.
bool QuickCommandMarked(const PriorityCommand& command, PriorityLevel specified, PriorityLevel active);
// Position of the list's pop-up in menu 135: 1 with extended priorities, else 2.
int PriorityMenuPosition(const OsVersion& version);

// Realtime and high need a confirmation before they are set.
bool NeedsConfirmation(PriorityLevel level);

// Asks before one of the two highest classes is set for the named program; only No refuses.
bool ConfirmHighPriority(MessageBoxes& boxes, const std::string& program, PriorityLevel level);

}  // namespace tarnwick
