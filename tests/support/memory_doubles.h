// The registration rows and the history held in memory, for the tests and the
// benchmarks. The rows behave as the list view does where the program relies on
// it: new rows start unchecked, one row at most is selected, and a change of a
// row's check box, selection or text is reported at once to the change handler.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <vector>

#include "core/program_rows.h"
#include "watch/history.h"

namespace tarnwick {

class MemoryRows final : public ProgramRows {
public:
    using ChangeHandler = std::function<void(int row)>;
    void SetChangeHandler(ChangeHandler handler) { m_onChange = std::move(handler); }

    int Count() const override { return static_cast<int>(m_rows.size()); }
    void Insert(int row, const std::string& watchText) override;
    RowPriorities Priorities(int row) const override { return Valid(row) ? m_rows[row].priorities : RowPriorities{}; }
    void SetPriorities(int row, const RowPriorities& priorities) override {
        if (Valid(row)) m_rows[row].priorities = priorities;
    }
    std::string Text(int row, int column) const override;
    void SetText(int row, int column, const std::string& text) override;
    bool Checked(int row) const override { return Valid(row) && m_rows[row].checked; }
    void SetChecked(int row, bool checked) override;
    void Delete(int row) override {
        if (Valid(row)) m_rows.erase(m_rows.begin() + row);
    }
    void DeleteAll() override { m_rows.clear(); }
    int Selected() const override;
    void SelectAndFocus(int row) override;

private:
    struct Row {
        std::array<std::string, kColumnCount> texts;
        bool checked = false;
        bool selected = false;
        RowPriorities priorities;
    };
    bool Valid(int row) const { return row >= 0 && row < Count(); }
    void Report(int row) {
        if (m_onChange) m_onChange(row);
    }

    std::vector<Row> m_rows;
    ChangeHandler m_onChange;
};

class MemoryHistory final : public HistoryList {
public:
    int Count() const override { return static_cast<int>(m_lines.size()); }
    void DeleteLine(int index) override {
        if (index >= 0 && index < Count()) m_lines.erase(m_lines.begin() + index);
    }
    void InsertLine(int index, const std::string& text) override;
    void Clear() override { m_lines.clear(); }
    const std::string& Line(int index) const { return m_lines.at(static_cast<std::size_t>(index)); }
    std::vector<std::string> Lines() const { return {m_lines.begin(), m_lines.end()}; }  // newest first

private:
    std::deque<std::string> m_lines;
};

}  // namespace tarnwick
