// What the options dialog decides, apart from its controls: the pages' contents
// taken from the settings, and the OK button's steps in their order. The steps
// that reach outside the settings (reloading the save file, the window's topmost
// state, the shortcuts, the debug privilege) go through OptionsEffects.
#pragma once

#include <string>

#include "core/message_box.h"
#include "core/priority.h"
#include "core/settings.h"

namespace tarnwick {

// The three pages' controls: check boxes as flags, the number fields as text.
struct OptionsForm {
    // General page.
    bool runPanelView = false;
    bool topmostWindow = false;
    bool desktopShortcut = false;
    bool startupShortcut = false;
    // Watch page.
    std::string watchingCycleText;
    std::string retryCountText;
    bool addWatchMode = false;
    bool targetAllAppAvailable = false;  // NT 4.0 and later; a disabled box counts as clear
    bool targetAllApp = false;
    // File page.
    std::string saveFilePath;
    bool saveFilePathHeld = true;  // false: typed with characters that code page 932 cannot hold
    bool autoSaveMode = false;
    bool autoLoadMode = false;
    std::string filesFolder;  // shown only: where the settings and save files lie
};

// The pages as they open.
OptionsForm OptionsFormFrom(const AppSettings& settings, const OsVersion& version);

class OptionsEffects {
public:
    virtual ~OptionsEffects() = default;
    virtual void ReloadSaveFile() = 0;
    // Whether the registrations may be replaced: unsaved changes are asked about
    // first, as at the end, and saved to the save file that they came from.
    virtual bool ConfirmReload() = 0;
    virtual void SetTopmost(bool topmost) = 0;
    virtual void UpdateShortcuts(bool desktop, bool startup) = 0;
    virtual void SetDebugPrivilege(bool enabled) = 0;
};

// The OK button: true when the dialog closes with OK. It stays open, with the
// settings as they were, when the user cancels the question about a changed save
// file or when the settings file cannot be written; so OK pressed again asks again.
// A settings file that another program changed since it was read or written here
// is asked about first: overwritten (Yes), or its options taken into force instead
// of the form's (No, which closes the dialog), or left alone (Cancel).
bool AcceptOptions(AppSettings& settings, const OptionsForm& form, MessageBoxes& boxes, OptionsEffects& effects);

// A save file chosen in the file dialog (or typed) whose path code page 932 cannot hold would
// silently become another path: it is refused with a message. True when it is taken.
bool TakeChosenSaveFile(bool pathHeldExactly, MessageBoxes& boxes);

}  // namespace tarnwick
