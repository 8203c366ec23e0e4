#include "e2e/driver.h"

#include <algorithm>
#include <cstdlib>

#include "win/text.h"

namespace tarnwick::e2e {

namespace {
constexpr std::size_t kRemoteSize = 1 << 16;
constexpr std::size_t kTextOffset = 4096;  // list-view text after the record
}  // namespace

Installation::Installation(const std::string& settings, const std::string& save, const std::wstring& name)
    : folder(name) {
    const wchar_t* chosen = _wgetenv(L"TARNWICK_EXE");
    CopyFileW(chosen && *chosen ? chosen : (ProgramFolder() + L"\\Tarnwick.exe").c_str(), Path(L"Tarnwick.exe").c_str(),
              FALSE);
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
    FindClose(search);
    std::sort(names.begin(), names.end());
    std::string files;
    for (const std::string& name : names) files += (files.empty() ? "" : " ") + name;
    return files;
}

Dialog Dialog::Page(int id) const {
    for (HWND page : AllWindows(0, true)) {
        if (GetParent(page) == Item(1010) && GetDlgItem(page, id)) return {page};
    }
    return {};
}

TarnwickRun::TarnwickRun(const Installation& install)
    : m_install(install), m_process(install.Path(L"Tarnwick.exe"), L"") {
    m_remote = VirtualAllocEx(Process(), nullptr, kRemoteSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

HWND TarnwickRun::Window() {
    if (!m_window || !IsWindow(m_window)) m_window = FindProcessWindow(Id(), L"#32770", Wide(kMainTitle));
    return m_window;
}

bool TarnwickRun::Ended(DWORD timeoutMs) {
    DWORD code = STILL_ACTIVE;
    return WaitForSingleObject(Process(), timeoutMs) == WAIT_OBJECT_0 && GetExitCodeProcess(Process(), &code) &&
           code == 0;
}

std::vector<std::string> TarnwickRun::Column(int column, HWND list) {
    std::vector<std::string> texts;
    for (int row = 0; row < static_cast<int>(SendMessageW(list ? list : List(), LVM_GETITEMCOUNT, 0, 0)); ++row) {
        texts.push_back(Text(row, column, list));
    }
    return texts;
}

void TarnwickRun::ClickItem(HWND control, UINT message, int index, bool right, int clicks) {
    RECT bounds{message == LVM_GETITEMRECT ? LVIR_BOUNDS : 0, 0, 0, 0};
    SendRemote(control, message, index, bounds);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&bounds), 2);
    Sleep(GetDoubleClickTime() + 50);  // two clicks in a row must not make a double-click
    MouseClick({std::min(bounds.left + 30, (bounds.left + bounds.right) / 2), (bounds.top + bounds.bottom) / 2}, right,
               clicks);
}

Dialog TarnwickRun::WaitForDialog(const std::string& title) {
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = FindProcessWindow(Id(), L"#32770", Wide(title), true)) != nullptr; });
    return {dialog};
}

HWND TarnwickRun::FocusedControl() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(Window(), nullptr), &info);
    return info.hwndFocus;
}

std::string TarnwickRun::Text(int row, int column, HWND list) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(m_remote) + kTextOffset);
    item.cchTextMax = (kRemoteSize - kTextOffset) / sizeof(wchar_t);
    const LRESULT length = SendRemote(list ? list : List(), LVM_GETITEMTEXTW, row, item);
    std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)), L'\0');
    ReadProcessMemory(Process(), item.pszText, text.data(), text.size() * sizeof(wchar_t), nullptr);
    return Narrow(text);
}

void TarnwickRun::SetRowState(HWND list, int row, UINT mask, UINT state) {
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    SendRemote(list ? list : List(), LVM_SETITEMSTATE, row, item);
}

std::string TarnwickRun::HistoryLine(int index) {
    std::wstring text(std::max<LRESULT>(SendMessageW(Control(1021), LB_GETTEXTLEN, index, 0), 0) + 1, L'\0');
    const LRESULT length = SendMessageW(Control(1021), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return Narrow(text.substr(0, static_cast<std::size_t>(std::max<LRESULT>(length, 0))));
}

bool TarnwickRun::AnswerMessageBox(const std::string& caption, int button, const std::string& text) {
    const Dialog box = WaitForDialog(caption);
    return (text.empty() || box.Text(0xFFFF) == text) && box.Close(button);  // 0xFFFF: the box's text
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
