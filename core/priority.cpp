#include "core/priority.h"

#include <array>

namespace tarnwick {

namespace {

struct LevelText {
    PriorityLevel level;
    const char* text;
};

// Every level but "none"; the low class comes last since it is also the fallback.
constexpr std::array<LevelText, 6> kLevels{{
    {kRealtime, "リアルタイム"},
    {kHigh, "高"},
    {kAboveNormal, "通常以上"},
    {kNormal, "通常"},
    {kBelowNormal, "通常以下"},
    {kIdle, "低"},
}};
constexpr const char* kNoneText = "指定なし";

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

std::string EntryPriorityName(PriorityLevel level) {
    for (const LevelText& entry : kLevels) {
        if (entry.level == level) return entry.text;
    }
    return "低";
}

std::string PriorityName(PriorityLevel level) {
    return level == kNoPriority ? kNoneText : EntryPriorityName(level);
}

PriorityLevel EntryPriorityFromName(const std::string& name) {
    for (const LevelText& entry : kLevels) {
        if (name == entry.text) return entry.level;
    }
    return kIdle;
}

PriorityLevel PriorityFromName(const std::string& name) {
    return name == kNoneText ? kNoPriority : EntryPriorityFromName(name);
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

bool NeedsConfirmation(PriorityLevel level) { return level == kRealtime || level == kHigh; }

bool ConfirmHighPriority(MessageBoxes& boxes) {
    int answer = boxes.Show(
        "この設定は、他のアプリケーションの実行速度を著しく\n低下させる可能性があるため、おすすめできません。\n"
        "本当に設定してもよろしいですか？",
        "優先度の確認", kMbYesNo | kMbIconExclamation | kMbDefButton2);
    return answer != kIdNo;
}

}  // namespace tarnwick
