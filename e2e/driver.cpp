#include "e2e/driver.h"

#include <commctrl.h>

#include "win/text.h"

namespace tarnwick::e2e {

namespace {
constexpr std::size_t kRemoteSize = 1 << 16;
constexpr std::size_t kTextOffset = 4096;
constexpr int kTextChars = (kRemoteSize - kTextOffset) / sizeof(wchar_t);
}  // namespace

TarnwickRun::TarnwickRun(const std::wstring& folder) : m_folder(folder), m_process(folder + L"\\Tarnwick.exe", L"") {
    if (m_process.Running()) {
        m_remote = VirtualAllocEx(m_process.Process(), nullptr, kRemoteSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
}

HWND TarnwickRun::Window() {
    if (m_window && IsWindow(m_window)) return m_window;
    m_window = FindProcessWindow(Id(), L"#32770", Wide("Tarnwick - モニタ＆設定"));
    return m_window;
}

bool TarnwickRun::WaitForWindow() {
    return wine::WaitFor([this] { return Window() != nullptr; });
}

bool TarnwickRun::WaitForExit(DWORD timeoutMs) {
    return WaitForSingleObject(m_process.Process(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD TarnwickRun::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_process.Process(), &code);
    return code;
}

int TarnwickRun::ListCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

int TarnwickRun::ListSelected(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::vector<std::string> TarnwickRun::ListColumn(HWND list, int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < ListCount(list); ++row) texts.push_back(ListText(list, row, column));
    return texts;
}

RECT TarnwickRun::ItemRect(HWND control, UINT message, int index, LONG left) {
    RECT bounds{left, 0, 0, 0};
    WriteProcessMemory(m_process.Process(), m_remote, &bounds, sizeof bounds, nullptr);
    SendMessageW(control, message, index, reinterpret_cast<LPARAM>(m_remote));
    ReadProcessMemory(m_process.Process(), m_remote, &bounds, sizeof bounds, nullptr);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

void TarnwickRun::ClickTab(HWND tabs, int index) {
    const RECT tab = ItemRect(tabs, TCM_GETITEMRECT, index);
    Sleep(GetDoubleClickTime() + 50);
    MouseClick({(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2}, false);
}

void TarnwickRun::ClickHeader(HWND list, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    int x = 0;
    for (int i = 0; i < column; ++i) x += static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
    x += static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0)) / 2;
    POINT at{x, 6};
    ClientToScreen(header, &at);
    Sleep(GetDoubleClickTime() + 50);  // two clicks in a row must not make a double-click
    MouseClick(at, false);
}

HWND TarnwickRun::WaitForDialog(const std::string& title) {
    HWND dialog = nullptr;
    wine::WaitFor([&] { return (dialog = MessageBoxWindow(title)) != nullptr && IsWindowVisible(dialog); });
    return dialog;
}

HWND TarnwickRun::FocusedControl() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(Window(), nullptr), &info);
    return info.hwndFocus;
}

std::string TarnwickRun::ListText(HWND list, int row, int column) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = static_cast<wchar_t*>(Remote(kTextOffset));
    item.cchTextMax = kTextChars;
    WriteProcessMemory(m_process.Process(), m_remote, &item, sizeof item, nullptr);
    LRESULT length = SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(m_remote));
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) ReadProcessMemory(m_process.Process(), Remote(kTextOffset), text.data(), length * sizeof(wchar_t), nullptr);
    return Narrow(text);
}

int TarnwickRun::StateImage(int row) {
    return static_cast<int>(SendMessageW(Control(1000), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) >> 12);
}

void TarnwickRun::SetChecked(int row, bool checked) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    WriteProcessMemory(m_process.Process(), m_remote, &item, sizeof item, nullptr);
    SendMessageW(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(m_remote));
}

void TarnwickRun::ListSelect(HWND list, int row) { SetRowState(list, row, LVIS_SELECTED | LVIS_FOCUSED); }

void TarnwickRun::ClearSelection(HWND list) { SetRowState(list, -1, 0); }  // row -1: every row

void TarnwickRun::SetRowState(HWND list, int row, UINT state) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = state;
    WriteProcessMemory(m_process.Process(), m_remote, &item, sizeof item, nullptr);
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(m_remote));
}

int TarnwickRun::ColumnCount() {
    HWND header = reinterpret_cast<HWND>(SendMessageW(Control(1000), LVM_GETHEADER, 0, 0));
    return static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

DWORD TarnwickRun::ExtendedStyle() {
    return static_cast<DWORD>(SendMessageW(Control(1000), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

int TarnwickRun::HistoryCount() { return static_cast<int>(SendMessageW(Control(1021), LB_GETCOUNT, 0, 0)); }

std::string TarnwickRun::HistoryLine(int index) {
    LRESULT length = SendMessageW(Control(1021), LB_GETTEXTLEN, index, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    length = SendMessageW(Control(1021), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return Narrow(text.substr(0, static_cast<std::size_t>(length > 0 ? length : 0)));
}

void TarnwickRun::Click(int id) { PostMessageW(Control(id), BM_CLICK, 0, 0); }

void TarnwickRun::PostCommand(int id) { PostMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void TarnwickRun::TrayMouse(UINT mouseMessage) { PostMessageW(Window(), WM_USER + 1, 137, mouseMessage); }

HWND TarnwickRun::MessageBoxWindow(const std::string& caption) {
    return FindProcessWindow(Id(), L"#32770", Wide(caption));
}

std::string TarnwickRun::MessageBoxText(HWND box) {
    wchar_t text[1024] = L"";
    GetDlgItemTextW(box, 0xFFFF, text, 1024);  // the message box's text control
    return Narrow(text);
}

bool TarnwickRun::AnswerMessageBox(const std::string& caption, int button, const std::string& text) {
    HWND box = nullptr;
    if (!wine::WaitFor([&] { return (box = MessageBoxWindow(caption)) != nullptr; })) return false;
    if (!text.empty() && MessageBoxText(box) != text) return false;
    PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
    return wine::WaitFor([&] { return !IsWindow(box); });
}

}  // namespace tarnwick::e2e
