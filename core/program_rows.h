// The rows of the registration list, one per registered program, all as text but
// the check box. On Windows they are the list view's items; tests hold them in
// memory. Whoever owns the rows reports every change of a row's state (check box,
// selection) synchronously, as the list view does with LVN_ITEMCHANGED.
#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

enum Column : int {
    kWatchColumn = 0,
    kNameColumn = 1,
    kDescriptionColumn = 2,
    kSpecifiedColumn = 3,
    kActiveColumn = 4,
    kRunCountColumn = 5,
    kColumnCount = 6,
};

class ProgramRows {
public:
    virtual ~ProgramRows() = default;
    virtual int Count() const = 0;
    // Inserts an unchecked row with the text of column 0.
    virtual void Insert(int row, const std::string& watchText) = 0;
    virtual void SetData(int row, std::intptr_t data) = 0;
    virtual std::string Text(int row, int column) const = 0;
    virtual void SetText(int row, int column, const std::string& text) = 0;
    virtual bool Checked(int row) const = 0;
    virtual void SetChecked(int row, bool checked) = 0;
    virtual void Delete(int row) = 0;
    virtual void DeleteAll() = 0;
    // The selected row, or -1; at most one row is selected.
    virtual int Selected() const = 0;
    virtual void SelectAndFocus(int row) = 0;
};

}  // namespace tarnwick
