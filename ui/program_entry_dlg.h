// "プログラム名および実行優先度の設定": registers a program or changes a
// registration. The caller's form is copied into the controls when the dialog
// opens and back, checked, when OK is pressed; the dialog itself changes no
// registration.
#pragma once

#include "core/program_entry.h"
#include "ui/control_adapters.h"
#include "watch/running_programs.h"
#include "win/dialog.h"

namespace tarnwick {

class CProgramEntryDlg final : public CDialog, public ProgramEntryDialog {
public:
    CProgramEntryDlg(HWND owner, const OsVersion& version, CProcessEnumerator& enumerator, ProcessApi& processes,
                     VersionFiles& versions);

    // One modal run on the form; true (and the form updated) after OK.
    bool Run(ProgramEntryForm& form) override;

    ProgramEntryForm m_form;

private:
    static const MapEntry<CProgramEntryDlg> kMessageMap[];

    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool Dispatch(const MessageEvent& event, std::intptr_t& result) override;

    std::intptr_t OnBrowse(const MessageEvent& event);
    std::intptr_t OnRunningList(const MessageEvent& event);
    std::intptr_t OnActiveCheck(const MessageEvent& event);
    std::intptr_t OnMoreSettings(const MessageEvent& event);
    // A program chosen by browsing or from the running list.
    void TakeChosenProgram(const std::string& name, const std::string& description);

    CButton m_activeCheck;
    CComboBox m_activeCombo;
    CEdit m_descriptionEdit;
    CEdit m_nameEdit;
    CComboBox m_priorityCombo;
    CButton m_listButton;
    CButton m_browseButton;

    const OsVersion& m_version;
    CProcessEnumerator& m_enumerator;
    ProcessApi& m_processes;
    VersionFiles& m_versions;
    WindowMessageBoxes m_boxes;
};

}  // namespace tarnwick
