#include "e2e/driver.h"

#include <commctrl.h>

#include "win/text.h"

namespace tarnwick::e2e {

namespace {
constexpr std::size_t kRemoteSize = 1 << 16;
constexpr std::size_t kTextOffset = 4096;
constexpr int kTextChars = (kRemoteSize - kTextOffset) / sizeof(wchar_t);
}  // namespace

bool ReadBytes(const std::wstring& path, std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return true;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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

RECT TarnwickRun::RowRect(HWND list, int row) {
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    WriteProcessMemory(m_process.Process(), m_remote, &bounds, sizeof bounds, nullptr);
    SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(m_remote));
    ReadProcessMemory(m_process.Process(), m_remote, &bounds, sizeof bounds, nullptr);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
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

bool TarnwickRun::AnswerMessageBox(const std::string& caption, int button) {
    HWND box = nullptr;
    if (!wine::WaitFor([&] { return (box = MessageBoxWindow(caption)) != nullptr; })) return false;
    PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
    return wine::WaitFor([&] { return !IsWindow(box); });
}

void MouseClick(POINT screen, bool right, int clicks) {
    SetCursorPos(screen.x, screen.y);
    Sleep(100);
    for (int i = 0; i < clicks; ++i) {
        INPUT press[2]{};
        press[0].type = press[1].type = INPUT_MOUSE;
        press[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
        press[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
        SendInput(2, press, sizeof(INPUT));
        Sleep(50);
    }
}

void PressKey(WORD key, WORD modifier) {
    INPUT keys[4]{};
    int count = 0;
    auto add = [&](WORD code, DWORD flags) {
        keys[count].type = INPUT_KEYBOARD;
        keys[count].ki.wVk = code;
        keys[count].ki.dwFlags = flags;
        ++count;
    };
    if (modifier) add(modifier, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (modifier) add(modifier, KEYEVENTF_KEYUP);
    SendInput(count, keys, sizeof(INPUT));
    Sleep(50);
}

std::string ControlText(HWND control) {
    // GetWindowText would give another process's edit control's caption, not its text.
    wchar_t text[1024] = L"";
    SendMessageW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return Narrow(text);
}

void SetControlText(HWND control, const std::string& text) {
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

std::vector<std::string> ComboEntries(HWND combo) {
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = L"";
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(Narrow(text));
    }
    return entries;
}

std::string ComboSelection(HWND combo) {
    const int selected = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    return selected < 0 ? std::string() : ComboEntries(combo)[selected];
}

void ComboSelect(HWND combo, const std::string& entry) {
    const std::vector<std::string> entries = ComboEntries(combo);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == entry) SendMessageW(combo, CB_SETCURSEL, i, 0);
    }
}

int TrayIconCount() {
    int count = 0;
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            EnumChildWindows(
                window,
                [](HWND child, LPARAM inner) -> BOOL {
                    wchar_t name[64];
                    GetClassNameW(child, name, 64);
                    if (std::wstring(name) == L"__winex11_tray_icon" && IsWindowVisible(child)) ++*reinterpret_cast<int*>(inner);
                    return TRUE;
                },
                context);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className, const std::wstring& title) {
    struct Search {
        DWORD id;
        const wchar_t* className;
        const std::wstring* title;
        HWND found;
    } search{processId, className, &title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->id) return TRUE;
            wchar_t name[64];
            GetClassNameW(window, name, 64);
            if (std::wstring(name) != s->className) return TRUE;
            if (!s->title->empty()) {
                wchar_t text[256] = L"";
                GetWindowTextW(window, text, 256);
                if (*s->title != text) return TRUE;
            }
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace tarnwick::e2e
