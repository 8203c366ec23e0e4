// The options and the locations of the program's files. The settings file
// Tarnwick.ini keeps the options between runs, in the files' folder: beside the
// program, or the user's own folder when the program's folder takes no files.
#pragma once

#include <string>

#include "core/file_places.h"
#include "core/files.h"

namespace tarnwick {

class AppSettings {
public:
    // `programFile` is the full path of the running program file; the files lie
    // beside it until UseFilePlaces says otherwise.
    AppSettings(const std::string& programFile, FileSystem& files);
    virtual ~AppSettings() = default;

    // Puts the settings, the default save file and the temporary file into the
    // chosen files' folder; the program file stays where it is.
    void UseFilePlaces(const FilePlaces& places);

    // Reads the settings file over the current values; a missing file keeps them.
    void Load();
    // Writes all options; false when the file cannot be written completely.
    bool Save();
    // Whether another program has changed the settings file since it was read or
    // written here.
    bool ChangedByAnother() { return m_fileVersion.ChangedSince(m_files, m_settingsFilePath); }

    std::string GetSaveFilePath() const { return m_saveFilePath; }
    std::string GetSettingsFilePath() const { return m_settingsFilePath; }
    std::string GetExeFilePath() const { return m_exeFilePath; }  // the running program file
    std::string GetTempFilePath() const { return m_tempFilePath; }
    void SetSaveFilePath(const std::string& path) { m_saveFilePath = path; }
    std::string GetFilesFolder() const { return m_places.filesFolder; }
    bool ProgramInTemporaryFolder() const { return m_places.inTemporaryFolder; }

    // The file's bytes as Save writes them.
    std::string Format() const;

    int m_runPanelView = 1;
    int m_addWatchMode = 1;
    int m_autoSaveMode = 0;
    int m_autoLoadMode = 0;
    int m_desktopShortcut = 0;
    int m_startupShortcut = 0;
    int m_topmostWindow = 0;
    int m_watchingCycleTime = 500;
    int m_retryCount = 3;
    int m_targetAllApp = 0;

    static constexpr int kMinCycleTime = 500;
    static constexpr int kMaxCycleTime = 60000;
    static constexpr int kMaxRetryCount = 9;

private:
    void ApplyLine(std::string_view line);
    // A save file in the files' folder is kept by its bare name, so that a moved
    // folder keeps its registrations; any other path is kept whole.
    std::string SaveFileNameToStore() const;
    std::string SaveFilePathFromStored(std::string_view stored) const;

    FileSystem& m_files;
    KnownVersion m_fileVersion;
    FilePlaces m_places;
    std::string m_saveFilePath;
    std::string m_settingsFilePath;
    std::string m_exeFilePath;
    std::string m_tempFilePath;
};

}  // namespace tarnwick
