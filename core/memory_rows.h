// Rows held in memory, with the list view's behaviour where the program relies on
// it: new rows start unchecked, one row at most is selected, and a change of a
// row's check box, selection or text is reported at once to the change handler.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "core/program_rows.h"

namespace tarnwick {

class MemoryRows final : public ProgramRows {
public:
    using ChangeHandler = std::function<void(int row)>;
    void SetChangeHandler(ChangeHandler handler) { m_onChange = std::move(handler); }

    int Count() const override { return static_cast<int>(m_rows.size()); }
    void Insert(int row, const std::string& watchText) override;
    void SetData(int row, std::intptr_t data) override;
    std::string Text(int row, int column) const override;
    void SetText(int row, int column, const std::string& text) override;
    bool Checked(int row) const override;
    void SetChecked(int row, bool checked) override;
    void Delete(int row) override;
    void DeleteAll() override { m_rows.clear(); }
    int Selected() const override;
    void SelectAndFocus(int row) override;

    std::intptr_t Data(int row) const { return Valid(row) ? m_rows[row].data : 0; }

private:
    struct Row {
        std::array<std::string, kColumnCount> texts;
        bool checked = false;
        bool selected = false;
        std::intptr_t data = 0;
    };
    bool Valid(int row) const { return row >= 0 && row < Count(); }
    void Report(int row) {
        if (m_onChange) m_onChange(row);
    }

    std::vector<Row> m_rows;
    ChangeHandler m_onChange;
};

}  // namespace tarnwick
