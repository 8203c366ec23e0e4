// The portable logic's rows, history and message boxes on real controls.
#pragma once

#include "core/message_box.h"
#include "core/program_rows.h"
#include "watch/history.h"
#include "win/controls.h"

namespace tarnwick {

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
    int Show(const std::string& text, const std::string& caption, unsigned flags) override {
        return ShowMessageBox(m_owner, text, caption, flags);
    }

private:
    const HWND& m_owner;  // the window's handle, as it is when a box is shown
};

}  // namespace tarnwick
