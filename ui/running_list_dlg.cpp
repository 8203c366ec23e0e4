#include "ui/running_list_dlg.h"

#include <commctrl.h>

#include <array>

#include "core/texts.h"
#include "res/resource.h"

namespace tarnwick {

namespace {

// In the user's language, which is chosen at start.
std::array<ColumnLayout, 3> Columns() {
    return {{
        {TextOf(Text::ColumnProgram), 15, LVCFMT_LEFT, true},
        {TextOf(Text::ColumnDescription), 35, LVCFMT_LEFT, true},
        {TextOf(Text::ColumnCurrentPriority), 12, LVCFMT_LEFT, false},
    }};
}

}  // namespace

const MapEntry<CRunningListDlg> CRunningListDlg::kMessageMap[] = {
    {Route::Command, IDC_REFRESH, 0, &CRunningListDlg::OnRefresh},
    {Route::Notify, IDC_PROGRAM_LIST, static_cast<unsigned>(NM_DBLCLK), &CRunningListDlg::OnDoubleClick},
};

CRunningListDlg::CRunningListDlg(HWND owner, CProcessEnumerator& enumerator, ProcessApi& processes,
                                 VersionFiles& versions)
    : CDialog(IDD_RUNNING_LIST, owner), m_enumerator(enumerator), m_processes(processes), m_versions(versions) {}

void CRunningListDlg::DoDataExchange() { DDX_Control(IDC_PROGRAM_LIST, m_list); }

BOOL CRunningListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_list.InsertColumns(Columns());
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    FillList();
    return TRUE;
}

void CRunningListDlg::OnDpiSettled() { m_list.FitColumns(Columns()); }

void CRunningListDlg::FillList() {
    for (const RunningProgram& program : ListRunningPrograms(m_enumerator, m_processes, m_versions)) {
        const int row = m_list.GetItemCount();
        m_list.InsertItem(row, program.name);
        m_list.SetItemText(row, 1, program.description);
        m_list.SetItemText(row, 2, program.priority);
    }
    if (m_list.GetItemCount() > 0) m_list.SelectAndFocus(0);
    m_list.FitColumns(Columns());
}

bool CRunningListDlg::Dispatch(const MessageEvent& event, std::intptr_t& result) {
    return tarnwick::Dispatch<CRunningListDlg>(*this, kMessageMap, event, result);
}

std::intptr_t CRunningListDlg::OnRefresh(const MessageEvent&) {
    m_list.DeleteAllItems();
    FillList();
    return TRUE;
}

std::intptr_t CRunningListDlg::OnDoubleClick(const MessageEvent&) {
    OnOK();
    return 0;
}

void CRunningListDlg::OnOK() {
    const int row = m_list.GetSelected();
    m_name = row < 0 ? std::string() : m_list.GetItemText(row, 0);
    m_description = row < 0 ? std::string() : m_list.GetItemText(row, 1);
    EndDialog(IDOK);
}

}  // namespace tarnwick
