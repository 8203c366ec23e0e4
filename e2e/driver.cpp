#include "e2e/driver.h"

#include <algorithm>
#include <cstdlib>

#include "win/text.h"

namespace tarnwick::e2e {

namespace {
constexpr std::size_t kRemoteSize = 1 << 16;
constexpr std::size_t kTextOffset = 4096;
constexpr int kTextChars = (kRemoteSize - kTextOffset) / sizeof(wchar_t);

std::wstring ProgramUnderTest() {
    const wchar_t* chosen = _wgetenv(L"TARNWICK_EXE");
    return chosen && *chosen ? chosen : ProgramFolder() + L"\\Tarnwick.exe";
}
}  // namespace

Installation::Installation(const std::string& settings, const std::string& save) {
    CopyFileW(ProgramUnderTest().c_str(), Path(L"Tarnwick.exe").c_str(), FALSE);
    if (!settings.empty()) WriteBytes(Path(L"Tarnwick.ini"), settings);
    if (!save.empty()) WriteBytes(Path(L"Tarnwick.sav"), save);
}

std::string Installation::Bytes(const wchar_t* name) const {
    std::string bytes;
    return ReadBytes(Path(name), bytes) ? bytes : "<missing>";
}

std::string Installation::Files() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Path(L"*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(Narrow(found.cFileName));
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    std::sort(names.begin(), names.end());
    std::string files;
    for (const std::string& name : names) files += (files.empty() ? "" : " ") + name;
    return files;
}

Dialog Dialog::Page(int id) const {
    HWND tabs = Item(1010);
    for (HWND page = FindWindowExW(tabs, nullptr, L"#32770", nullptr); page;
         page = FindWindowExW(tabs, page, L"#32770", nullptr)) {
        if (GetDlgItem(page, id)) return {page};
    }
    return {};
}

TarnwickRun::TarnwickRun(const Installation& install)
    : m_install(install), m_process(install.Path(L"Tarnwick.exe"), L"") {
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
    return WaitFor([this] { return Window() != nullptr; });
}

bool TarnwickRun::Ready(int rows, bool visible) {
    return WaitForWindow() && WaitFor([&] { return Visible() == visible && RowCount() == rows; });
}

bool TarnwickRun::WaitForExit(DWORD timeoutMs) {
    return WaitForSingleObject(m_process.Process(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD TarnwickRun::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_process.Process(), &code);
    return code;
}

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
    Sleep(GetDoubleClickTime() + 50);  // two clicks in a row must not make a double-click
    MouseClick({(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2}, false);
}

void TarnwickRun::ClickHeader(HWND list, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    int x = 0;
    for (int i = 0; i < column; ++i) x += static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
    x += static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0)) / 2;
    POINT at{x, 6};
    ClientToScreen(header, &at);
    Sleep(GetDoubleClickTime() + 50);
    MouseClick(at, false);
}

void TarnwickRun::ClickRow(HWND list, int row, bool right, int clicks) {
    const RECT bounds = RowRect(list, row);
    MouseClick({bounds.left + 30, (bounds.top + bounds.bottom) / 2}, right, clicks);
}

Dialog TarnwickRun::WaitForDialog(const std::string& title) {
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = MessageBoxWindow(title)) != nullptr && IsWindowVisible(dialog); });
    return {dialog};
}

HWND TarnwickRun::FocusedControl() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(Window(), nullptr), &info);
    return info.hwndFocus;
}

bool TarnwickRun::MenuOpen() {
    HWND menu = FindProcessWindow(Id(), L"#32768");
    return menu && IsWindowVisible(menu);
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
    return static_cast<int>(SendMessageW(List(), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) >> 12);
}

void TarnwickRun::SetChecked(int row, bool checked) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    WriteProcessMemory(m_process.Process(), m_remote, &item, sizeof item, nullptr);
    SendMessageW(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(m_remote));
}

void TarnwickRun::SetRowState(HWND list, int row, UINT state) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = state;
    WriteProcessMemory(m_process.Process(), m_remote, &item, sizeof item, nullptr);
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(m_remote));
}

std::string TarnwickRun::HistoryLine(int index) {
    LRESULT length = SendMessageW(Control(1021), LB_GETTEXTLEN, index, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    length = SendMessageW(Control(1021), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return Narrow(text.substr(0, static_cast<std::size_t>(length > 0 ? length : 0)));
}

HWND TarnwickRun::MessageBoxWindow(const std::string& caption) {
    return FindProcessWindow(Id(), L"#32770", Wide(caption));
}

bool TarnwickRun::AnswerMessageBox(const std::string& caption, int button, const std::string& text) {
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = MessageBoxWindow(caption)) != nullptr; })) return false;
    if (!text.empty() && ControlText(GetDlgItem(box, 0xFFFF)) != text) return false;  // the box's text control
    PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
    return WaitFor([&] { return !IsWindow(box); });
}

ForegroundStage::ForegroundStage()
    : install("AUTOLOADMODE=1\r\nWATCHINGCYCLETIME=5000\r\nRUNPANELVIEW=0\r\n",
              "Version:4.0.0\r\n1,TwActive.exe,低,高,\r\n0,TwOther.exe,高,指定なし,\r\n"),
      target(install.Target(L"TwActive.exe", L"--window ActiveTarget")),
      other(install.Target(L"TwOther.exe", L"--window OtherTarget")) {
    ready = WaitFor([&] { return (targetWindow = target.Window()) && (otherWindow = other.Window()); }) &&
            BringToForeground(otherWindow);
    run = std::make_unique<TarnwickRun>(install);
    // The first timer tick gives the target its specified class.
    ready = ready && run->WaitForWindow() &&
            WaitFor([&] { return target.PriorityClass() == IDLE_PRIORITY_CLASS; }, 15000, nullptr, 20);
}

bool WaitForCorrection(const Started& target, DWORD wanted) {
    SetPriorityClass(target.Process(), NORMAL_PRIORITY_CLASS);
    return WaitFor([&] { return target.PriorityClass() == wanted; }, 15000, nullptr, 20);
}

}  // namespace tarnwick::e2e
