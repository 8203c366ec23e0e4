#include "ui/option_dlg.h"

#include "core/texts.h"
#include "res/resource.h"
#include "win/text.h"

namespace tarnwick {

void COptionPage::CreateIn(CTabCtrl& tabs) {
    CreateChild(tabs.GetSafeHwnd());
    UseTabBackground(m_hWnd);
    m_layout.Record(m_hWnd);
}

CGeneralPage::CGeneralPage(OptionsForm& form) : COptionPage(IDD_GENERAL_PAGE, form) {}

void CGeneralPage::DoDataExchange() {
    DDX_Control(IDC_OPTION_CHECK1, m_runPanelView);
    DDX_Control(IDC_OPTION_CHECK2, m_topmostWindow);
    DDX_Control(IDC_DESKTOP_SHORTCUT, m_desktopShortcut);
    DDX_Control(IDC_STARTUP_SHORTCUT, m_startupShortcut);
}

BOOL CGeneralPage::OnInitDialog() {
    CDialog::OnInitDialog();
    m_runPanelView.SetCheck(m_form.runPanelView);
    m_topmostWindow.SetCheck(m_form.topmostWindow);
    m_desktopShortcut.SetCheck(m_form.desktopShortcut);
    m_startupShortcut.SetCheck(m_form.startupShortcut);
    return TRUE;
}

void CGeneralPage::Read() {
    m_form.runPanelView = m_runPanelView.GetCheck();
    m_form.topmostWindow = m_topmostWindow.GetCheck();
    m_form.desktopShortcut = m_desktopShortcut.GetCheck();
    m_form.startupShortcut = m_startupShortcut.GetCheck();
}

CWatchPage::CWatchPage(OptionsForm& form) : COptionPage(IDD_WATCH_PAGE, form) {}

void CWatchPage::DoDataExchange() {
    DDX_Control(IDC_OPTION_TEXT, m_cycle);
    DDX_Control(IDC_CYCLE_SPIN, m_cycleSpin);
    DDX_Control(IDC_RETRY_COUNT, m_retries);
    DDX_Control(IDC_RETRY_SPIN, m_retrySpin);
    DDX_Control(IDC_OPTION_CHECK1, m_addWatchMode);
    DDX_Control(IDC_OPTION_CHECK2, m_targetAllApp);
}

BOOL CWatchPage::OnInitDialog() {
    CDialog::OnInitDialog();
    m_addWatchMode.SetCheck(m_form.addWatchMode);
    m_targetAllApp.SetCheck(m_form.targetAllApp);
    m_targetAllApp.EnableWindow(m_form.targetAllAppAvailable);
    m_cycle.SetWindowText(m_form.watchingCycleText);
    m_cycleSpin.SetRange32(AppSettings::kMinCycleTime, AppSettings::kMaxCycleTime);
    m_cycleSpin.SetStep(100);
    m_retries.SetWindowText(m_form.retryCountText);
    m_retrySpin.SetRange32(0, AppSettings::kMaxRetryCount);
    return TRUE;
}

void CWatchPage::Read() {
    m_form.watchingCycleText = m_cycle.GetWindowText();
    m_form.retryCountText = m_retries.GetWindowText();
    m_form.addWatchMode = m_addWatchMode.GetCheck();
    m_form.targetAllApp = m_targetAllApp.IsWindowEnabled() && m_targetAllApp.GetCheck();
}

const MapEntry<CFilePage> CFilePage::kMessageMap[] = {
    {Route::Command, IDC_BROWSE, BN_CLICKED, &CFilePage::OnBrowse},
};

CFilePage::CFilePage(OptionsForm& form) : COptionPage(IDD_FILE_PAGE, form) {}

void CFilePage::DoDataExchange() {
    DDX_Control(IDC_OPTION_TEXT, m_saveFile);
    DDX_Control(IDC_FILES_FOLDER, m_filesFolder);
    DDX_Control(IDC_AUTO_SAVE, m_autoSave);
    DDX_Control(IDC_AUTO_LOAD, m_autoLoad);
}

BOOL CFilePage::OnInitDialog() {
    CDialog::OnInitDialog();
    m_autoSave.SetCheck(m_form.autoSaveMode);
    m_autoLoad.SetCheck(m_form.autoLoadMode);
    m_saveFile.SetWindowText(m_form.saveFilePath);
    m_filesFolder.SetWindowText(m_form.filesFolder);
    return TRUE;
}

bool CFilePage::Dispatch(const MessageEvent& event, std::intptr_t& result) {
    return tarnwick::Dispatch<CFilePage>(*this, kMessageMap, event, result);
}

std::intptr_t CFilePage::OnBrowse(const MessageEvent&) {
    // The chosen path stays wide until it is known whether code page 932 holds it.
    const FileDialogOptions options{TextOf(Text::SaveFileDialogTitle), TextOf(Text::SaveFileFilter), "Tarnwick.sav",
                                    "sav"};
    std::wstring chosen;
    if (!ShowOpenFileDialog(m_hWnd, options, chosen)) return TRUE;
    std::string path;
    const bool exact = NarrowExactly(chosen, path);
    WindowMessageBoxes boxes(m_hWnd);
    if (TakeChosenSaveFile(exact, boxes)) m_saveFile.SetWindowText(path);
    return TRUE;
}

void CFilePage::Read() {
    m_form.saveFilePathHeld = m_saveFile.GetWindowTextExactly(m_form.saveFilePath);
    m_form.autoSaveMode = m_autoSave.GetCheck();
    m_form.autoLoadMode = m_autoLoad.GetCheck();
}

const MapEntry<COptionDlg> COptionDlg::kMessageMap[] = {
    {Route::Notify, IDC_OPTION_TABS, static_cast<unsigned>(TCN_SELCHANGE), &COptionDlg::OnTabChange},
};

COptionDlg::COptionDlg(HWND owner, AppSettings& settings, const OsVersion& version, OptionsEffects& effects)
    : CDialog(IDD_OPTIONS, owner),
      m_settings(settings),
      m_effects(effects),
      m_form(OptionsFormFrom(settings, version)),
      m_general(m_form),
      m_watch(m_form),
      m_file(m_form),
      m_boxes(m_hWnd) {}

void COptionDlg::DoDataExchange() { DDX_Control(IDC_OPTION_TABS, m_tabs); }

BOOL COptionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_tabs.InsertItem(0, TextOf(Text::TabGeneral));
    m_tabs.InsertItem(1, TextOf(Text::TabWatch));
    m_tabs.InsertItem(2, TextOf(Text::TabFile));
    for (COptionPage* page : Pages()) page->CreateIn(m_tabs);
    PlacePages();
    ShowPage(0);
    return TRUE;
}

void COptionDlg::PlacePages() {
    const RECT area = m_tabs.DisplayArea();
    for (COptionPage* page : Pages()) {
        SetWindowPos(page->GetSafeHwnd(), HWND_TOP, area.left, area.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void COptionDlg::OnDpiSettled() {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    for (COptionPage* page : Pages()) page->Rescale(DpiOf(m_hWnd), font);
    PlacePages();
}

bool COptionDlg::Dispatch(const MessageEvent& event, std::intptr_t& result) {
    return tarnwick::Dispatch<COptionDlg>(*this, kMessageMap, event, result);
}

std::intptr_t COptionDlg::OnTabChange(const MessageEvent&) {
    ShowPage(m_tabs.GetCurSel());
    return 0;
}

void COptionDlg::ShowPage(int index) {
    const HWND pages[] = {m_general.GetSafeHwnd(), m_watch.GetSafeHwnd(), m_file.GetSafeHwnd()};
    for (HWND page : pages) ShowWindow(page, SW_HIDE);
    ShowWindow(pages[index == 0 || index == 1 ? index : 2], SW_SHOW);  // any other index: the file page
}

void COptionDlg::OnOK() {
    m_general.Read();
    m_watch.Read();
    m_file.Read();
    if (AcceptOptions(m_settings, m_form, m_boxes, m_effects)) EndDialog(IDOK);
}

}  // namespace tarnwick
