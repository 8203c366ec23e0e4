// Every text that the program's code shows, by identifier, in the user's language:
// Japanese where Windows' display language is Japanese, English elsewhere. The
// files never take these texts: the save file keeps its own Japanese names of the
// classes (core/priority.h) whatever the language. Dialogs and menus have theirs in
// the resource script, once per language.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tarnwick {

enum class Language { Japanese, English };

// Chosen once at start, before any window; Japanese until then.
void UseLanguage(Language language);
Language CurrentLanguage();

enum class Text : int {
    // The classes as the lists, menus and history show them.
    PriorityRealtime,
    PriorityHigh,
    PriorityAboveNormal,
    PriorityNormal,
    PriorityBelowNormal,
    PriorityLow,
    PriorityNone,
    // The main window's title, by which a second start finds it too.
    MainWindowTitle,
    // The registration list's watch column.
    Watched,
    Unwatched,
    // Column headings and tabs.
    ColumnWatch,
    ColumnProgram,
    ColumnDescription,
    ColumnSpecified,
    ColumnActive,
    ColumnRunCount,
    ColumnCurrentPriority,
    TabGeneral,
    TabWatch,
    TabFile,
    // The system's file dialogs.
    SaveFileDialogTitle,
    SaveFileFilter,
    ProgramDialogTitle,
    ProgramFilter,
    // Message boxes: each text, then its caption.
    AppName,
    DebugPrivilegeRefused,
    StartedFromTemporaryFolder,  // %1: the folder that keeps the files
    SaveFileChanged,             // %1: the save file's path
    SaveFileChangedCaption,
    SaveFileNotLoaded,  // %1: the save file's path; asked with the caption above
    SettingsFileChanged,  // %1: the settings file's path
    SettingsFileChangedCaption,
    SaveFileSwitched,
    SaveFileSwitchedCaption,
    AutoLoadForStartup,
    AutoLoadForStartupCaption,
    SettingsSaveFailed,  // %1: the settings file's path
    SaveFailedCaption,
    PathNotShiftJis,
    PathNotShiftJisCaption,
    ConfirmHighPriority,  // %1: the program's name, %2: the class
    ConfirmHighPriorityCaption,
    ProgramNameMissing,
    ProgramNameComma,
    ProgramNameWithoutExtension,  // %1: the name with ".exe"; asked with the caption below
    ProgramNameCaption,
    AlreadyRegistered,  // %1: the program's name
    AlreadyRegisteredCaption,
    ConfirmDelete,  // %1: the program's name
    ConfirmDeleteCaption,
    RegistrationsSaveFailed,
    ConfirmEnd,
    ConfirmEndCaption,
    ConfirmReload,
    ConfirmReloadCaption,
    ShortcutFailed,
    InitErrorCaption,
    VersionUnknown,
    InitFailed,
    AlreadyRunningElevated,
    // History lines. %1: the time stamp (may be empty), %2: the program's name.
    HistoryChanged,  // %3: the class before, %4: the class after
    HistoryNotGranted,  // %3: the class wanted, %4: the class granted
    HistoryHigherRights,
    HistoryEfficiencyMode,
    HistoryRefusedRetrying,
    HistoryRefusedUnwatched,
    HistoryNotLoaded,       // %2: the number of registrations in the save file
    HistorySessionEndCopy,  // %2: the path of the copy written at the session's end
    ProcessorsInvalid,
    ProcessorsNotHere,  // %1: the processors as typed, %2: this machine's
    MoreSettingsCaption,
    NotSet,
    EfficiencyLeftToWindows,
    EfficiencyAlwaysOff,
    EfficiencyAlwaysOn,
    ThisComputersProcessors,  // %1: this machine's processors, "0-7"
    ColumnMore,
    HistoryCompanionDamaged,  // %2: the companion file's path, %3: the lines skipped
    // %2: the program's name, %3: the settings as the list sums them up.
    HistorySettingsApplied,
    HistorySettingMissing,
    HistorySettingRefused,
    HistoryNoProcessorsHere,  // %3: the processors, "0-3,8"
    // A registration's further settings, as the list's last column sums them up.
    SettingIo,          // %1: the level
    SettingMemory,      // %1: the level
    SettingProcessors,  // %1: the processors, "0-3,8"
    EfficiencyOff,
    EfficiencyOn,
    IoVeryLow,
    IoLow,
    IoNormal,
    MemoryVeryLow,
    MemoryLow,
    MemoryMedium,
    MemoryBelowNormal,
    MemoryNormal,
    Count
};

// The text in the current language, or in the one given.
const char* TextOf(Text text);
const char* TextIn(Language language, Text text);
// The text with %1 to %9 replaced by the values, in one pass: a value that holds a
// % sign is not read again.
std::string TextWith(Text text, std::initializer_list<std::string_view> values);

}  // namespace tarnwick
