// The main window, "Tarnwick - モニタ＆設定": the registration list, the execution
// history, the watch timer and the notification-area icon. It runs for the
// program's whole life, usually hidden. Its commands are the portable
// Registrations; this class only wires controls, timer and icon to them.
#pragma once

#include <windows.h>

#include <functional>

#include "core/settings.h"
#include "core/options.h"
#include "core/registrations.h"
#include "watch/foreground_follower.h"
#include "watch/process_enumerator.h"
#include "watch/watch_cycle.h"
#include "ui/control_adapters.h"
#include "ui/program_entry_dlg.h"
#include "ui/program_list_ctrl.h"
#include "ui/shell_links_win.h"
#include "ui/tray_icon.h"
#include "ui/version_files_win.h"
#include "win/dialog.h"

namespace tarnwick {

// Posted by a second start to the running window, which then shows itself as the
// icon's menu item does. A registered message can be let past the filter that keeps
// an unelevated program from moving an elevated program's window.
inline constexpr const wchar_t* kShowMonitorMessage = L"Tarnwick.ShowMonitor";

class CMonitorDlg final : public CDialog, private OptionsEffects {
public:
    // Brings the debug privilege to the option's state; true when that gained it.
    using PrivilegeSwitch = std::function<bool(bool enabled)>;
    CMonitorDlg(AppSettings& settings, const OsVersion& version, CProcessEnumerator& enumerator, ProcessApi& processes,
                FileSystem& files, PrivilegeSwitch setDebugPrivilege, HWND parent = nullptr);
    ~CMonitorDlg() override;

    // Centres the window, shows it on top and makes it the foreground window.
    void ShowMonitor();
    // Runs the options dialog; after OK saves (with auto-save) and restarts the watch timer.
    void OpenOptions();

    static constexpr UINT_PTR kWatchTimer = 1;
    // The foreground poll, and the one-shot tick that a foreground change may wait for.
    static constexpr UINT_PTR kForegroundPollTimer = 2;
    static constexpr UINT_PTR kForegroundTickTimer = 3;  // 4 is the icon's (CTrayIcon::kRetryTimer)
    static constexpr UINT kForegroundPollMs = 50;
    // Posted when a load had to wait for a notification or a tick to end.
    static constexpr UINT kRunWaitingLoad = WM_APP + 1;

private:
    static const MapEntry<CMonitorDlg> kMessageMap[];

    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    // Escape, the 常駐終了(ESC) button, the close box and the icon's quit command.
    void OnCancel() override;
    bool Dispatch(const MessageEvent& event, std::intptr_t& result) override;
    void OnDpiSettled() override;

    std::intptr_t OnSysCommand(const MessageEvent& event);
    std::intptr_t OnPaint(const MessageEvent& event);
    std::intptr_t OnQueryDragIcon(const MessageEvent& event);
    std::intptr_t OnTimer(const MessageEvent& event);
    std::intptr_t OnDestroy(const MessageEvent& event);
    std::intptr_t OnItemChanged(const MessageEvent& event);
    std::intptr_t OnAdd(const MessageEvent& event);
    std::intptr_t OnChange(const MessageEvent& event);
    std::intptr_t OnDoubleClick(const MessageEvent& event);
    std::intptr_t OnOptions(const MessageEvent& event);
    std::intptr_t OnDelete(const MessageEvent& event);
    std::intptr_t OnSave(const MessageEvent& event);
    std::intptr_t OnLoad(const MessageEvent& event);
    std::intptr_t OnClear(const MessageEvent& event);
    std::intptr_t OnHide(const MessageEvent& event);
    std::intptr_t OnQuickCommand(const MessageEvent& event);
    std::intptr_t OnMoreSettings(const MessageEvent& event);
    std::intptr_t OnTrayCallback(const MessageEvent& event);
    std::intptr_t OnTrayMonitor(const MessageEvent& event);
    std::intptr_t OnTrayOptions(const MessageEvent& event);
    std::intptr_t OnTrayQuit(const MessageEvent& event);
    std::intptr_t OnEndSession(const MessageEvent& event);
    std::intptr_t OnRunWaitingLoad(const MessageEvent& event);
    std::intptr_t OnTaskbarCreated(const MessageEvent& event);
    std::intptr_t OnDpiChanged(const MessageEvent& event);
    // A setting or display change, after which the taskbar may have another scaling.
    std::intptr_t OnDisplaySettings(const MessageEvent& event);

    // What accepting the options changes outside the settings.
    void ReloadSaveFile() override;
    bool ConfirmReload() override;
    void SetTopmost(bool topmost) override;
    void UpdateShortcuts(bool desktop, bool startup) override;
    void SetDebugPrivilege(bool enabled) override;

    // A watch tick, from the timer or ahead of it for the foreground.
    void RunWatchTick(WatchCycle::Cause cause);
    // Follows the foreground only while a watched program has an active priority, so
    // that an idle Tarnwick is not woken. The window-event hook reports a change at
    // once on Windows; Wine delivers no such event, so a cheap poll of the foreground
    // window also looks until the hook has proved itself.
    void FollowForegroundWhileNeeded();
    // Runs a tick ahead of the timer when the foreground has passed to another process.
    void FollowForeground();
    static void CALLBACK OnForegroundEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                           DWORD thread, DWORD time);

    // The window's icons at the sizes of its monitor's DPI.
    void LoadIcons();
    // LoadIcons, and the notification-area icon at the taskbar's DPI: whenever either
    // may have changed.
    void RefreshIcons();
    // The columns share the list's whole width, at any font and DPI.
    void SizeColumns();
    // The history lines of the loads since the last call (a damaged companion file).
    void TellLoadNotes();
    // While a dialog or message box of this window is open, the window is disabled and
    // the icon must not act under it; brings that box to the front instead. False
    // when the window is free.
    bool BringModalToFront();
    // Runs the entry dialog on the selected row (the change button and a double-click).
    void EditSelectedProgram();

    CListBox m_historyList;
    CProgramListCtrl m_programList;
    HICON m_hIcon = nullptr;
    HICON m_hSmallIcon = nullptr;

    AppSettings& m_settings;
    const OsVersion& m_version;
    CProcessEnumerator& m_enumerator;
    ProcessApi& m_processes;
    Win32VersionFiles m_versions;
    Win32ShellLinks m_shellLinks;
    PrivilegeSwitch m_setDebugPrivilege;
    ListViewRows m_rows;
    ListBoxHistory m_history;
    WindowMessageBoxes m_boxes;
    SystemClock m_clock;
    Registrations m_registrations;
    WatchCycle m_watchCycle;
    CTrayIcon m_trayIcon{m_hWnd};
    ForegroundFollower m_foregroundFollower;
    HWINEVENTHOOK m_foregroundHook = nullptr;
    bool m_foregroundPolled = false;
    bool m_foregroundHookDelivers = false;
    static CMonitorDlg* s_foregroundListener;
};

}  // namespace tarnwick
