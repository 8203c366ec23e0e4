// Thin wrappers of the common controls that the windows use, speaking Shift_JIS
// byte strings and converting at the call.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <span>
#include <string>
#include <vector>

#include "win/message_map.h"


namespace tarnwick {

// A window known by its handle. A control wrapper bound by its dialog may take
// its own notifications first (OnReflected, see win/message_map.h).
class CWnd : public ReflectingControl {
public:
    void Attach(HWND window) { m_hWnd = window; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(m_hWnd, message, wParam, lParam);
    }
    std::string GetWindowText() const;
    // The text without substitutes: false when it holds a character that code page 932
    // cannot (a path typed with an accented letter would otherwise name another file).
    bool GetWindowTextExactly(std::string& text) const;
    void SetWindowText(const std::string& text);
    void EnableWindow(bool enable) { ::EnableWindow(m_hWnd, enable); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != 0; }

protected:
    HWND m_hWnd = nullptr;
};

class CEdit : public CWnd {
public:
    // Selects the whole text, so that typing replaces it.
    void SelectAll() { Send(EM_SETSEL, 0, -1); }
};

class CButton : public CWnd {
public:
    bool GetCheck() const { return Send(BM_GETCHECK) == BST_CHECKED; }
    void SetCheck(bool checked) { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};

// A drop-down list: its text is the selected entry's, empty without a selection.
class CComboBox : public CWnd {
public:
    void ResetContent() { Send(CB_RESETCONTENT); }
    int AddString(const std::string& text);
    int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    void SetCurSel(int index) { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
    std::string GetLBText(int index) const;
    std::string SelectedText() const;
};

// One column of a report-view list: its width counts widths of "X" in the list's font.
struct ColumnLayout {
    const char* heading;
    int widthFactor;
    int format;  // LVCFMT_LEFT or LVCFMT_RIGHT
    bool freeText;  // names and descriptions: cut before the columns of fixed values
};

class CListCtrl : public CWnd {
public:
    // Inserts the columns in order, measuring "X" for each.
    void InsertColumns(std::span<const ColumnLayout> columns);
    // Shares the list's width among the columns: each first gets what shows its heading
    // and its values uncut, as far as the room goes, the rest by their factors (see
    // win/column_widths.h). Room is left for a vertical scroll bar that more rows would
    // bring: no horizontal one is needed. Again after the rows or the font change.
    void FitColumns(std::span<const ColumnLayout> columns);
    int InsertColumn(int column, const std::string& heading, int format, int width);
    void SetExtendedStyle(DWORD style);
    int GetStringWidth(const std::string& text) const;
    int GetItemCount() const;
    int InsertItem(int row, const std::string& text);
    bool SetItemText(int row, int column, const std::string& text);
    std::string GetItemText(int row, int column) const;
    bool SetItemData(int row, LPARAM data);
    LPARAM GetItemData(int row) const;
    bool GetCheck(int row) const;
    void SetCheck(int row, bool checked);
    bool DeleteItem(int row);
    bool DeleteAllItems();
    // The first selected row searched from -1, or -1.
    int GetSelected() const;
    void SelectAndFocus(int row);
    int GetHeaderColumnCount() const;
    // Sorts with the comparison, which receives two rows' item data and `context`.
    bool SortItems(PFNLVCOMPARE compare, LPARAM context);
};

class CTabCtrl : public CWnd {
public:
    void InsertItem(int index, const std::string& text);
    int GetCurSel() const { return static_cast<int>(Send(TCM_GETCURSEL)); }
    // The display area below the tabs, in the tab control's client coordinates.
    RECT DisplayArea() const;
};

class CSpinButtonCtrl : public CWnd {
public:
    void SetRange32(int low, int high) { Send(UDM_SETRANGE32, static_cast<WPARAM>(low), high); }
    // One acceleration step from the start: `step` per click.
    void SetStep(UINT step);
};

// The system's file open dialog. The filter is written as "Text|*.ext|...||".
struct FileDialogOptions {
    std::string title;
    std::string filter;
    std::string initialName;
    std::string defaultExtension;
};
// True with the chosen file's full path; false when the user cancels.
bool ShowOpenFileDialog(HWND owner, const FileDialogOptions& options, std::string& path);
// The same with the path as the system gives it, for a caller that must know whether
// code page 932 holds it.
bool ShowOpenFileDialog(HWND owner, const FileDialogOptions& options, std::wstring& path);

// A menu loaded from the resources, destroyed with the object.
class CMenu {
public:
    explicit CMenu(unsigned resourceId);
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    bool Loaded() const { return m_menu != nullptr; }
    // Tracks the pop-up at `position` until it closes, the items `marked` shown with a
    // radio mark; a chosen item reaches `owner` as WM_COMMAND.
    void TrackPopup(int position, UINT flags, POINT at, HWND owner, std::span<const unsigned> marked = {}) const;

private:
    HMENU m_menu;
};

class CListBox : public CWnd {
public:
    int GetCount() const;
    void DeleteString(int index);
    void InsertString(int index, const std::string& text);
    void ResetContent();
    std::string GetText(int index) const;
};

// A message box with Shift_JIS texts; returns the id of the button pressed.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned flags);

}  // namespace tarnwick
