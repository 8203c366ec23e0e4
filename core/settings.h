// The options and the locations of the program's files. The settings file
// Tarnwick.ini beside the program keeps the options between runs.
#pragma once

#include <string>

#include "core/files.h"

namespace tarnwick {

class AppSettings {
public:
    // `programFile` is the full path of the running program file.
    AppSettings(const std::string& programFile, FileSystem& files);
    virtual ~AppSettings() = default;

    // Reads the settings file over the current values; a missing file keeps them.
    void Load();
    // Writes all options; false when the file cannot be written completely.
    bool Save();

    std::string GetSaveFilePath() const { return m_saveFilePath; }
    std::string GetSettingsFilePath() const { return m_settingsFilePath; }
    std::string GetExeFilePath() const { return m_exeFilePath; }
    std::string GetTempFilePath() const { return m_tempFilePath; }
    void SetSaveFilePath(const std::string& path) { m_saveFilePath = path; }

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

    FileSystem& m_files;
    std::string m_saveFilePath;
    std::string m_settingsFilePath;
    std::string m_exeFilePath;
    std::string m_tempFilePath;
};

}  // namespace tarnwick
