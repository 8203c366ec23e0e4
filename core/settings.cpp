#include "core/settings.h"

#include <algorithm>
#include <utility>

#include "core/mbcs.h"
#include "core/numbers.h"

namespace tarnwick {

namespace {

enum class Key {
    RunPanelView,
    TopmostWindow,
    AddWatchMode,
    AutoSaveMode,
    AutoLoadMode,
    DesktopShortcut,
    StartupShortcut,
    WatchingCycleTime,
    RetryCount,
    SaveFileName,
    TargetAllApp,
};

struct KeyName {
    const char* text;
    Key key;
};

// The search order: the first key found anywhere in a line decides what it sets.
constexpr KeyName kSearchOrder[] = {
    {"RUNPANELVIEW", Key::RunPanelView},
    {"TOPMOSTWINDOW", Key::TopmostWindow},
    {"ADDWATCHMODE", Key::AddWatchMode},
    {"AUTOSAVEMODE", Key::AutoSaveMode},
    {"AUTOLOADMODE", Key::AutoLoadMode},
    {"AUTOLAODMODE", Key::AutoLoadMode},  // misspelt key of older files
    {"DESKTOPSHORTCUT", Key::DesktopShortcut},
    {"STARTUPSHORTCUT", Key::StartupShortcut},
    {"WATCHINGCYCLETIME", Key::WatchingCycleTime},
    {"RETRYCOUNT", Key::RetryCount},
    {"SAVEFILENAME", Key::SaveFileName},
    {"TARGETALLAPP", Key::TargetAllApp},
};

}  // namespace

AppSettings::AppSettings(const std::string& programFile, FileSystem& files) : m_files(files) {
    // JoinPath walks whole characters, so a second byte 0x5C (as in "ソ") never
    // passes for the closing backslash.
    m_places.programFolder = FolderOf(programFile);
    m_exeFilePath = programFile;  // a renamed copy's shortcuts lead to the file that runs
    UseFilePlaces({m_places.programFolder, m_places.programFolder, false});
}

void AppSettings::UseFilePlaces(const FilePlaces& places) {
    m_places = places;
    m_saveFilePath = JoinPath(places.filesFolder, "Tarnwick.sav");
    m_settingsFilePath = JoinPath(places.filesFolder, "Tarnwick.ini");
    m_tempFilePath = JoinPath(places.filesFolder, "Tarnwick.tmp");
}

std::string AppSettings::SaveFileNameToStore() const {
    const std::string name = BaseName(m_saveFilePath);
    if (FolderOf(m_saveFilePath) == m_places.filesFolder && IsBareName(name)) return name;
    return m_saveFilePath;
}

std::string AppSettings::SaveFilePathFromStored(std::string_view stored) const {
    if (IsBareName(stored)) return JoinPath(m_places.filesFolder, stored);
    // Files that moved from the program's folder to the user's: the save file went along.
    if (m_places.filesFolder != m_places.programFolder && FolderOf(stored) == m_places.programFolder &&
        IsBareName(BaseName(stored))) {
        return JoinPath(m_places.filesFolder, BaseName(stored));
    }
    return std::string(stored);
}

void AppSettings::Load() {
    std::optional<std::string> text = m_files.Read(m_settingsFilePath);
    m_fileVersion.Remember(m_files, m_settingsFilePath, text);
    if (!text) {
        // A new user: what was saved comes back at the next start, and a change is not
        // lost by forgetting to save. A file that exists but cannot be read now keeps
        // the values as they are.
        if (!m_files.Exists(m_settingsFilePath)) m_autoSaveMode = m_autoLoadMode = 1;
        return;
    }
    ForEachLine(*text, [this](std::string_view line) {
        ApplyLine(line);
        return true;
    });
}

void AppSettings::ApplyLine(std::string_view line) {
    const KeyName* found = nullptr;
    for (const KeyName& candidate : kSearchOrder) {
        if (line.find(candidate.text) != std::string_view::npos) {
            found = &candidate;
            break;
        }
    }
    if (!found) return;
    std::size_t equals = line.rfind('=');
    std::string_view value = equals == std::string_view::npos ? line : line.substr(equals + 1);
    int number = ParseLeadingInt(value);
    switch (found->key) {
        case Key::RunPanelView: m_runPanelView = number; break;
        case Key::TopmostWindow: m_topmostWindow = number; break;
        case Key::AddWatchMode: m_addWatchMode = number; break;
        case Key::AutoSaveMode: m_autoSaveMode = number; break;
        case Key::AutoLoadMode: m_autoLoadMode = number; break;
        case Key::DesktopShortcut: m_desktopShortcut = number; break;
        case Key::StartupShortcut: m_startupShortcut = number; break;
        case Key::WatchingCycleTime: m_watchingCycleTime = std::clamp(number, kMinCycleTime, kMaxCycleTime); break;
        case Key::RetryCount: m_retryCount = std::clamp(number, 0, kMaxRetryCount); break;
        case Key::SaveFileName: m_saveFilePath = SaveFilePathFromStored(value); break;
        case Key::TargetAllApp: m_targetAllApp = number; break;
    }
}

std::string AppSettings::Format() const {
    std::string out;
    auto number = [&out](const char* key, int value) {
        out += key;
        out += '=';
        out += std::to_string(value);
        out += "\r\n";
    };
    number("RUNPANELVIEW", m_runPanelView);
    number("TOPMOSTWINDOW", m_topmostWindow);
    number("DESKTOPSHORTCUT", m_desktopShortcut);
    number("STARTUPSHORTCUT", m_startupShortcut);
    number("ADDWATCHMODE", m_addWatchMode);
    number("AUTOSAVEMODE", m_autoSaveMode);
    number("AUTOLOADMODE", m_autoLoadMode);
    number("WATCHINGCYCLETIME", m_watchingCycleTime);
    number("RETRYCOUNT", m_retryCount);
    out += "SAVEFILENAME=" + SaveFileNameToStore() + "\r\n";
    number("TARGETALLAPP", m_targetAllApp);
    return out;
}

bool AppSettings::Save() {
    std::string bytes = Format();
    if (!WriteReplacing(m_files, m_settingsFilePath, bytes)) return false;
    m_fileVersion.Remember(m_files, m_settingsFilePath, std::move(bytes));
    return true;
}

}  // namespace tarnwick
