#include "core/options.h"

#include <algorithm>

#include "core/numbers.h"
#include "core/texts.h"

namespace tarnwick {

OptionsForm OptionsFormFrom(const AppSettings& settings, const OsVersion& version) {
    OptionsForm form;
    form.runPanelView = settings.m_runPanelView != 0;
    form.topmostWindow = settings.m_topmostWindow != 0;
    form.desktopShortcut = settings.m_desktopShortcut != 0;
    form.startupShortcut = settings.m_startupShortcut != 0;
    form.watchingCycleText = std::to_string(settings.m_watchingCycleTime);
    form.retryCountText = std::to_string(settings.m_retryCount);
    form.addWatchMode = settings.m_addWatchMode != 0;
    form.targetAllAppAvailable = HasPrivileges(version);
    form.targetAllApp = form.targetAllAppAvailable && settings.m_targetAllApp != 0;
    form.saveFilePath = settings.GetSaveFilePath();
    form.autoSaveMode = settings.m_autoSaveMode != 0;
    form.autoLoadMode = settings.m_autoLoadMode != 0;
    form.filesFolder = settings.GetFilesFolder();
    return form;
}

namespace {

// Every option value of the settings, to give them back when the file cannot be written.
struct OptionValues {
    int runPanelView, addWatchMode, autoSaveMode, autoLoadMode, desktopShortcut, startupShortcut;
    int topmostWindow, watchingCycleTime, retryCount, targetAllApp;
    std::string saveFilePath;
};

OptionValues TakeOptionValues(const AppSettings& s) {
    return {s.m_runPanelView,     s.m_addWatchMode,    s.m_autoSaveMode,  s.m_autoLoadMode,
            s.m_desktopShortcut,  s.m_startupShortcut, s.m_topmostWindow, s.m_watchingCycleTime,
            s.m_retryCount,       s.m_targetAllApp,    s.GetSaveFilePath()};
}

void RestoreOptionValues(AppSettings& s, const OptionValues& v) {
    s.m_runPanelView = v.runPanelView;
    s.m_addWatchMode = v.addWatchMode;
    s.m_autoSaveMode = v.autoSaveMode;
    s.m_autoLoadMode = v.autoLoadMode;
    s.m_desktopShortcut = v.desktopShortcut;
    s.m_startupShortcut = v.startupShortcut;
    s.m_topmostWindow = v.topmostWindow;
    s.m_watchingCycleTime = v.watchingCycleTime;
    s.m_retryCount = v.retryCount;
    s.m_targetAllApp = v.targetAllApp;
    s.SetSaveFilePath(v.saveFilePath);
}

}  // namespace

namespace {

// The other program's options in force, as if this dialog had never been opened;
// the shortcuts, being files of this user's, are left as they are.
void TakeOptionsFromFile(AppSettings& settings, OptionsEffects& effects) {
    const std::string saveFile = settings.GetSaveFilePath();
    settings.Load();
    const std::string otherSaveFile = settings.GetSaveFilePath();
    if (otherSaveFile != saveFile) {
        // Unsaved registrations, if the user keeps them, go to the file they came from.
        settings.SetSaveFilePath(saveFile);
        const bool reload = effects.ConfirmReload();
        settings.SetSaveFilePath(otherSaveFile);
        if (reload) effects.ReloadSaveFile();
    }
    effects.SetTopmost(settings.m_topmostWindow != 0);
    effects.SetDebugPrivilege(settings.m_targetAllApp != 0);
}

}  // namespace

bool AcceptOptions(AppSettings& settings, const OptionsForm& form, MessageBoxes& boxes, OptionsEffects& effects) {
    if (!TakeChosenSaveFile(form.saveFilePathHeld, boxes)) return false;
    if (settings.ChangedByAnother()) {
        switch (AskAboutChangedFile(boxes, Text::SettingsFileChanged, Text::SettingsFileChangedCaption,
                                    settings.GetSettingsFilePath())) {
            case kIdYes: break;
            case kIdNo: TakeOptionsFromFile(settings, effects); return true;
            default: return false;
        }
    }
    bool reload = false;
    if (form.saveFilePath != settings.GetSaveFilePath()) {
        const int answer = boxes.Show(TextOf(Text::SaveFileSwitched), TextOf(Text::SaveFileSwitchedCaption),
                                      kMbYesNoCancel | kMbIconQuestion);
        if (answer == kIdCancel) return false;
        reload = answer == kIdYes;
    }
    // The Startup shortcut starts Tarnwick at every logon; without auto-load that
    // Tarnwick would watch nothing. Asked only when the shortcut is switched on.
    bool autoLoad = form.autoLoadMode;
    if (form.startupShortcut && !settings.m_startupShortcut && !autoLoad) {
        autoLoad = boxes.Show(TextOf(Text::AutoLoadForStartup), TextOf(Text::AutoLoadForStartupCaption),
                              kMbYesNo | kMbIconQuestion) == kIdYes;
    }
    const OptionValues before = TakeOptionValues(settings);
    settings.m_runPanelView = form.runPanelView ? 1 : 0;
    settings.m_topmostWindow = form.topmostWindow ? 1 : 0;
    settings.m_desktopShortcut = form.desktopShortcut ? 1 : 0;
    settings.m_startupShortcut = form.startupShortcut ? 1 : 0;
    settings.m_targetAllApp = form.targetAllAppAvailable && form.targetAllApp ? 1 : 0;
    settings.m_addWatchMode = form.addWatchMode ? 1 : 0;
    settings.m_watchingCycleTime =
        std::clamp(ParseLeadingInt(form.watchingCycleText), AppSettings::kMinCycleTime, AppSettings::kMaxCycleTime);
    settings.m_retryCount = std::clamp(ParseLeadingInt(form.retryCountText), 0, AppSettings::kMaxRetryCount);
    settings.SetSaveFilePath(form.saveFilePath);
    settings.m_autoSaveMode = form.autoSaveMode ? 1 : 0;
    settings.m_autoLoadMode = autoLoad ? 1 : 0;
    if (!settings.Save()) {
        // Not one value stays in force that the file does not hold: an automatic save
        // would write to a new save file, and OK again would see no change to ask about.
        RestoreOptionValues(settings, before);
        boxes.Show(TextWith(Text::SettingsSaveFailed, {settings.GetSettingsFilePath()}),
                   TextOf(Text::SaveFailedCaption), kMbOk | kMbIconExclamation);
        return false;
    }
    if (reload) effects.ReloadSaveFile();
    effects.SetTopmost(form.topmostWindow);
    effects.UpdateShortcuts(form.desktopShortcut, form.startupShortcut);
    effects.SetDebugPrivilege(settings.m_targetAllApp != 0);
    return true;
}

bool TakeChosenSaveFile(bool pathHeldExactly, MessageBoxes& boxes) {
    if (pathHeldExactly) return true;
    boxes.Show(TextOf(Text::PathNotShiftJis), TextOf(Text::PathNotShiftJisCaption), kMbOk | kMbIconExclamation);
    return false;
}

}  // namespace tarnwick
