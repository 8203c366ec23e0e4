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

int TarnwickRun::RowCount() { return static_cast<int>(SendMessageW(Control(1000), LVM_GETITEMCOUNT, 0, 0)); }

std::string TarnwickRun::Text(int row, int column) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = static_cast<wchar_t*>(Remote(kTextOffset));
    item.cchTextMax = kTextChars;
    WriteProcessMemory(m_process.Process(), m_remote, &item, sizeof item, nullptr);
    LRESULT length = SendMessageW(Control(1000), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(m_remote));
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) ReadProcessMemory(m_process.Process(), Remote(kTextOffset), text.data(), length * sizeof(wchar_t), nullptr);
    return Narrow(text);
}

int TarnwickRun::StateImage(int row) {
    return static_cast<int>(SendMessageW(Control(1000), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) >> 12);
}

int TarnwickRun::SelectedRow() {
    return static_cast<int>(SendMessageW(Control(1000), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TarnwickRun::SetChecked(int row, bool checked) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    WriteProcessMemory(m_process.Process(), m_remote, &item, sizeof item, nullptr);
    SendMessageW(Control(1000), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(m_remote));
}

void TarnwickRun::Select(int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    WriteProcessMemory(m_process.Process(), m_remote, &item, sizeof item, nullptr);
    SendMessageW(Control(1000), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(m_remote));
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
