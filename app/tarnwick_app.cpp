#include "app/tarnwick_app.h"

#include <commctrl.h>

#include "app/system_folders_win.h"
#include "core/debug_privilege.h"
#include "core/file_places.h"
#include "core/program_settings.h"
#include "core/texts.h"
#include "ui/monitor_dlg.h"
#include "win/controls.h"
#include "win/resources.h"
#include "win/text.h"

namespace tarnwick {

namespace {

class DebugPrivilegeToken final : public PrivilegeToken {
public:
    explicit DebugPrivilegeToken(CTarnwickApp& app) : m_app(app) {}
    bool Switch(bool enable) override {
        return m_app.SetPrivilege("SeDebugPrivilege", enable ? SE_PRIVILEGE_ENABLED : 0);
    }

private:
    CTarnwickApp& m_app;
};

// Owned by whichever window of the program is active: none at start, the options
// dialog when its OK switches the privilege.
class ActiveWindowMessageBoxes final : public MessageBoxes {
public:
    int Show(const std::string& text, const std::string& caption, unsigned flags) override {
        return ShowMessageBox(GetActiveWindow(), text, caption, flags);
    }
};

// Owns the single-instance mutex for as long as it lives.
class InstanceMutex {
public:
    InstanceMutex() : m_handle(CreateMutexW(nullptr, FALSE, kInstanceMutexName)) {}
    ~InstanceMutex() {
        Release();
        if (m_handle) CloseHandle(m_handle);
    }
    void Release() {
        if (m_owned) ReleaseMutex(m_handle);
        m_owned = false;
    }
    bool Created() const { return m_handle != nullptr; }
    bool Acquire(DWORD milliseconds) {
        DWORD wait = WaitForSingleObject(m_handle, milliseconds);
        m_owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        return m_owned;
    }

private:
    HANDLE m_handle;
    bool m_owned = false;
};

// Japanese where Windows' display language is Japanese, English everywhere else;
// the resources (dialogs, menus) follow the same choice.
void UseDisplayLanguage() {
    const bool japanese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
    UseLanguage(japanese ? Language::Japanese : Language::English);
    UseResourceLanguage(japanese ? MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)
                                 : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
}

}  // namespace

CTarnwickApp::CTarnwickApp() : m_settings(ProgramFilePath(), m_files), m_enumerator(m_processApi) {}

void CTarnwickApp::ShowInitError(Text text) {
    ShowMessageBox(nullptr, TextOf(text), TextOf(Text::InitErrorCaption), MB_ICONHAND);
}

BOOL CTarnwickApp::InitInstance() {
    UseDisplayLanguage();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    if (!m_processApi.GetVersion(m_osVersion)) {
        ShowInitError(Text::VersionUnknown);
        return FALSE;
    }
    InstanceMutex mutex;
    if (!mutex.Created()) {
        // Read before any other call: the mutex's constructor makes only this one.
        // Refused means the mutex exists and its owner runs with higher rights (as
        // administrator), whose default security keeps an ordinary start out.
        if (GetLastError() != ERROR_ACCESS_DENIED) {
            ShowInitError(Text::InitFailed);
        } else if (!HandOverToRunningInstance()) {
            ShowMessageBox(nullptr, TextOf(Text::AlreadyRunningElevated), TextOf(Text::AppName), MB_ICONINFORMATION);
        }
        return FALSE;
    }
    if (!mutex.Acquire(50)) {
        HandOverToRunningInstance();
        return FALSE;
    }
    // Only the one running instance looks for its files' folder (the look may write a file).
    Win32SystemFolders folders;
    const FilePlaces places = ChooseFilePlaces(m_settings.GetExeFilePath(), folders, m_files);
    m_settings.UseFilePlaces(places);
    AdoptFromProgramFolder(m_files, places, m_settings.GetSettingsFilePath());
    m_settings.Load();
    AdoptFromProgramFolder(m_files, places, m_settings.GetSaveFilePath());
    AdoptFromProgramFolder(m_files, places, CompanionPath(m_settings.GetSaveFilePath()));
    if (m_enumerator.m_unavailable) {
        mutex.Release();
        ShowInitError(Text::InitFailed);
        return FALSE;
    }
    if (places.inTemporaryFolder) {
        ShowMessageBox(nullptr, UnpackFirstMessage(places), TextOf(Text::AppName), MB_ICONEXCLAMATION);
    }
    DebugPrivilegeToken token(*this);
    ActiveWindowMessageBoxes boxes;
    DebugPrivilege debugPrivilege(token, boxes);
    if (m_settings.m_targetAllApp) debugPrivilege.Apply(true);
    {
        CMonitorDlg monitor(m_settings, m_osVersion, m_enumerator, m_processApi, m_files,
                            [&debugPrivilege](bool enabled) { return debugPrivilege.Apply(enabled); });
        m_pMainWnd = &monitor;
        monitor.DoModalHidden();
        if (m_settings.m_targetAllApp) debugPrivilege.Apply(false);
        mutex.Release();
        m_pMainWnd = nullptr;
    }
    return FALSE;
}

// The running window shows itself, asked by a message: a program may not move or
// show the window of one that runs with higher rights, and the foreground, which a
// program just started holds, can be passed on but not taken by the other.
bool CTarnwickApp::HandOverToRunningInstance() {
    // Found by its title in either language: the running copy may have started under
    // another display language (another account's, an elevated start's).
    HWND running = nullptr;
    for (Language language : {Language::Japanese, Language::English}) {
        if (!running) running = FindWindowW(nullptr, Wide(TextIn(language, Text::MainWindowTitle)).c_str());
    }
    if (!running) return false;
    DWORD owner = 0;
    GetWindowThreadProcessId(running, &owner);
    AllowSetForegroundWindow(owner);
    return PostMessageW(running, RegisterWindowMessageW(kShowMonitorMessage), 0, 0) != FALSE;
}

BOOL CTarnwickApp::SetPrivilege(const char* name, DWORD attributes) {
    if (!HasPrivileges(m_osVersion)) return TRUE;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) return FALSE;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = attributes;
    BOOL ok = LookupPrivilegeValueW(nullptr, Wide(name).c_str(), &privileges.Privileges[0].Luid);
    if (ok) {
        SetLastError(ERROR_SUCCESS);
        ok = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) && GetLastError() == ERROR_SUCCESS;
    }
    CloseHandle(token);
    return ok;
}

// The application object, constructed when the program is loaded.
CTarnwickApp theApp;

}  // namespace tarnwick
