// "詳細設定": a registration's further settings (I/O priority, memory priority,
// efficiency mode, processors). The processors are typed as ranges, with a grid of
// check boxes, one per processor, where the machine has at most 64; each follows the
// other. OK keeps the settings for whoever opened the dialog.
#pragma once

#include <cstdint>
#include <vector>

#include "core/program_entry.h"
#include "ui/control_adapters.h"
#include "win/dialog.h"

namespace tarnwick {

class CProgramSettingsDlg final : public CDialog, public ProgramSettingsDialog {
public:
    // `machine`: this machine's processors, as the watch cycle finds them.
    CProgramSettingsDlg(HWND owner, std::uint64_t machine);

    bool Run(ProgramSettings& settings) override;

private:
    static const MapEntry<CProgramSettingsDlg> kMessageMap[];

    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool Dispatch(const MessageEvent& event, std::intptr_t& result) override;

    // The grid, made for the machine's processors below the text's label.
    void MakeGrid();
    std::intptr_t OnProcessorsTyped(const MessageEvent& event);
    std::intptr_t OnProcessorClicked(const MessageEvent& event);

    CComboBox m_io;
    CComboBox m_memory;
    CComboBox m_efficiency;
    CEdit m_processors;
    std::vector<HWND> m_grid;
    bool m_syncing = false;  // a change that the other control made: not echoed back
    std::uint64_t m_machine;
    ProgramSettings m_settings;
    WindowMessageBoxes m_boxes;
};

}  // namespace tarnwick
