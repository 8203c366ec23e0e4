// The end-to-end scenarios, listed once: main.cpp includes this file, and
// e2e/CMakeLists.txt reads it to make one test per line. The third field says on which
// systems it runs: none, the western system with the Japanese interface; "codepage"
// where the behaviour depends on the system's code page (Japanese names of programs
// and files, texts, the bytes of the save and settings files), again on a Japanese
// system; "english" where the scenario shows the English interface, on the western
// system with an English display language.
//       function                     scenario                                 systems
SCENARIO(StartUp,                     "start-up",                              "codepage")
SCENARIO(StartUpStorm,                "start-up-storm",                        "")
SCENARIO(PlantedLibraries,            "planted-libraries",                     "")
SCENARIO(AddByTypedName,              "add-by-typed-name",                     "codepage")
SCENARIO(AddFromRunningListAndBrowse, "running-list-and-browse",               "codepage")
SCENARIO(ContextMenuSortAndSave,      "context-menu-sort-and-save",            "")
SCENARIO(OptionsPagesAndEffects,      "options-pages-and-effects",             "")
SCENARIO(OptionsSaveFile,             "options-save-file",                     "")
SCENARIO(AutoLoadWatchAndSave,        "auto-load-watch-and-save",              "codepage")
SCENARIO(OldLayout,                   "old-layout",                            "codepage")
SCENARIO(UnwritableProgramFolder,     "unwritable-program-folder",             "")
SCENARIO(FilesThatAreFolders,         "files-that-are-folders",                "")
SCENARIO(SaveFileChangedByAnother,    "save-file-changed-by-another-program",  "codepage")
SCENARIO(FullDisk,                    "full-disk",                             "")
SCENARIO(HugeSaveFile,                "huge-save-file",                        "")
SCENARIO(ForegroundFollowedAtOnce,    "foreground-followed-at-once",           "")
SCENARIO(SoakOfTheRealProgram,        "soak-of-the-real-program",              "")
SCENARIO(MoreSettingsKeptAndApplied, "more-settings",                         "codepage")
SCENARIO(EnglishInterface,            "english-interface",                     "english")
