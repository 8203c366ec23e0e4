// The end-to-end driver's view of a running Tarnwick: it starts the real program
// in a folder of its own, finds its windows by title and id, reads and changes the
// registration list through list-view messages whose records live in Tarnwick's
// own memory, reads the history list box, presses buttons and answers message boxes,
// exactly as an automation tool would from outside.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/wine/wine_support.h"

namespace tarnwick::e2e {

using namespace tarnwick::wine;

class TarnwickRun {
public:
    // Starts the Tarnwick.exe that lies in `folder`.
    explicit TarnwickRun(const std::wstring& folder);

    bool Started() const { return m_process.Running(); }
    DWORD Id() const { return m_process.Id(); }
    HANDLE Process() const { return m_process.Process(); }
    // The main window, once it exists (hidden or not).
    HWND Window();
    bool WaitForWindow();
    bool Visible() { return Window() && IsWindowVisible(Window()); }
    HWND Control(int id) { return GetDlgItem(Window(), id); }
    // Waits for the program to end by itself and returns whether it did.
    bool WaitForExit(DWORD timeoutMs = 15000);
    DWORD ExitCode() const;

    // Registration list.
    HWND List() { return Control(1000); }
    int RowCount() { return ListCount(List()); }
    std::string Text(int row, int column) { return ListText(List(), row, column); }
    int StateImage(int row);  // 1 unchecked, 2 checked
    int SelectedRow() { return ListSelected(List()); }
    void SetChecked(int row, bool checked);
    void Select(int row) { ListSelect(List(), row); }
    int ColumnCount();
    DWORD ExtendedStyle();
    // Every row's text of a column, top to bottom.
    std::vector<std::string> Column(int column) { return ListColumn(List(), column); }

    // Any list view of Tarnwick (the registration list, the running programs list).
    static int ListCount(HWND list);
    static int ListSelected(HWND list);
    std::string ListText(HWND list, int row, int column);
    std::vector<std::string> ListColumn(HWND list, int column);
    void ListSelect(HWND list, int row);
    void ClearSelection(HWND list);
    // The row's bounds in screen coordinates.
    RECT RowRect(HWND list, int row) { return ItemRect(list, LVM_GETITEMRECT, row, LVIR_BOUNDS); }
    // An item's bounds in screen coordinates, from a control message that fills a
    // RECT (whose left field may carry an input, as for list views).
    RECT ItemRect(HWND control, UINT message, int index, LONG left = 0);
    // A real click in the middle of a tab control's tab.
    void ClickTab(HWND tabs, int index);
    // A click on a column's header, as the mouse gives it.
    static void ClickHeader(HWND list, int column);

    // A dialog of Tarnwick with this title, once it is there; null after the deadline.
    HWND WaitForDialog(const std::string& title);
    // The control that has the keyboard focus in Tarnwick.
    HWND FocusedControl();

    // History list box.
    int HistoryCount();
    std::string HistoryLine(int index);

    // Posts a button click (a click that may open a modal box must not wait).
    void Click(int id);
    void PostCommand(int id);
    void TrayMouse(UINT mouseMessage);

    // A message box of this process with the caption, or null.
    HWND MessageBoxWindow(const std::string& caption);
    std::string MessageBoxText(HWND box);
    // Waits for the box, checks its text when one is given, presses the button.
    bool AnswerMessageBox(const std::string& caption, int button, const std::string& text = "");
    // The icon menu's quit command; true once the program has ended.
    bool Quit() {
        PostCommand(32773);
        return WaitForExit();
    }

private:
    void SetRowState(HWND list, int row, UINT state);
    void* Remote(std::size_t offset) const { return static_cast<char*>(m_remote) + offset; }

    std::wstring m_folder;
    wine::Started m_process;
    HWND m_window = nullptr;
    void* m_remote = nullptr;  // scratch memory inside Tarnwick for list-view records
};

}  // namespace tarnwick::e2e
