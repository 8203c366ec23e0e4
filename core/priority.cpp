#include "core/priority.h"

#include <array>

#include "core/texts.h"

namespace tarnwick {

namespace {

struct LevelText {
    PriorityLevel level;
    const char* fileText;  // the save file's name of the class, in every language
    Text shown;
};

// Every level but "none"; the low class comes last since it is also the fallback.
constexpr std::array<LevelText, 6> kLevels{{
    {kRealtime, "リアルタイム", Text::PriorityRealtime},
    {kHigh, "高", Text::PriorityHigh},
    {kAboveNormal, "通常以上", Text::PriorityAboveNormal},
    {kNormal, "通常", Text::PriorityNormal},
    {kBelowNormal, "通常以下", Text::PriorityBelowNormal},
    {kIdle, "低", Text::PriorityLow},
}};
constexpr const char* kNoneFileText = "指定なし";

// The level's entry; the low class's for every value outside the table.
const LevelText& LevelOf(PriorityLevel level) {
    for (const LevelText& entry : kLevels) {
        if (entry.level == level) return entry;
    }
    return kLevels.back();
}

constexpr std::array<PriorityLevel, 6> kAllLevels{kRealtime, kHigh, kAboveNormal, kNormal, kBelowNormal, kIdle};
constexpr std::array<PriorityLevel, 4> kBasicLevels{kRealtime, kHigh, kNormal, kIdle};

constexpr std::array<PriorityCommand, 13> kCommands{{
    {32780, false, kRealtime, true},
    {32775, false, kHigh, true},
    {32776, false, kAboveNormal, false},
    {32777, false, kNormal, false},
    {32778, false, kBelowNormal, false},
    {32779, false, kIdle, false},
    {32784, true, kRealtime, true},
    {32785, true, kHigh, true},
    {32786, true, kAboveNormal, false},
    {32787, true, kNormal, false},
    {32788, true, kBelowNormal, false},
    {32789, true, kIdle, false},
    {32790, true, kNoPriority, false},
}};

}  // namespace

std::string EntryPriorityName(PriorityLevel level) { return TextOf(LevelOf(level).shown); }

std::string PriorityName(PriorityLevel level) {
    return level == kNoPriority ? TextOf(Text::PriorityNone) : EntryPriorityName(level);
}

PriorityLevel EntryPriorityFromName(const std::string& name) {
    for (const LevelText& entry : kLevels) {
        if (name == TextOf(entry.shown)) return entry.level;
    }
    return kIdle;
}

std::string PriorityFileName(PriorityLevel level) {
    return level == kNoPriority ? kNoneFileText : LevelOf(level).fileText;
}

PriorityLevel PriorityFromFileName(const std::string& name) {
    if (name == kNoneFileText) return kNoPriority;
    for (const LevelText& entry : kLevels) {
        if (name == entry.fileText) return entry.level;
    }
    return kIdle;
}

std::string ShownPriority(const std::string& fileText, PriorityLevel level) {
    return fileText == PriorityFileName(level) ? PriorityName(level) : fileText;
}

bool HasExtendedPriorities(const OsVersion& version) {
    return version.platformId == kPlatformNt && version.majorVersion > 4;
}

bool HasPrivileges(const OsVersion& version) {
    return version.platformId == kPlatformNt && version.majorVersion >= 4;
}

std::span<const PriorityLevel> OfferedLevels(const OsVersion& version) {
    if (HasExtendedPriorities(version)) return kAllLevels;
    return kBasicLevels;
}

std::span<const PriorityCommand> PriorityCommands() { return kCommands; }

const PriorityCommand* FindPriorityCommand(unsigned id) {
    for (const PriorityCommand& command : kCommands) {
        if (command.id == id) return &command;
    }
    return nullptr;
}

int PriorityMenuPosition(const OsVersion& version) { return HasExtendedPriorities(version) ? 1 : 2; }

bool QuickCommandMarked(const PriorityCommand& command, PriorityLevel specified, PriorityLevel active) {
    return (command.active ? active : specified) == command.level;
}

bool NeedsConfirmation(PriorityLevel level) { return level == kRealtime || level == kHigh; }

bool ConfirmHighPriority(MessageBoxes& boxes, const std::string& program, PriorityLevel level) {
    int answer = boxes.Show(TextWith(Text::ConfirmHighPriority, {program, PriorityName(level)}),
                            TextOf(Text::ConfirmHighPriorityCaption),
                            kMbYesNo | kMbIconExclamation | kMbDefButton2);
    return answer != kIdNo;
}

}  // namespace tarnwick
