// Thin wrappers of the common controls that the windows use, speaking Shift_JIS
// byte strings and converting at the call, plus the adapters that give the
// portable logic its rows, history and message boxes on real controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "core/message_box.h"
#include "core/program_rows.h"
#include "watch/history.h"

namespace tarnwick {

class CWnd {
public:
    void Attach(HWND window) { m_hWnd = window; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(m_hWnd, message, wParam, lParam);
    }

protected:
    HWND m_hWnd = nullptr;
};

class CListCtrl : public CWnd {
public:
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
    // The row whose item data is `data`, or -1.
    int FindItemByData(LPARAM data) const;
};

// A menu loaded from the resources, destroyed with the object.
class CMenu {
public:
    explicit CMenu(unsigned resourceId);
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    bool Loaded() const { return m_menu != nullptr; }
    // Tracks the pop-up at `position` until it closes; a chosen item reaches `owner` as WM_COMMAND.
    void TrackPopup(int position, UINT flags, POINT at, HWND owner) const;

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

// The registration list's rows on a list view; its change reports arrive as
// LVN_ITEMCHANGED at the owning window.
class ListViewRows final : public ProgramRows {
public:
    explicit ListViewRows(CListCtrl& list) : m_list(list) {}
    int Count() const override { return m_list.GetItemCount(); }
    void Insert(int row, const std::string& watchText) override { m_list.InsertItem(row, watchText); }
    void SetData(int row, std::intptr_t data) override { m_list.SetItemData(row, data); }
    std::string Text(int row, int column) const override { return m_list.GetItemText(row, column); }
    void SetText(int row, int column, const std::string& text) override { m_list.SetItemText(row, column, text); }
    bool Checked(int row) const override { return m_list.GetCheck(row); }
    void SetChecked(int row, bool checked) override { m_list.SetCheck(row, checked); }
    void Delete(int row) override { m_list.DeleteItem(row); }
    void DeleteAll() override { m_list.DeleteAllItems(); }
    int Selected() const override { return m_list.GetSelected(); }
    void SelectAndFocus(int row) override { m_list.SelectAndFocus(row); }

private:
    CListCtrl& m_list;
};

class ListBoxHistory final : public HistoryList {
public:
    explicit ListBoxHistory(CListBox& box) : m_box(box) {}
    int Count() const override { return m_box.GetCount(); }
    void DeleteLine(int index) override { m_box.DeleteString(index); }
    void InsertLine(int index, const std::string& text) override { m_box.InsertString(index, text); }
    void Clear() override { m_box.ResetContent(); }

private:
    CListBox& m_box;
};

// Message boxes owned by a window (or by none).
class WindowMessageBoxes final : public MessageBoxes {
public:
    explicit WindowMessageBoxes(const HWND& owner) : m_owner(owner) {}
    int Show(const std::string& text, const std::string& caption, unsigned flags) override;

private:
    const HWND& m_owner;  // the window's handle, as it is when a box is shown
};

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned flags);

}  // namespace tarnwick
