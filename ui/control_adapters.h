// The portable logic's rows, history and message boxes on real controls.
#pragma once

#include <unordered_map>

#include "core/message_box.h"
#include "core/program_rows.h"
#include "watch/history.h"
#include "win/controls.h"

namespace tarnwick {

// The registration list's rows on a list view; its change reports arrive as
// LVN_ITEMCHANGED at the owning window. Each item's data is the key of its row's
// priorities, which a sort keeps with the item.
class ListViewRows final : public ProgramRows {
public:
    explicit ListViewRows(CListCtrl& list) : m_list(list) {}
    int Count() const override { return m_list.GetItemCount(); }
    void Insert(int row, const std::string& watchText) override {
        m_list.SetItemData(m_list.InsertItem(row, watchText), ++m_lastKey);
    }
    RowPriorities Priorities(int row) const override {
        const auto found = m_priorities.find(m_list.GetItemData(row));
        return found == m_priorities.end() ? RowPriorities{} : found->second;
    }
    void SetPriorities(int row, const RowPriorities& priorities) override {
        if (row >= 0 && row < Count()) m_priorities[m_list.GetItemData(row)] = priorities;
    }
    std::string Text(int row, int column) const override { return m_list.GetItemText(row, column); }
    void SetText(int row, int column, const std::string& text) override { m_list.SetItemText(row, column, text); }
    bool Checked(int row) const override { return m_list.GetCheck(row); }
    void SetChecked(int row, bool checked) override { m_list.SetCheck(row, checked); }
    void Delete(int row) override {
        m_priorities.erase(m_list.GetItemData(row));
        m_list.DeleteItem(row);
    }
    void DeleteAll() override {
        m_priorities.clear();
        m_list.DeleteAllItems();
    }
    int Selected() const override { return m_list.GetSelected(); }
    void SelectAndFocus(int row) override { m_list.SelectAndFocus(row); }

private:
    CListCtrl& m_list;
    std::unordered_map<LPARAM, RowPriorities> m_priorities;
    LPARAM m_lastKey = 0;
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
