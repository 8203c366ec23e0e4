#include "ui/program_entry_dlg.h"

#include "core/mbcs.h"
#include "core/texts.h"
#include "res/resource.h"
#include "ui/program_settings_dlg.h"
#include "ui/running_list_dlg.h"

namespace tarnwick {

const MapEntry<CProgramEntryDlg> CProgramEntryDlg::kMessageMap[] = {
    {Route::Command, IDC_BROWSE, BN_CLICKED, &CProgramEntryDlg::OnBrowse},
    {Route::Command, IDC_RUNNING_LIST, BN_CLICKED, &CProgramEntryDlg::OnRunningList},
    {Route::Command, IDC_ACTIVE_CHECK, BN_CLICKED, &CProgramEntryDlg::OnActiveCheck},
    {Route::Command, IDC_MORE_SETTINGS, BN_CLICKED, &CProgramEntryDlg::OnMoreSettings},
};

CProgramEntryDlg::CProgramEntryDlg(HWND owner, const OsVersion& version, CProcessEnumerator& enumerator,
                                   ProcessApi& processes, VersionFiles& versions)
    : CDialog(IDD_PROGRAM_ENTRY, owner),
      m_version(version),
      m_enumerator(enumerator),
      m_processes(processes),
      m_versions(versions),
      m_boxes(m_hWnd) {}

bool CProgramEntryDlg::Run(ProgramEntryForm& form) {
    m_form = form;
    if (DoModal() != IDOK) return false;
    form = m_form;
    return true;
}

void CProgramEntryDlg::DoDataExchange() {
    DDX_Control(IDC_ACTIVE_CHECK, m_activeCheck);
    DDX_Control(IDC_ACTIVE_PRIORITY, m_activeCombo);
    DDX_Control(IDC_DESCRIPTION, m_descriptionEdit);
    DDX_Control(IDC_NAME, m_nameEdit);
    DDX_Control(IDC_PRIORITY, m_priorityCombo);
    DDX_Control(IDC_RUNNING_LIST, m_listButton);
    DDX_Control(IDC_BROWSE, m_browseButton);
}

BOOL CProgramEntryDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const std::vector<std::string> names = EntryComboNames(m_version);
    for (CComboBox* combo : {&m_priorityCombo, &m_activeCombo}) {
        for (const std::string& name : names) combo->AddString(name);
    }
    m_priorityCombo.SetCurSel(EntryComboIndex(names, m_form.m_priority));
    const bool active = m_form.m_activePriority != kNoPriority;
    m_activeCheck.SetCheck(active);
    m_activeCombo.EnableWindow(active);
    ::EnableWindow(GetDlgItem(IDC_ACTIVE_LABEL), active);  // the label greys with its combo
    m_activeCombo.SetCurSel(EntryComboIndex(names, active ? m_form.m_activePriority : kNormal));
    m_nameEdit.SetWindowText(m_form.m_name);
    m_descriptionEdit.SetWindowText(m_form.m_description);
    if (m_form.m_nameLocked == 1) {
        // A locked name takes nothing from a file or the running list either.
        for (CWnd* control : {static_cast<CWnd*>(&m_nameEdit), static_cast<CWnd*>(&m_listButton),
                              static_cast<CWnd*>(&m_browseButton)}) {
            control->EnableWindow(false);
        }
    }
    return TRUE;  // the first enabled control in tab order takes the focus
}

bool CProgramEntryDlg::Dispatch(const MessageEvent& event, std::intptr_t& result) {
    return tarnwick::Dispatch<CProgramEntryDlg>(*this, kMessageMap, event, result);
}

std::intptr_t CProgramEntryDlg::OnActiveCheck(const MessageEvent&) {
    m_activeCombo.EnableWindow(m_activeCheck.GetCheck());
    ::EnableWindow(GetDlgItem(IDC_ACTIVE_LABEL), m_activeCheck.GetCheck());
    return TRUE;
}

std::intptr_t CProgramEntryDlg::OnBrowse(const MessageEvent&) {
    std::string path;
    const FileDialogOptions options{TextOf(Text::ProgramDialogTitle), TextOf(Text::ProgramFilter), "*.exe", "exe"};
    if (ShowOpenFileDialog(m_hWnd, options, path)) TakeChosenProgram(BaseName(path), GetFileDescription(m_versions, path));
    return TRUE;
}

// Kept in the form for this dialog's own OK: Cancel here drops them too.
std::intptr_t CProgramEntryDlg::OnMoreSettings(const MessageEvent&) {
    CProgramSettingsDlg more(m_hWnd, m_processes.MachineProcessors());
    more.Run(m_form.m_more);
    return TRUE;
}

std::intptr_t CProgramEntryDlg::OnRunningList(const MessageEvent&) {
    CRunningListDlg running(m_hWnd, m_enumerator, m_processes, m_versions);
    if (running.DoModal() == IDOK) TakeChosenProgram(running.m_name, running.m_description);
    return TRUE;
}

void CProgramEntryDlg::TakeChosenProgram(const std::string& name, const std::string& description) {
    if (m_form.m_nameLocked != 1) m_nameEdit.SetWindowText(name);
    m_descriptionEdit.SetWindowText(description);
}

void CProgramEntryDlg::OnOK() {
    const ProgramEntryInput input{m_nameEdit.GetWindowText(), m_descriptionEdit.GetWindowText(),
                                  m_priorityCombo.SelectedText(), m_activeCheck.GetCheck(),
                                  m_activeCombo.SelectedText()};
    const EntryVerdict verdict = AcceptProgramEntry(m_form, input, m_boxes);
    // ".exe" added on the user's word shows, should the dialog stay open.
    if (m_form.m_nameLocked != 1 && m_form.m_name != TrimBlanks(input.name)) m_nameEdit.SetWindowText(m_form.m_name);
    switch (verdict.focus) {
        case EntryField::Name:
            GotoDlgCtrl(m_nameEdit);
            m_nameEdit.SelectAll();  // ready to be corrected
            break;
        case EntryField::Specified: GotoDlgCtrl(m_priorityCombo); break;
        case EntryField::Active: GotoDlgCtrl(m_activeCombo); break;
        case EntryField::None: break;
    }
    if (verdict.accept) EndDialog(IDOK);
}

}  // namespace tarnwick
