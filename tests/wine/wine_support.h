// The one driver of the real programs under Wine, shared by the Wine test programs,
// the end-to-end scenarios and the benchmarks: a private folder, target processes
// that it starts (and only those are ever touched), waiting with a deadline, real
// mouse and keyboard input, one walk over the windows, and a running Tarnwick as an
// automation tool sees it from outside: its windows found by title and id, its
// list-view records read and changed in its own memory, its dialogs worked and its
// message boxes answered. Checks print their outcome; the program ends with the
// plain "N passed, N failed" line and a non-zero exit code when anything failed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "win/text.h"

namespace tarnwick::wine {

inline int g_passed = 0, g_failed = 0;

inline bool Check(bool ok, const char* what, const char* file, int line) {
    ++(ok ? g_passed : g_failed);
    std::printf(ok ? "ok   %s\n" : "FAIL %s (%s:%d)\n", what, file, line);
    std::fflush(stdout);
    return ok;
}

inline int FinishChecks() {
    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 && g_passed > 0 ? 0 : 1;
}

// Every top-level window (of one process when an id is given), each followed by its
// descendants when asked: the one walk behind every window search.
std::vector<HWND> AllWindows(DWORD processId = 0, bool descendants = false);
inline std::wstring ClassOf(HWND window) {
    wchar_t name[256] = L"";
    return std::wstring(name, GetClassNameW(window, name, 256));
}
inline std::wstring TitleOf(HWND window) {
    wchar_t title[256] = L"";
    return std::wstring(title, GetWindowTextW(window, title, 256));
}
// A top-level window of a process, of a class (any without one), with a title (any
// when empty).
HWND FindProcessWindow(DWORD processId, const wchar_t* className = nullptr, const std::wstring& title = L"",
                       bool visibleOnly = false);

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
    // Waits until the program is ready for input (its window made).
    Started(const std::wstring& program, const std::wstring& arguments);
    ~Started() { End(); }
    Started(Started&& other) noexcept { std::swap(m_info, other.m_info); }
    Started& operator=(Started&& other) noexcept { return std::swap(m_info, other.m_info), *this; }

    bool Running() const { return m_info.hProcess != nullptr; }
    bool Alive() const { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }
    // Waits for the program to end by itself and returns whether it did with code 0.
    bool Ended(DWORD timeoutMs = 15000) const {
        DWORD code = STILL_ACTIVE;
        return WaitForSingleObject(Process(), timeoutMs) == WAIT_OBJECT_0 && GetExitCodeProcess(Process(), &code) && !code;
    }
    DWORD Id() const { return m_info.dwProcessId; }
    HANDLE Process() const { return m_info.hProcess; }
    // Read with the test's own handle, never through the code under test.
    DWORD PriorityClass() const { return GetPriorityClass(m_info.hProcess); }
    // The process's first visible top-level window, or null.
    HWND Window() const { return FindProcessWindow(Id(), nullptr, L"", true); }
    void End();

private:
    PROCESS_INFORMATION m_info{};
};

// Copies the target program to folder\subfolder\name and returns the new path.
std::wstring PlaceTarget(const std::wstring& folder, const std::wstring& subfolder, const std::wstring& name);

// Polls the condition until it holds or the deadline passes; between polls runs
// `between` (a watch tick, for example) and pumps this thread's messages.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 15000,
             const std::function<void()>& between = nullptr, DWORD pollMs = 100);

// Makes the window the foreground window and waits until it is.
inline bool BringToForeground(HWND window, DWORD timeoutMs = 15000, DWORD pollMs = 100) {
    return WaitFor([window] { return GetForegroundWindow() == window || (SetForegroundWindow(window), false); },
                   timeoutMs, nullptr, pollMs);
}

// Waits for a watch tick that starts after this call: the target, put back to
// normal, gets the wanted class again. Proves that what was posted before is done.
inline bool WaitForCorrection(const Started& target, DWORD wanted, DWORD timeoutMs = 15000) {
    SetPriorityClass(target.Process(), NORMAL_PRIORITY_CLASS);
    return WaitFor([&] { return target.PriorityClass() == wanted; }, timeoutMs, nullptr, 20);
}

// The bytes of a file, or "<missing>" when it cannot be read.
std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
inline bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A real key press, as the user gives it (the system's input queue, not messages).
void PressKey(WORD key, WORD modifier = 0);

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
// Prints both counts and checks that none grew beyond bounds that one object leaked a tick or round exceeds.
void CheckNoGrowth(const ResourceCounts& before, const ResourceCounts& after, const std::string& span);

constexpr const char* kMainTitle = "Tarnwick - モニタ＆設定";
constexpr const char* kMainTitleEnglish = "Tarnwick - Monitor and Settings";
constexpr const char* kEntryTitle = "プログラム名および実行優先度の設定";
constexpr const char* kOptionsTitle = "Tarnwick - オプション";
constexpr const char* kRunningTitle = "実行中プログラム名一覧";
constexpr const char* kSaveFailedTitle = "セーブの失敗";
constexpr const char* kEndTitle = "終了の確認";
constexpr const char* kSaveFailed =
    "データのセーブに失敗しました。オプションのファイルで指定されているパス名を確認してください。";

// A folder holding a copy of Tarnwick.exe (the build's, or the release archive's
// that TARNWICK_EXE names) and the settings and save file a scenario gives it.
struct Installation {
    explicit Installation(const std::string& settings = "", const std::string& save = "",
                          const std::wstring& name = L"tarnwick-e2e");
    // A folder that holds Tarnwick.exe already: one the test's fixture locked, or a moved one.
    explicit Installation(TempFolder::Existing folder) : folder(std::move(folder)) {}
    TempFolder folder;
    std::wstring program = L"Tarnwick.exe";  // the name it runs by; a user may rename it
    std::wstring Path(const wchar_t* name) const { return folder.Path() + L"\\" + name; }
    std::string Bytes(const wchar_t* name) const { return ReadBytes(Path(name)); }
    std::string Save() const { return Bytes(L"Tarnwick.sav"); }
    std::string Settings() const { return Bytes(L"Tarnwick.ini"); }
    // The plain files in the folder, sorted and separated by blanks: what a run left.
    std::string Files() const;
    // A target started from a subfolder of its own (with "--window TITLE" it shows one).
    Started Target(const std::wstring& name, const std::wstring& arguments = L"") const {
        return Started(PlaceTarget(folder.Path(), name + L".d", name), arguments);
    }
};

// One of Tarnwick's dialogs as a user works it: the entry dialog, the options dialog
// and its pages, the running programs dialog, message boxes, the system's file dialog.
struct Dialog {
    HWND window = nullptr;
    HWND Item(int id) const { return GetDlgItem(window, id); }
    std::string Text(int id) const;
    void SetText(int id, const std::string& text) const {
        SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    }
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Check(int id, bool on) const { SendMessageW(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != 0; }
    void Select(int combo, const std::string& entry) const;  // a drop-down list's selection reads as Text
    void Press(int button) const { PostMessageW(Item(button), BM_CLICK, 0, 0); }
    bool Closed() const { return WaitFor([this] { return !IsWindow(window); }); }
    bool Close(int button) const { return window && (Press(button), Closed()); }
    // An options page: the child dialog of the tab control that holds this control.
    Dialog Page(int id) const;
};

// The Tarnwick.exe of an installation, started.
class TarnwickRun : public Started {
public:
    explicit TarnwickRun(const Installation& install);

    // The main window, once it exists (hidden or not).
    HWND Window() {
        for (const char* title : {kMainTitle, kMainTitleEnglish}) {
            if (!m_window || !IsWindow(m_window)) m_window = FindProcessWindow(Id(), L"#32770", Wide(title));
        }
        return m_window;
    }
    // The window made and showing (or not) this many rows, once auto-load is done.
    bool Ready(int rows = 0, bool visible = true, DWORD timeoutMs = 15000) {
        return WaitFor([&] { return Window() && Visible() == visible && RowCount() == rows; }, timeoutMs);
    }
    bool Visible() { return Window() && IsWindowVisible(Window()); }
    bool InFront() { return WaitFor([this] { return Visible() && GetForegroundWindow() == Window(); }); }
    // The main window is a dialog as well: its controls are found and pressed as any dialog's.
    Dialog Main() { return {Window()}; }
    HWND Control(int id) { return Main().Item(id); }
    // Returns once Tarnwick's thread takes messages again: whatever the command or
    // answer before did (a change, a save) has landed by then.
    // (A box's answer, a dialog's end: the handler that waited on them runs on. Polling
    // a file instead would hold it open while Tarnwick replaces it.)
    bool Settle(UINT timeoutMs = 15000) {
        return SendMessageTimeoutW(Window(), WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, nullptr) != 0;
    }

    // The registration list, or another list view of Tarnwick (the running programs).
    HWND List() { return Control(1000); }
    int RowCount(HWND list = nullptr) { return static_cast<int>(SendMessageW(list ? list : List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::string Text(int row, int column, HWND list = nullptr);
    std::vector<std::string> Column(int column, HWND list = nullptr);  // every row's, top to bottom
    int Find(const std::string& name, HWND list) {  // the row with this first column; -1 when none has
        const std::vector<std::string> names = Column(0, list);
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
    // Every column at least as wide as its heading and each of its values, measured in
    // the list's own font, with a list's margins: nothing is cut to "...".
    bool ColumnsShowWholeTexts(HWND list = nullptr);
    int StateImage(int row) {  // 1 unchecked, 2 checked
        return static_cast<int>(SendMessageW(List(), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) >> 12);
    }
    void SetChecked(int row, bool checked) { SetRowState(nullptr, row, LVIS_STATEIMAGEMASK, checked ? 0x2000 : 0x1000); }
    int SelectedRow(HWND list = nullptr) {
        return static_cast<int>(SendMessageW(list ? list : List(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
    }
    void Select(int row, HWND list = nullptr) {
        SetRowState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    void ClearSelection() { SetRowState(nullptr, -1, LVIS_SELECTED | LVIS_FOCUSED, 0); }  // row -1: every row
    // Real mouse input on an item of a control whose message fills a RECT with its
    // bounds (a row, a tab, a column's header).
    void ClickItem(HWND control, UINT message, int index, bool right = false, int clicks = 1);
    // The screen rectangle of such an item.
    RECT ItemBounds(HWND control, UINT message, int index);

    // A dialog of Tarnwick with this title: there now, or once it is; null when not (yet).
    HWND FindDialog(const std::string& title) { return FindProcessWindow(Id(), L"#32770", Wide(title), true); }
    Dialog WaitForDialog(const std::string& title) {
        HWND dialog = nullptr;
        WaitFor([&] { return (dialog = FindDialog(title)) != nullptr; });
        return {dialog};
    }
    // Posts the command (a button's or a menu item's) and waits for the dialog it opens.
    Dialog Open(int command, const std::string& title) { return PostCommand(command), WaitForDialog(title); }
    // Opens the entry dialog (Add) and fills the name and, when given, the specified priority.
    Dialog NewEntry(const std::string& name, const std::string& specified = "", const std::string& title = kEntryTitle) {
        const Dialog entry = Open(1003, title);
        entry.SetText(1020, name);
        if (!specified.empty()) entry.Select(1019, specified);
        return entry;
    }
    // From the entry dialog: its button for the running programs dialog.
    Dialog RunningList(const Dialog& entry) { return entry.Press(1018), WaitForDialog(kRunningTitle); }
    // The control that has the keyboard focus in Tarnwick.
    HWND FocusedControl();
    bool MenuOpen() { return FindProcessWindow(Id(), L"#32768", L"", true) != nullptr; }

    // History list box.
    int HistoryCount() { return static_cast<int>(SendMessageW(Control(1021), LB_GETCOUNT, 0, 0)); }
    std::string HistoryLine(int index) {
        wchar_t text[1024] = L"";
        HWND history = Control(1021);
        if (SendMessageW(history, LB_GETTEXTLEN, index, 0) < 1024) SendMessageW(history, LB_GETTEXT, index, LPARAM(text));
        return Narrow(text);
    }

    // Posts a button click (a click that may open a modal box must not wait).
    void Click(int id) { Main().Press(id); }
    // Clicks a button and returns once its command is done (one that opens no box).
    bool ClickDone(int id, UINT timeoutMs = 15000) {
        return SendMessageTimeoutW(Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, timeoutMs, nullptr) != 0;
    }
    void PostCommand(int id) { PostMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void TrayMouse(UINT mouseMessage) { PostMessageW(Window(), WM_USER + 1, 137, mouseMessage); }

    // Waits for the box, checks its text when one is given, presses the button.
    bool AnswerMessageBox(const std::string& caption, int button, const std::string& text = "") {
        const Dialog box = WaitForDialog(caption);
        return (text.empty() || box.Text(0xFFFF) == text) && box.Close(button);  // 0xFFFF: the box's text
    }
    // The icon menu's quit command; true once the program has ended with code 0.
    bool Quit() { return PostCommand(32773), Ended(); }
    // Quits, and the installation holds exactly these files afterwards.
    bool QuitLeaving(const std::string& files) { return Quit() && m_install.Files() == files; }

private:
    void SetRowState(HWND list, int row, UINT mask, UINT state) {
        LVITEMW item{};
        item.stateMask = mask;
        item.state = state;
        SendRemote(list ? list : List(), LVM_SETITEMSTATE, row, item);
    }
    // Sends a message whose record lies in Tarnwick's memory: copied there, and back.
    template <typename Record>
    LRESULT SendRemote(HWND control, UINT message, WPARAM wParam, Record& record) {
        WriteProcessMemory(Process(), m_remote, &record, sizeof record, nullptr);
        const LRESULT result = SendMessageW(control, message, wParam, reinterpret_cast<LPARAM>(m_remote));
        ReadProcessMemory(Process(), m_remote, &record, sizeof record, nullptr);
        return result;
    }

    const Installation& m_install;
    HWND m_window = nullptr;
    void* m_remote = nullptr;  // scratch memory inside Tarnwick for list-view records
};

// The stage of the foreground test and benchmark: Tarnwick at a 5000 ms cycle with
// a target whose active priority (high) differs from its specified one (idle), and
// another program, registered but not watched. Both show a window; once ready, the
// other one is in front and the target at idle.
struct ForegroundStage {
    ForegroundStage();
    Installation install;
    Started target, other;
    HWND targetWindow = nullptr, otherWindow = nullptr;
    std::unique_ptr<TarnwickRun> run;  // started once the other window is in front
    bool ready = false;
};

}  // namespace tarnwick::wine

#define WINE_CHECK(condition) ::tarnwick::wine::Check((condition), #condition, __FILE__, __LINE__)
