#include "ui/program_settings_dlg.h"

#include "core/texts.h"
#include "win/text.h"
#include "win/window.h"
#include "res/resource.h"

namespace tarnwick {

namespace {
constexpr int kGridColumns = 8;
constexpr int kMaxGrid = 64;
}  // namespace

const MapEntry<CProgramSettingsDlg> CProgramSettingsDlg::kMessageMap[] = {
    {Route::Command, IDC_PROCESSORS, EN_CHANGE, &CProgramSettingsDlg::OnProcessorsTyped},
};

CProgramSettingsDlg::CProgramSettingsDlg(HWND owner, std::uint64_t machine)
    : CDialog(IDD_PROGRAM_SETTINGS, owner), m_machine(machine), m_boxes(m_hWnd) {}

bool CProgramSettingsDlg::Run(ProgramSettings& settings) {
    m_settings = settings;
    if (DoModal() != IDOK) return false;
    settings = m_settings;
    return true;
}

void CProgramSettingsDlg::DoDataExchange() {
    DDX_Control(IDC_IO_PRIORITY, m_io);
    DDX_Control(IDC_MEMORY_PRIORITY, m_memory);
    DDX_Control(IDC_EFFICIENCY, m_efficiency);
    DDX_Control(IDC_PROCESSORS, m_processors);
}

BOOL CProgramSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Each combo box offers "not set" first, then the levels in the order of their texts.
    m_io.AddString(TextOf(Text::NotSet));
    for (Text level : {Text::IoVeryLow, Text::IoLow, Text::IoNormal}) m_io.AddString(TextOf(level));
    m_io.SetCurSel(static_cast<int>(m_settings.io) + 1);
    m_memory.AddString(TextOf(Text::NotSet));
    for (Text level : {Text::MemoryVeryLow, Text::MemoryLow, Text::MemoryMedium, Text::MemoryBelowNormal,
                       Text::MemoryNormal}) {
        m_memory.AddString(TextOf(level));
    }
    m_memory.SetCurSel(m_settings.memory == MemoryPriority::NotSet ? 0 : static_cast<int>(m_settings.memory));
    for (Text mode : {Text::EfficiencyLeftToWindows, Text::EfficiencyAlwaysOff, Text::EfficiencyAlwaysOn}) {
        m_efficiency.AddString(TextOf(mode));
    }
    m_efficiency.SetCurSel(static_cast<int>(m_settings.efficiency));
    ::SetWindowTextW(GetDlgItem(IDC_MACHINE_PROCESSORS),
                     Wide(TextWith(Text::ThisComputersProcessors, {FormatProcessors(m_machine)})).c_str());
    MakeGrid();
    m_processors.SetWindowText(FormatProcessors(m_settings.processors));  // the grid follows
    return TRUE;
}

void CProgramSettingsDlg::MakeGrid() {
    int count = 0;
    while (count < kMaxGrid && (m_machine >> count)) ++count;
    RECT label{};
    ::GetWindowRect(GetDlgItem(IDC_MACHINE_PROCESSORS), &label);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&label), 2);
    RECT cell{0, 0, 26, 11};  // dialog units
    ::MapDialogRect(m_hWnd, &cell);
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    for (int n = 0; n < count; ++n) {
        const HWND box = ::CreateWindowExW(0, L"BUTTON", std::to_wstring(n).c_str(),
                                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                                           label.left + n % kGridColumns * cell.right,
                                           label.bottom + cell.bottom / 3 + n / kGridColumns * cell.bottom, cell.right,
                                           cell.bottom, m_hWnd,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PROCESSOR_FIRST + n)),
                                           ModuleInstance(), nullptr);
        ::SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        ::EnableWindow(box, (m_machine >> n & 1) != 0);
        m_grid.push_back(box);
    }
}

bool CProgramSettingsDlg::Dispatch(const MessageEvent& event, std::intptr_t& result) {
    // The grid's boxes have ids of their own, one per processor.
    if (event.message == WM_COMMAND && event.code == BN_CLICKED && event.id >= IDC_PROCESSOR_FIRST &&
        event.id < IDC_PROCESSOR_FIRST + m_grid.size()) {
        result = OnProcessorClicked(event);
        return true;
    }
    return tarnwick::Dispatch<CProgramSettingsDlg>(*this, kMessageMap, event, result);
}

std::intptr_t CProgramSettingsDlg::OnProcessorsTyped(const MessageEvent&) {
    if (m_syncing) return TRUE;
    const std::optional<std::uint64_t> set = ParseProcessors(m_processors.GetWindowText());
    if (!set) return TRUE;  // half typed: the grid waits
    m_syncing = true;
    for (std::size_t n = 0; n < m_grid.size(); ++n) {
        ::SendMessageW(m_grid[n], BM_SETCHECK, (*set >> n & 1) ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    m_syncing = false;
    return TRUE;
}

std::intptr_t CProgramSettingsDlg::OnProcessorClicked(const MessageEvent&) {
    if (m_syncing) return TRUE;
    std::uint64_t set = 0;
    for (std::size_t n = 0; n < m_grid.size(); ++n) {
        if (::SendMessageW(m_grid[n], BM_GETCHECK, 0, 0) == BST_CHECKED) set |= std::uint64_t{1} << n;
    }
    // Processors beyond the grid, typed or saved on a bigger machine, stay in the text.
    const std::optional<std::uint64_t> typed = ParseProcessors(m_processors.GetWindowText());
    const std::uint64_t beyond = typed ? *typed & ~((m_grid.size() >= 64 ? 0 : std::uint64_t{1} << m_grid.size()) - 1) : 0;
    m_syncing = true;
    m_processors.SetWindowText(FormatProcessors(set | beyond));
    m_syncing = false;
    return TRUE;
}

void CProgramSettingsDlg::OnOK() {
    const ProgramSettingsInput input{m_io.GetCurSel(), m_memory.GetCurSel(), m_efficiency.GetCurSel(),
                                     m_processors.GetWindowText()};
    if (!AcceptProgramSettings(m_settings, input, m_machine, m_boxes)) {
        GotoDlgCtrl(m_processors);
        m_processors.SelectAll();
        return;
    }
    EndDialog(IDOK);
}

}  // namespace tarnwick
