// The end-to-end driver's view of a running Tarnwick: it starts the real program
// in a folder of its own, finds its windows by title and id, reads and changes the
// registration list through list-view messages whose records live in Tarnwick's
// own memory, reads the history list box, works its dialogs and answers message
// boxes, exactly as an automation tool would from outside.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/wine/wine_check.h"
#include "tests/wine/wine_support.h"

namespace tarnwick::e2e {

using namespace tarnwick::wine;

constexpr const char* kMainTitle = "Tarnwick - モニタ＆設定";
constexpr const char* kEntryTitle = "プログラム名および実行優先度の設定";
constexpr const char* kOptionsTitle = "Tarnwick - オプション";
constexpr const char* kRunningTitle = "実行中プログラム名一覧";
constexpr const char* kSaveFailedTitle = "セーブの失敗";
constexpr const char* kEndTitle = "終了の確認";
constexpr const char* kSaveChangedTitle = "セーブファイルの変更の確認";
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
    std::wstring Path(const wchar_t* name) const { return folder.Path() + L"\\" + name; }
    std::string Bytes(const wchar_t* name) const;
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
// and its pages, the running programs dialog, message boxes.
struct Dialog {
    HWND window = nullptr;
    HWND Item(int id) const { return GetDlgItem(window, id); }
    std::string Text(int id) const { return ControlText(Item(id)); }
    void SetText(int id, const std::string& text) const { SetControlText(Item(id), text); }
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Check(int id, bool on) const { SendMessageW(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != 0; }
    void Select(int combo, const std::string& entry) const { ComboSelect(Item(combo), entry); }
    void Press(int button) const { PostMessageW(Item(button), BM_CLICK, 0, 0); }
    bool Closed() const { return WaitFor([this] { return !IsWindow(window); }); }
    bool Close(int button) const { return window && (Press(button), Closed()); }
    // An options page: the child dialog of the tab control that holds this control.
    Dialog Page(int id) const;
};

class TarnwickRun {
public:
    // Starts the Tarnwick.exe of the installation.
    explicit TarnwickRun(const Installation& install);

    DWORD Id() const { return m_process.Id(); }
    HANDLE Process() const { return m_process.Process(); }
    // The main window, once it exists (hidden or not).
    HWND Window();
    bool WaitForWindow() { return WaitFor([this] { return Window() != nullptr; }); }
    // The window made and showing (or not) this many rows, once auto-load is done.
    bool Ready(int rows = 0, bool visible = true) {
        return WaitForWindow() && WaitFor([&] { return Visible() == visible && RowCount() == rows; });
    }
    bool Visible() { return Window() && IsWindowVisible(Window()); }
    bool InFront() { return WaitFor([this] { return Visible() && GetForegroundWindow() == Window(); }); }
    HWND Control(int id) { return GetDlgItem(Window(), id); }
    // Waits for the program to end by itself and returns whether it did with code 0.
    bool Ended(DWORD timeoutMs = 15000);
    // Returns once Tarnwick's thread takes messages again: whatever the command or
    // answer before did (a change, a save) has landed by then.
    // (A box's answer, a dialog's end: the handler that waited on them runs on. Polling
    // a file instead would hold it open while Tarnwick replaces it.)
    bool Settle(UINT timeoutMs = 15000) {
        return SendMessageTimeoutW(Window(), WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, nullptr) != 0;
    }

    // The registration list, or another list view of Tarnwick (the running programs).
    HWND List() { return Control(1000); }
    int RowCount() { return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::string Text(int row, int column, HWND list = nullptr);
    std::vector<std::string> Column(int column, HWND list = nullptr);  // every row's, top to bottom
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
    // bounds (a row, a tab), or on a column's header.
    void ClickItem(HWND control, UINT message, int index, bool right = false, int clicks = 1);
    void ClickRow(HWND list, int row, bool right, int clicks) { ClickItem(list, LVM_GETITEMRECT, row, right, clicks); }
    void ClickHeader(HWND list, int column) {
        ClickItem(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMRECT, column);
    }

    // A dialog of Tarnwick with this title, once it is there; null after the deadline.
    Dialog WaitForDialog(const std::string& title);
    // Posts the command (a button's or a menu item's) and waits for the dialog it opens.
    Dialog Open(int command, const std::string& title) { return PostCommand(command), WaitForDialog(title); }
    // The control that has the keyboard focus in Tarnwick.
    HWND FocusedControl();
    bool MenuOpen() {
        HWND menu = FindProcessWindow(Id(), L"#32768");
        return menu && IsWindowVisible(menu);
    }

    // History list box.
    int HistoryCount() { return static_cast<int>(SendMessageW(Control(1021), LB_GETCOUNT, 0, 0)); }
    std::string HistoryLine(int index);

    // Posts a button click (a click that may open a modal box must not wait).
    void Click(int id) { PostMessageW(Control(id), BM_CLICK, 0, 0); }
    // Clicks a button and returns once its command is done (one that opens no box).
    bool ClickDone(int id, UINT timeoutMs = 15000) {
        return SendMessageTimeoutW(Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, timeoutMs, nullptr) != 0;
    }
    void PostCommand(int id) { PostMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void TrayMouse(UINT mouseMessage) { PostMessageW(Window(), WM_USER + 1, 137, mouseMessage); }

    // Waits for the box, checks its text when one is given, presses the button.
    bool AnswerMessageBox(const std::string& caption, int button, const std::string& text = "");
    // The icon menu's quit command; true once the program has ended with code 0.
    bool Quit() { return PostCommand(32773), Ended(); }
    // Quits, and the installation holds exactly these files afterwards.
    bool QuitLeaving(const std::string& files) { return Quit() && m_install.Files() == files; }

private:
    void SetRowState(HWND list, int row, UINT mask, UINT state);
    // Sends a message whose record lies in Tarnwick's memory: copied there, and back.
    template <typename Record>
    LRESULT SendRemote(HWND control, UINT message, WPARAM wParam, Record& record) {
        WriteProcessMemory(Process(), m_remote, &record, sizeof record, nullptr);
        const LRESULT result = SendMessageW(control, message, wParam, reinterpret_cast<LPARAM>(m_remote));
        ReadProcessMemory(Process(), m_remote, &record, sizeof record, nullptr);
        return result;
    }

    const Installation& m_install;
    wine::Started m_process;
    HWND m_window = nullptr;
    void* m_remote = nullptr;  // scratch memory inside Tarnwick for list-view records
};

// The stage of the foreground tests and benchmark: Tarnwick at a 5000 ms cycle with
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

// Waits for a watch tick that starts after this call: the target, put back to
// normal, gets the wanted class again. Proves that what was posted before is done.
bool WaitForCorrection(const Started& target, DWORD wanted);

}  // namespace tarnwick::e2e
