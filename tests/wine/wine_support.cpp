#include "tests/wine/wine_support.h"

#include <psapi.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

namespace tarnwick::wine {

TempFolder::TempFolder(const std::wstring& prefix) {
    m_path = L"C:\\" + prefix + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
    CreateDirectoryW(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const std::wstring full(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return full.substr(0, full.find_last_of(L"\\/"));
}

Started::Started(const std::wstring& program, const std::wstring& arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // Under Wine a start right after the program was copied has been seen to fail
    // once in a while; a second try a moment later goes through.
    for (int attempt = 0; attempt < 3; ++attempt, Sleep(300)) {
        std::wstring line = L"\"" + program + L"\" " + arguments;  // CreateProcessW may write into it
        if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info)) {
            WaitForInputIdle(m_info.hProcess, 5000);
            return;
        }
        std::fprintf(stderr, "could not start %ls: error %lu\n", program.c_str(), GetLastError());
        m_info = {};
    }
}

void Started::End() {
    if (!m_info.hProcess) return;
    TerminateProcess(m_info.hProcess, 0);
    WaitForSingleObject(m_info.hProcess, 5000);
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
    m_info = {};
}

std::wstring PlaceTarget(const std::wstring& folder, const std::wstring& subfolder, const std::wstring& name) {
    CreateDirectoryW((folder + L"\\" + subfolder).c_str(), nullptr);
    const std::wstring path = folder + L"\\" + subfolder + L"\\" + name;
    if (!CopyFileW((ProgramFolder() + L"\\wine_target.exe").c_str(), path.c_str(), FALSE)) {
        std::fprintf(stderr, "could not copy the target program to %ls: error %lu\n", path.c_str(), GetLastError());
    }
    return path;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs, const std::function<void()>& between,
             DWORD pollMs) {
    for (const ULONGLONG deadline = GetTickCount64() + timeoutMs; !condition(); Sleep(pollMs)) {
        if (GetTickCount64() > deadline) return false;
        if (between) between();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

std::string ReadBytes(const std::wstring& path) {
    // Shared for deletion too: Tarnwick replaces its files while the tests poll them.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary);
    return file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && file.flush();
}

void PressKey(WORD key, WORD modifier) {
    for (WORD down : {modifier, key}) if (down) keybd_event(static_cast<BYTE>(down), 0, 0, 0);
    for (WORD up : {key, modifier}) if (up) keybd_event(static_cast<BYTE>(up), 0, KEYEVENTF_KEYUP, 0);
    Sleep(50);
}

std::string Dialog::Text(int id) const {
    // GetWindowText would give another process's edit control's caption, not its text.
    wchar_t text[1024] = L"";
    SendMessageW(Item(id), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return Narrow(text);
}

ResourceCounts CountResources(HANDLE process, DWORD processId) {
    ResourceCounts counts;
    for (ULONG_PTR value = 4; value < (1u << 16); value += 4) {
        HANDLE copy = nullptr;
        if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0, FALSE,
                            DUPLICATE_SAME_ACCESS)) {
            ++counts.handles;
            CloseHandle(copy);
        }
    }
    counts.windows = static_cast<DWORD>(AllWindows(processId, true).size());
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, &memory, sizeof memory)) counts.committedBytes = memory.PagefileUsage;
    return counts;
}

void CheckNoGrowth(const ResourceCounts& before, const ResourceCounts& after, const std::string& span) {
    for (const auto& [when, counts] : {std::pair{"before", before}, std::pair{"after", after}}) {
        std::printf("%s %s: %lu handles, %lu windows, %zu committed bytes\n", when, span.c_str(), counts.handles,
                    counts.windows, counts.committedBytes);
    }
    WINE_CHECK(after.handles <= before.handles + 8);
    WINE_CHECK(after.windows <= before.windows);
    WINE_CHECK(after.committedBytes <= before.committedBytes + (512u << 10));  // 1 KB kept a tick exceeds it
}

std::vector<HWND> AllWindows(DWORD processId, bool descendants) {
    const WNDENUMPROC add = [](HWND window, LPARAM windows) -> BOOL {
        return reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window), TRUE;
    };
    std::vector<HWND> topLevel, found;
    EnumWindows(add, reinterpret_cast<LPARAM>(&topLevel));
    for (HWND window : topLevel) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (processId && owner != processId) continue;
        found.push_back(window);
        if (descendants) EnumChildWindows(window, add, reinterpret_cast<LPARAM>(&found));
    }
    return found;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className, const std::wstring& title, bool visibleOnly) {
    for (HWND window : AllWindows(processId)) {
        if ((!visibleOnly || IsWindowVisible(window)) && (!className || ClassOf(window) == className) &&
            (title.empty() || TitleOf(window) == title)) {
            return window;
        }
    }
    return nullptr;
}

constexpr std::size_t kRemoteSize = 1 << 16;
constexpr std::size_t kTextOffset = 4096;  // list-view text after the record

Installation::Installation(const std::string& settings, const std::string& save, const std::wstring& name)
    : folder(name) {
    const wchar_t* chosen = _wgetenv(L"TARNWICK_EXE");
    CopyFileW(chosen && *chosen ? chosen : (ProgramFolder() + L"\\Tarnwick.exe").c_str(), Path(L"Tarnwick.exe").c_str(),
              FALSE);
    if (!settings.empty()) WriteBytes(Path(L"Tarnwick.ini"), settings);
    if (!save.empty()) WriteBytes(Path(L"Tarnwick.sav"), save);
}

std::string Installation::Files() const {
    std::set<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path(), ignored)) {
        if (!IsFolder(entry.path().wstring())) names.insert(Narrow(entry.path().filename().wstring()));
    }
    std::string files;
    for (const std::string& name : names) files += (files.empty() ? "" : " ") + name;
    return files;
}

void Dialog::Select(int combo, const std::string& entry) const {
    const std::wstring text = Wide(entry);  // the system carries the string across processes
    SendMessageW(Item(combo), CB_SETCURSEL,
                 SendMessageW(Item(combo), CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text.c_str())), 0);
}

Dialog Dialog::Page(int id) const {
    for (HWND page : AllWindows(0, true)) {
        if (GetParent(page) == Item(1010) && GetDlgItem(page, id)) return {page};
    }
    return {};
}

TarnwickRun::TarnwickRun(const Installation& install)
    : Started(install.Path(install.program.c_str()), L""), m_install(install) {
    m_remote = VirtualAllocEx(Process(), nullptr, kRemoteSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

std::vector<std::string> TarnwickRun::Column(int column, HWND list) {
    std::vector<std::string> texts;
    for (int row = 0; row < RowCount(list); ++row) {
        texts.push_back(Text(row, column, list));
    }
    return texts;
}

RECT TarnwickRun::ItemBounds(HWND control, UINT message, int index) {
    RECT bounds{message == LVM_GETITEMRECT ? LVIR_BOUNDS : 0, 0, 0, 0};
    SendRemote(control, message, index, bounds);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

void TarnwickRun::ClickItem(HWND control, UINT message, int index, bool right, int clicks) {
    const RECT bounds = ItemBounds(control, message, index);
    Sleep(GetDoubleClickTime() + 50);  // two clicks in a row must not make a double-click
    SetCursorPos(std::min(bounds.left + 30, (bounds.left + bounds.right) / 2), (bounds.top + bounds.bottom) / 2);
    Sleep(100);
    for (int i = 0; i < clicks; ++i, Sleep(50)) {  // real mouse input, as the user gives it
        mouse_event(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    }
}

bool TarnwickRun::ColumnsShowWholeTexts(HWND list) {
    list = list ? list : List();
    auto* remote = static_cast<wchar_t*>(m_remote) + kTextOffset / sizeof(wchar_t);
    const auto widthOf = [&](const wchar_t* text) {  // null: the text there already
        if (text) WriteProcessMemory(Process(), remote, text, (wcslen(text) + 1) * sizeof(wchar_t), nullptr);
        return static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(remote)));
    };
    bool whole = true;
    for (int column = 0;; ++column) {
        LVCOLUMNW heading{LVCF_TEXT, 0, 0, remote, 256, 0, 0, 0, 0, 0, 0};
        if (!SendRemote(list, LVM_GETCOLUMNW, column, heading)) break;
        int needed = widthOf(nullptr);  // the heading, read into Tarnwick's memory by the message
        for (const std::string& value : Column(column, list)) needed = std::max(needed, widthOf(Wide(value).c_str()));
        const int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
        if (width < needed + 12) {
            std::printf("column %d is %d wide; its texts need %d and margins\n", column, width, needed);
            whole = false;
        }
    }
    return whole;
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

ForegroundStage::ForegroundStage()
    : install("AUTOLOADMODE=1\r\nWATCHINGCYCLETIME=5000\r\nRUNPANELVIEW=0\r\n",
              "Version:4.0.0\r\n1,TwActive.exe,低,高,\r\n0,TwOther.exe,高,指定なし,\r\n"),
      target(install.Target(L"TwActive.exe", L"--window ActiveTarget")),
      other(install.Target(L"TwOther.exe", L"--window OtherTarget")) {
    ready = WaitFor([&] { return (targetWindow = target.Window()) && (otherWindow = other.Window()); }) &&
            BringToForeground(otherWindow);
    run = std::make_unique<TarnwickRun>(install);
    // The first timer tick gives the target its specified class.
    ready = ready && run->Ready(2, false) &&
            WaitFor([&] { return target.PriorityClass() == IDLE_PRIORITY_CLASS; }, 15000, nullptr, 20);
}

}  // namespace tarnwick::wine
