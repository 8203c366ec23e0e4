#include "tests/wine/wine_support.h"

#include <cstdio>
#include <string>

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

Started::Started(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // Under Wine a start right after the program was copied has been seen to fail
    // once in a while; a second try a moment later goes through.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::wstring line = commandLine;  // CreateProcessW may write into it
        if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &m_info)) {
            WaitForInputIdle(m_info.hProcess, 5000);
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

HWND Started::Window() const {
    struct Search {
        DWORD id;
        HWND found;
    } search{m_info.dwProcessId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->id && IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

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

}  // namespace tarnwick::wine
