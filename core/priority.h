// The seven priority choices: their texts, class values and where they are offered.
// The texts are stored in the list rows and the save file, so they are byte-exact.
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

// Text of a class for the list columns and the history; 0 reads "指定なし",
// every value outside the table "低".
std::string PriorityName(PriorityLevel level);
// The same without the line for 0, for the entry and running programs dialogs.
std::string EntryPriorityName(PriorityLevel level);
// Class of a text; every text outside the table gives the low class.
PriorityLevel PriorityFromName(const std::string& name);
// As PriorityFromName, but "指定なし" gives the low class too.
PriorityLevel EntryPriorityFromName(const std::string& name);

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
// Position of the list's pop-up in menu 135: 1 with extended priorities, else 2.
int PriorityMenuPosition(const OsVersion& version);

// Realtime and high need a confirmation before they are set.
bool NeedsConfirmation(PriorityLevel level);

// Asks before one of the two highest classes is set; only No refuses.
bool ConfirmHighPriority(MessageBoxes& boxes);

}  // namespace tarnwick
