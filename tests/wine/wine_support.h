// What the Wine test programs and the end-to-end driver share: a private folder,
// target processes that they start (and only those are ever touched), waiting with
// a deadline, foreground switching, real mouse and keyboard input, and reading and
// changing another process's windows.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick::wine {

// A fresh folder at the root of drive C:, removed by its destructor. Not under the
// Windows temporary folder: Tarnwick takes a program started there for one run from
// inside an archive and keeps its files elsewhere.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& prefix);
    // A folder that exists already (made elsewhere, or moved there), removed as well.
    struct Existing {
        std::wstring path;
    };
    explicit TempFolder(Existing existing) : m_path(std::move(existing.path)) {}
    ~TempFolder();
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

// The folder of the running test program (where the target program lies too).
std::wstring ProgramFolder();

// A process that the test started; ended by the destructor.
class Started {
public:
    Started() = default;
    // Waits until the program is ready for input (its window made). Wine 8's
    // WaitForInputIdle leaks a handle in the caller on every call, so a test that
    // counts its handles waits only until the program's executable is loaded.
    enum class Wait { InputIdle, Loaded };
    Started(const std::wstring& program, const std::wstring& arguments, Wait wait = Wait::InputIdle);
    ~Started() { End(); }
    Started(Started&& other) noexcept { std::swap(m_info, other.m_info); }
    Started& operator=(Started&& other) noexcept { return std::swap(m_info, other.m_info), *this; }

    bool Running() const { return m_info.hProcess != nullptr; }
    DWORD Id() const { return m_info.dwProcessId; }
    HANDLE Process() const { return m_info.hProcess; }
    // Read with the test's own handle, never through the code under test.
    DWORD PriorityClass() const { return GetPriorityClass(m_info.hProcess); }
    // The process's first visible top-level window, or null.
    HWND Window() const;
    void End();

private:
    PROCESS_INFORMATION m_info{};
};

// Copies the target program to folder\subfolder\name and returns the new path.
std::wstring PlaceTarget(const std::wstring& folder, const std::wstring& subfolder, const std::wstring& name);

// Targets of one name that keep starting and ending, as programs do while Tarnwick
// stays resident: Next() ends the oldest once `keep` run (or the one named) and
// starts another, from folders in turn. They are waited on only until loaded.
class Churn {
public:
    Churn(const std::wstring& folder, const std::wstring& name, std::size_t keep)
        : m_folder(folder), m_name(name), m_keep(keep) {}
    Started& Next(const Started* ending = nullptr);
    Started& Oldest() { return m_running.front(); }
    Started& Newest() { return m_running.back(); }
    int StartedCount() const { return m_started; }

private:
    std::wstring m_folder, m_name;
    std::size_t m_keep;
    std::deque<Started> m_running;
    int m_started = 0;
};

// The soaks run at a length that catches a leak of one object per tick or round;
// TARNWICK_LONG_SOAK=1 (scripts/soak.sh) selects the long runs of the README's figures.
bool LongSoak();

// Polls the condition until it holds or the deadline passes; between polls runs
// `between` (a watch tick, for example) and pumps this thread's messages.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 15000,
             const std::function<void()>& between = nullptr, DWORD pollMs = 100);

// Makes the window the foreground window and waits until it is.
bool BringToForeground(HWND window);

// Shift_JIS bytes of a file, or nothing when it cannot be read.
bool ReadBytes(const std::wstring& path, std::string& bytes);
bool WriteBytes(const std::wstring& path, const std::string& bytes);

// Real input, as the user gives it (the system's input queue, not messages).
void MouseClick(POINT screen, bool right, int clicks = 1);
void PressKey(WORD key, WORD modifier = 0);
// The text of a dialog's control and the combo box helpers that a user's choice needs.
std::string ControlText(HWND control);
void SetControlText(HWND control, const std::string& text);
std::vector<std::string> ComboEntries(HWND combo);
void ComboSelect(HWND combo, const std::string& entry);  // a drop-down list's selection reads as ControlText

// What a process holds, as far as Wine tells: Wine 8 answers 0 to GetProcessHandleCount,
// GetGuiResources and the private-bytes field, so handles are counted by duplicating
// every possible handle value, USER objects by counting the process's windows, and
// memory by the committed bytes (the page-file usage), which Wine does report.
struct ResourceCounts {
    DWORD handles = 0;
    DWORD windows = 0;
    SIZE_T committedBytes = 0;
};
ResourceCounts CountResources(HANDLE process, DWORD processId);
void PrintResources(const char* when, const ResourceCounts& counts);

// Every top-level window (of one process when an id is given), each followed by its
// descendants when asked: the one walk behind every window search of the tests.
std::vector<HWND> AllWindows(DWORD processId = 0, bool descendants = false);
std::wstring ClassOf(HWND window);
std::wstring TitleOf(HWND window);
// The notification-area icons that Wine shows on its stand-in tray.
int TrayIconCount();
// A top-level window of a process, of a class (any without one), with a title (any
// when empty).
HWND FindProcessWindow(DWORD processId, const wchar_t* className = nullptr, const std::wstring& title = L"",
                       bool visibleOnly = false);

}  // namespace tarnwick::wine
