// "実行中プログラム名一覧": the programs running now, for the user to pick one in
// the program entry dialog. It changes nothing; after OK the caller reads the
// chosen row's name and description.
#pragma once

#include <string>

#include "ui/sort_list_ctrl.h"
#include "watch/running_programs.h"
#include "win/dialog.h"

namespace tarnwick {

class CRunningListDlg final : public CDialog {
public:
    CRunningListDlg(HWND owner, CProcessEnumerator& enumerator, ProcessApi& processes, VersionFiles& versions);

    std::string m_name;
    std::string m_description;

private:
    static const MapEntry<CRunningListDlg> kMessageMap[];

    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool Dispatch(const MessageEvent& event, std::intptr_t& result) override;
    // The columns follow the list's new font, as the dialog manager gives it no widths.
    void OnDpiSettled() override;

    std::intptr_t OnRefresh(const MessageEvent& event);
    std::intptr_t OnDoubleClick(const MessageEvent& event);
    void FillList();

    CSortListCtrl m_list;
    CProcessEnumerator& m_enumerator;
    ProcessApi& m_processes;
    VersionFiles& m_versions;
};

}  // namespace tarnwick
