#include "tests/wine/wine_support.h"

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "win/text.h"

namespace tarnwick::wine {

namespace {

void RemoveTree(const std::wstring& path) {
    std::wstring pattern = path + L"\\*";
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

TempFolder::TempFolder(const std::wstring& prefix) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + prefix + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(GetTickCount());
    CreateDirectoryW(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(m_path); }

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path, length);
    return full.substr(0, full.find_last_of(L"\\/"));
}

Started::Started(const std::wstring& program, const std::wstring& arguments, Wait wait) {
    std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // Under Wine a start right after the program was copied has been seen to fail
    // once in a while; a second try a moment later goes through.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::wstring line = commandLine;  // CreateProcessW may write into it
        if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &m_info)) {
            if (wait == Wait::InputIdle) {
                WaitForInputIdle(m_info.hProcess, 5000);
            } else {
                WaitFor([this] {
                    HMODULE module = nullptr;
                    DWORD needed = 0;
                    return EnumProcessModules(m_info.hProcess, &module, sizeof module, &needed) != 0;
                }, 5000, nullptr, 5);
            }
            return;
        }
        std::fprintf(stderr, "could not start %ls: error %lu\n", program.c_str(), GetLastError());
        m_info = {};
        Sleep(300);
    }
}

Started::~Started() { End(); }

Started::Started(Started&& other) noexcept : m_info(other.m_info) { other.m_info = {}; }

Started& Started::operator=(Started&& other) noexcept {
    if (this != &other) {
        End();
        m_info = other.m_info;
        other.m_info = {};
    }
    return *this;
}

void Started::End() {
    if (!m_info.hProcess) return;
    TerminateProcess(m_info.hProcess, 0);
    WaitForSingleObject(m_info.hProcess, 5000);
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
    m_info = {};
}

HWND Started::Window() const { return FindProcessWindow(m_info.dwProcessId, nullptr, L"", true); }

std::wstring PlaceTarget(const std::wstring& folder, const std::wstring& subfolder, const std::wstring& name) {
    std::wstring directory = folder + L"\\" + subfolder;
    CreateDirectoryW(directory.c_str(), nullptr);
    std::wstring path = directory + L"\\" + name;
    if (!CopyFileW((ProgramFolder() + L"\\wine_target.exe").c_str(), path.c_str(), FALSE)) {
        std::fprintf(stderr, "could not copy the target program to %ls: error %lu\n", path.c_str(), GetLastError());
    }
    return path;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs, const std::function<void()>& between,
             DWORD pollMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() > deadline) return false;
        if (between) between();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(pollMs);
    }
}

bool BringToForeground(HWND window) {
    return WaitFor([window] {
        if (GetForegroundWindow() == window) return true;
        SetForegroundWindow(window);
        return false;
    });
}

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
    struct Windows {
        DWORD processId;
        DWORD count;
    } windows{processId, 0};
    EnumWindows([](HWND window, LPARAM context) -> BOOL {
        auto* w = reinterpret_cast<Windows*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != w->processId) return TRUE;
        ++w->count;
        EnumChildWindows(window, [](HWND, LPARAM inner) -> BOOL {
            ++*reinterpret_cast<DWORD*>(inner);
            return TRUE;
        }, reinterpret_cast<LPARAM>(&w->count));
        return TRUE;
    }, reinterpret_cast<LPARAM>(&windows));
    counts.windows = windows.count;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, &memory, sizeof memory)) counts.committedBytes = memory.PagefileUsage;
    return counts;
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

HWND FindProcessWindow(DWORD processId, const wchar_t* className, const std::wstring& title, bool visibleOnly) {
    struct Search {
        DWORD id;
        const wchar_t* className;
        const std::wstring* title;
        bool visibleOnly;
        HWND found;
    } search{processId, className, &title, visibleOnly, nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->id || (s->visibleOnly && !IsWindowVisible(window))) return TRUE;
            wchar_t text[256] = L"";
            if (s->className && (GetClassNameW(window, text, 256), std::wstring(text) != s->className)) return TRUE;
            if (!s->title->empty() && (GetWindowTextW(window, text, 256), *s->title != text)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace tarnwick::wine
