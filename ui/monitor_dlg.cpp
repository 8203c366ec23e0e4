#include "ui/monitor_dlg.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <iterator>

#include "core/texts.h"
#include "res/resource.h"
#include "ui/about_dlg.h"
#include "ui/option_dlg.h"
#include "ui/program_settings_dlg.h"
#include "win/resources.h"
#include "win/system_library.h"
#include "win/text.h"

namespace tarnwick {

namespace {

// The number of the shell's "TaskbarCreated" broadcast, registered by the window.
unsigned g_taskbarCreated = 0;
unsigned g_showMonitor = 0;  // kShowMonitorMessage

// In the user's language, which is chosen at start.
std::array<ColumnLayout, kColumnCount> Columns() {
    return {{
        {TextOf(Text::ColumnWatch), 8, LVCFMT_LEFT, false},
        {TextOf(Text::ColumnProgram), 15, LVCFMT_LEFT, true},
        {TextOf(Text::ColumnDescription), 15, LVCFMT_LEFT, true},
        {TextOf(Text::ColumnSpecified), 12, LVCFMT_LEFT, false},
        {TextOf(Text::ColumnActive), 12, LVCFMT_LEFT, false},
        {TextOf(Text::ColumnRunCount), 9, LVCFMT_RIGHT, false},
        {TextOf(Text::ColumnMore), 14, LVCFMT_LEFT, true},
    }};
}

// Functions of newer Windows, looked up at run time so that older ones still start.
template <typename Function>
Function User32Function(const char* name) {
    return LoadedSystemFunction<Function>(L"user32.dll", name);
}

}  // namespace

const MapEntry<CMonitorDlg> CMonitorDlg::kMessageMap[] = {
    {Route::Message, WM_SYSCOMMAND, 0, &CMonitorDlg::OnSysCommand},
    {Route::Message, WM_PAINT, 0, &CMonitorDlg::OnPaint},
    {Route::Message, WM_QUERYDRAGICON, 0, &CMonitorDlg::OnQueryDragIcon},
    {Route::Command, IDC_ADD, 0, &CMonitorDlg::OnAdd},
    {Route::Command, IDC_CHANGE, 0, &CMonitorDlg::OnChange},
    {Route::Command, IDC_DELETE, 0, &CMonitorDlg::OnDelete},
    {Route::Command, IDC_SAVE, 0, &CMonitorDlg::OnSave},
    {Route::Command, IDC_LOAD, 0, &CMonitorDlg::OnLoad},
    {Route::Command, IDC_CLEAR, 0, &CMonitorDlg::OnClear},
    {Route::Command, IDC_OPTIONS, 0, &CMonitorDlg::OnOptions},
    {Route::Command, ID_TRAY_OPTIONS, 0, &CMonitorDlg::OnTrayOptions},
    {Route::Notify, IDC_PROGRAM_LIST, static_cast<unsigned>(NM_DBLCLK), &CMonitorDlg::OnDoubleClick},
    {Route::Notify, IDC_PROGRAM_LIST, static_cast<unsigned>(LVN_ITEMCHANGED), &CMonitorDlg::OnItemChanged},
    {Route::Message, WM_TIMER, 0, &CMonitorDlg::OnTimer},
    {Route::Message, WM_DESTROY, 0, &CMonitorDlg::OnDestroy},
    {Route::Command, IDC_HIDE, 0, &CMonitorDlg::OnHide},
    {Route::Message, CTrayIcon::kCallbackMessage, 0, &CMonitorDlg::OnTrayCallback},
    {Route::Command, ID_TRAY_MONITOR, 0, &CMonitorDlg::OnTrayMonitor},
    {Route::Command, ID_TRAY_QUIT, 0, &CMonitorDlg::OnTrayQuit},
    {Route::Message, WM_ENDSESSION, 0, &CMonitorDlg::OnEndSession},
    {Route::Message, kRunWaitingLoad, 0, &CMonitorDlg::OnRunWaitingLoad},
    {Route::Command, ID_SPECIFIED_HIGH, 0, &CMonitorDlg::OnQuickCommand},
    {Route::Command, ID_SPECIFIED_ABOVE_NORMAL, 0, &CMonitorDlg::OnQuickCommand},
    {Route::Command, ID_SPECIFIED_NORMAL, 0, &CMonitorDlg::OnQuickCommand},
    {Route::Command, ID_SPECIFIED_BELOW_NORMAL, 0, &CMonitorDlg::OnQuickCommand},
    {Route::Command, ID_SPECIFIED_IDLE, 0, &CMonitorDlg::OnQuickCommand},
    {Route::Command, ID_SPECIFIED_REALTIME, 0, &CMonitorDlg::OnQuickCommand},
    {Route::Command, ID_ACTIVE_REALTIME, 0, &CMonitorDlg::OnQuickCommand},
    {Route::Command, ID_ACTIVE_HIGH, 0, &CMonitorDlg::OnQuickCommand},
    {Route::Command, ID_ACTIVE_ABOVE_NORMAL, 0, &CMonitorDlg::OnQuickCommand},
    {Route::Command, ID_ACTIVE_NORMAL, 0, &CMonitorDlg::OnQuickCommand},
    {Route::Command, ID_ACTIVE_BELOW_NORMAL, 0, &CMonitorDlg::OnQuickCommand},
    {Route::Command, ID_ACTIVE_IDLE, 0, &CMonitorDlg::OnQuickCommand},
    {Route::Command, ID_ACTIVE_NONE, 0, &CMonitorDlg::OnQuickCommand},
    {Route::Command, ID_MORE_SETTINGS, 0, &CMonitorDlg::OnMoreSettings},
    {Route::Registered, 0, 0, &CMonitorDlg::OnTaskbarCreated, &g_taskbarCreated},
    {Route::Registered, 0, 0, &CMonitorDlg::OnTrayMonitor, &g_showMonitor},
    {Route::Message, WM_DPICHANGED, 0, &CMonitorDlg::OnDpiChanged},
    {Route::Message, WM_SETTINGCHANGE, 0, &CMonitorDlg::OnDisplaySettings},
    {Route::Message, WM_DISPLAYCHANGE, 0, &CMonitorDlg::OnDisplaySettings},
};

CMonitorDlg* CMonitorDlg::s_foregroundListener = nullptr;

CMonitorDlg::CMonitorDlg(AppSettings& settings, const OsVersion& version, CProcessEnumerator& enumerator,
                         ProcessApi& processes, FileSystem& files, PrivilegeSwitch setDebugPrivilege, HWND parent)
    : CDialog(IDD_MONITOR, parent),
      m_programList(version),
      m_settings(settings),
      m_version(version),
      m_enumerator(enumerator),
      m_processes(processes),
      m_setDebugPrivilege(std::move(setDebugPrivilege)),
      m_rows(m_programList),
      m_history(m_historyList),
      m_boxes(m_hWnd),
      m_registrations(m_rows, settings, m_boxes, files),
      m_watchCycle(m_registrations, m_history, processes, m_clock, settings, enumerator) {
    g_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    g_showMonitor = RegisterWindowMessageW(kShowMonitorMessage);
}

CMonitorDlg::~CMonitorDlg() {
    for (HICON icon : {m_hIcon, m_hSmallIcon}) {
        if (icon) DestroyIcon(icon);
    }
}

void CMonitorDlg::LoadIcons() {
    const UINT dpi = DpiOf(m_hWnd);
    const HICON old[] = {m_hIcon, m_hSmallIcon};
    m_hIcon = LoadIconSized(IDR_MAINFRAME, MetricAt(SM_CXICON, dpi));
    m_hSmallIcon = LoadIconSized(IDR_MAINFRAME, MetricAt(SM_CXSMICON, dpi));
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
    for (HICON icon : old) {
        if (icon) DestroyIcon(icon);
    }
}

void CMonitorDlg::DoDataExchange() {
    DDX_Control(IDC_HISTORY, m_historyList);
    DDX_Control(IDC_PROGRAM_LIST, m_programList);
}

BOOL CMonitorDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE)) {
        const std::wstring text = LoadResourceString(IDS_ABOUTBOX);
        if (!text.empty()) {
            AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, text.c_str());
        }
    }
    LoadIcons();
    // An elevated program gets no messages from the unelevated shell unless it lets
    // them in; without this the icon would not come back after Explorer restarts,
    // nor would an unelevated second start bring the window forward.
    using FilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    if (const auto allow = User32Function<FilterFunction>("ChangeWindowMessageFilterEx")) {
        allow(m_hWnd, g_taskbarCreated, MSGFLT_ALLOW, nullptr);
        allow(m_hWnd, g_showMonitor, MSGFLT_ALLOW, nullptr);
    }
    m_trayIcon.Add();
    m_programList.InsertColumns(Columns());
    m_programList.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    m_programList.MarkPrioritiesOf(m_rows);
    m_registrations.PostLoadsWith([this] { PostMessageW(m_hWnd, kRunWaitingLoad, 0, 0); });
    if (m_settings.m_autoLoadMode) m_registrations.LoadTable();
    SizeColumns();
    for (const std::string& note : m_registrations.StartNotes(TimeStamp(m_clock))) AddHistoryLine(m_history, note);
    TellLoadNotes();
    if (m_settings.m_runPanelView) {
        SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    }
    if (m_settings.m_topmostWindow) {
        SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    }
    SetTimer(m_hWnd, kWatchTimer, static_cast<UINT>(m_settings.m_watchingCycleTime), nullptr);
    s_foregroundListener = this;
    FollowForegroundWhileNeeded();
    return TRUE;
}

bool CMonitorDlg::Dispatch(const MessageEvent& event, std::intptr_t& result) {
    const bool handled = tarnwick::Dispatch<CMonitorDlg>(*this, kMessageMap, event, result);
    // Commands, the list's notifications and the watch tick are what change the
    // registrations, and with them whether the foreground needs following.
    if (event.message == WM_COMMAND || event.message == WM_NOTIFY || event.message == WM_TIMER) {
        FollowForegroundWhileNeeded();
    }
    // Commands (a double click edits) and a waiting load are what load the list or bring
    // new texts to it; its columns then show them uncut, and what a load has to tell is
    // told. Not on every notification: setting a width notifies again.
    if (handled && (event.message == WM_COMMAND || event.message == kRunWaitingLoad ||
                    (event.message == WM_NOTIFY && event.code == static_cast<unsigned>(NM_DBLCLK)))) {
        SizeColumns();
        TellLoadNotes();
    }
    return handled;
}

void CMonitorDlg::FollowForegroundWhileNeeded() {
    const bool needed = m_hWnd && m_registrations.Programs().AnyWatchedWithActivePriority();
    if (needed && !m_foregroundHook) {
        m_foregroundFollower.ForegroundSeen(m_processes.ForegroundProcessId(), GetTickCount64());
        m_foregroundHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                           &OnForegroundEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    } else if (!needed && m_foregroundHook) {
        UnhookWinEvent(m_foregroundHook);
        m_foregroundHook = nullptr;
    }
    const bool poll = needed && !m_foregroundHookDelivers;
    if (poll != m_foregroundPolled) {
        if (poll) {
            SetTimer(m_hWnd, kForegroundPollTimer, kForegroundPollMs, nullptr);
        } else {
            KillTimer(m_hWnd, kForegroundPollTimer);
        }
        m_foregroundPolled = poll;
    }
}

std::intptr_t CMonitorDlg::OnSysCommand(const MessageEvent& event) {
    if ((event.wParam & 0xFFF0) != IDM_ABOUTBOX) return FALSE;  // default processing
    CAboutDlg about(m_hWnd);
    about.DoModal();
    return TRUE;
}

std::intptr_t CMonitorDlg::OnPaint(const MessageEvent&) {
    if (!IsIconic(m_hWnd)) return FALSE;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(m_hWnd, &paint);
    return TRUE;
}

std::intptr_t CMonitorDlg::OnQueryDragIcon(const MessageEvent&) { return reinterpret_cast<std::intptr_t>(m_hIcon); }

std::intptr_t CMonitorDlg::OnTimer(const MessageEvent& event) {
    switch (event.wParam) {
        case kWatchTimer:
            RunWatchTick(WatchCycle::Cause::Timer);
            break;
        case kForegroundPollTimer:
            FollowForeground();
            break;
        case kForegroundTickTimer:
            RunWatchTick(WatchCycle::Cause::Foreground);
            break;
        case CTrayIcon::kRetryTimer:
            m_trayIcon.RetryTimerFired();
            break;
    }
    return FALSE;
}

void CMonitorDlg::RunWatchTick(WatchCycle::Cause cause) {
    // Any tick does what a one-shot tick still waiting for the gap would do: it is
    // cancelled, so that a tick of the foreground never follows another within the
    // gap. The timer's ticks keep their own time.
    KillTimer(m_hWnd, kForegroundTickTimer);
    m_watchCycle.Tick(cause);
    m_foregroundFollower.Ticked(GetTickCount64());
}

void CMonitorDlg::FollowForeground() {
    const ForegroundFollower::Decision decision =
        m_foregroundFollower.ForegroundSeen(m_processes.ForegroundProcessId(), GetTickCount64());
    if (!decision.tick) return;
    if (decision.delayMs == 0) {
        RunWatchTick(WatchCycle::Cause::Foreground);
    } else {
        SetTimer(m_hWnd, kForegroundTickTimer, static_cast<UINT>(decision.delayMs), nullptr);
    }
}

void CALLBACK CMonitorDlg::OnForegroundEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
    CMonitorDlg* listener = s_foregroundListener;
    if (!listener) return;
    if (!listener->m_foregroundHookDelivers) {
        listener->m_foregroundHookDelivers = true;
        listener->FollowForegroundWhileNeeded();  // the hook delivers: the poll can stop
    }
    listener->FollowForeground();
}

std::intptr_t CMonitorDlg::OnDestroy(const MessageEvent&) {
    KillTimer(m_hWnd, kWatchTimer);
    KillTimer(m_hWnd, kForegroundPollTimer);
    m_foregroundPolled = false;
    KillTimer(m_hWnd, kForegroundTickTimer);
    if (m_foregroundHook) UnhookWinEvent(m_foregroundHook);
    m_foregroundHook = nullptr;
    s_foregroundListener = nullptr;
    m_trayIcon.Remove();
    return FALSE;
}

std::intptr_t CMonitorDlg::OnItemChanged(const MessageEvent& event) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(event.lParam);
    m_registrations.SetWatched(change->iItem);
    return 0;
}

std::intptr_t CMonitorDlg::OnAdd(const MessageEvent&) {
    CProgramEntryDlg dialog(m_hWnd, m_version, m_enumerator, m_processes, m_versions);
    m_registrations.AddProgram(dialog);
    return TRUE;
}

void CMonitorDlg::EditSelectedProgram() {
    CProgramEntryDlg dialog(m_hWnd, m_version, m_enumerator, m_processes, m_versions);
    m_registrations.EditSelected(dialog);
}

std::intptr_t CMonitorDlg::OnChange(const MessageEvent&) {
    EditSelectedProgram();
    return TRUE;
}

std::intptr_t CMonitorDlg::OnDoubleClick(const MessageEvent&) {
    EditSelectedProgram();
    return 0;
}

std::intptr_t CMonitorDlg::OnOptions(const MessageEvent&) {
    OpenOptions();
    return TRUE;
}

void CMonitorDlg::OpenOptions() {
    COptionDlg options(m_hWnd, m_settings, m_version, *this);
    if (options.DoModal() != IDOK) return;
    if (m_settings.m_autoSaveMode) m_registrations.SaveTable();
    // A changed watch cycle takes effect at once.
    KillTimer(m_hWnd, kWatchTimer);
    SetTimer(m_hWnd, kWatchTimer, static_cast<UINT>(m_settings.m_watchingCycleTime), nullptr);
}

void CMonitorDlg::ReloadSaveFile() { m_registrations.LoadTable(); }

bool CMonitorDlg::ConfirmReload() { return m_registrations.ConfirmReload(); }

void CMonitorDlg::SetTopmost(bool topmost) {
    SetWindowPos(m_hWnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CMonitorDlg::UpdateShortcuts(bool desktop, bool startup) {
    const bool temporary = m_settings.ProgramInTemporaryFolder();
    UpdateShortcut(m_shellLinks, m_boxes, ShortcutFolder::Desktop, desktop, m_settings.GetExeFilePath(), temporary);
    UpdateShortcut(m_shellLinks, m_boxes, ShortcutFolder::Startup, startup, m_settings.GetExeFilePath(), temporary);
}

void CMonitorDlg::SetDebugPrivilege(bool enabled) {
    if (m_setDebugPrivilege && m_setDebugPrivilege(enabled)) m_watchCycle.TryRefusedAgain();
}

std::intptr_t CMonitorDlg::OnDelete(const MessageEvent&) {
    m_registrations.DeleteSelected();
    return TRUE;
}

std::intptr_t CMonitorDlg::OnSave(const MessageEvent&) {
    m_registrations.SaveTable();
    return TRUE;
}

std::intptr_t CMonitorDlg::OnLoad(const MessageEvent&) {
    m_registrations.LoadTable();
    return TRUE;
}

std::intptr_t CMonitorDlg::OnClear(const MessageEvent&) {
    m_history.Clear();
    return TRUE;
}

std::intptr_t CMonitorDlg::OnHide(const MessageEvent&) {
    SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_HIDEWINDOW);
    return TRUE;
}

std::intptr_t CMonitorDlg::OnMoreSettings(const MessageEvent&) {
    CProgramSettingsDlg more(m_hWnd, m_processes.MachineProcessors());
    m_registrations.EditSelectedSettings(more);
    return TRUE;
}

std::intptr_t CMonitorDlg::OnQuickCommand(const MessageEvent& event) {
    m_registrations.ApplyQuickCommand(event.id);
    return TRUE;
}

void CMonitorDlg::ShowMonitor() {
    CenterInWorkArea(m_hWnd);
    SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    SetForegroundWindow(m_hWnd);
}

std::intptr_t CMonitorDlg::OnTrayCallback(const MessageEvent& event) {
    switch (static_cast<UINT>(event.lParam)) {
        case WM_LBUTTONDBLCLK:
            if (!BringModalToFront()) ShowMonitor();
            return 1;
        case WM_RBUTTONUP:
            if (!BringModalToFront()) m_trayIcon.ShowMenu();
            return 1;
        default:
            return 0;
    }
}

std::intptr_t CMonitorDlg::OnTrayMonitor(const MessageEvent&) {
    if (!BringModalToFront()) ShowMonitor();
    return TRUE;
}

std::intptr_t CMonitorDlg::OnTrayOptions(const MessageEvent&) {
    if (!BringModalToFront()) OpenOptions();
    return TRUE;
}

std::intptr_t CMonitorDlg::OnTrayQuit(const MessageEvent&) {
    if (!BringModalToFront()) OnCancel();
    return TRUE;
}

void CMonitorDlg::OnCancel() {
    if (m_registrations.ConfirmEnd()) EndDialog(IDCANCEL);
}

// Windows ends the session: no question (it would hold up the logoff), the changes are written.
std::intptr_t CMonitorDlg::OnEndSession(const MessageEvent& event) {
    if (event.wParam) m_registrations.SaveForSessionEnd();
    return 0;
}

std::intptr_t CMonitorDlg::OnRunWaitingLoad(const MessageEvent&) {
    m_registrations.RunWaitingLoad();
    return 0;
}

bool CMonitorDlg::BringModalToFront() {
    if (IsWindowEnabled(m_hWnd)) return false;
    // The system keeps the last active of the windows this one owns, directly or through
    // another: the innermost box (the running list over the entry dialog), as Alt+Tab finds it.
    HWND modal = GetLastActivePopup(m_hWnd);
    if (modal != m_hWnd) SetForegroundWindow(modal);
    return true;
}

std::intptr_t CMonitorDlg::OnTaskbarCreated(const MessageEvent&) {
    m_trayIcon.Add();
    return 0;
}

std::intptr_t CMonitorDlg::OnDpiChanged(const MessageEvent& event) {
    const auto* suggested = reinterpret_cast<const RECT*>(event.lParam);
    SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    return FALSE;  // the dialog manager places the controls and gives them fonts for the new DPI
}

void CMonitorDlg::OnDpiSettled() {
    SizeColumns();
    RefreshIcons();
}

// The taskbar's scaling follows the primary monitor's, which no DPI change of this
// window reports while it is hidden or on another monitor.
std::intptr_t CMonitorDlg::OnDisplaySettings(const MessageEvent&) {
    RefreshIcons();
    return 0;  // the dialog manager's default handling goes on
}

void CMonitorDlg::RefreshIcons() {
    LoadIcons();
    m_trayIcon.Refresh();
}

void CMonitorDlg::TellLoadNotes() {
    for (const std::string& note : m_registrations.TakeLoadNotes(TimeStamp(m_clock))) AddHistoryLine(m_history, note);
}

void CMonitorDlg::SizeColumns() {
    m_programList.FitColumns(Columns());
}


}  // namespace tarnwick
