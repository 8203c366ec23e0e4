// The rows of the registration list, one per registered program: the texts shown,
// the check box, and the two priorities as the save file holds them. On Windows
// they are the list view's items; tests hold them in memory. Whoever owns the rows
// reports every change of a row's state (check box, selection) synchronously, as
// the list view does with LVN_ITEMCHANGED.
#pragma once

#include <string>

#include "core/priority.h"

namespace tarnwick {

enum Column : int {
    kWatchColumn = 0,
    kNameColumn = 1,
    kDescriptionColumn = 2,
    kSpecifiedColumn = 3,
    kActiveColumn = 4,
    kRunCountColumn = 5,
    kMoreColumn = 6,  // the further settings, summed up; kept in the companion file
    kColumnCount = 7,
};

// A row's two priorities: each class, and the save file's text for it, kept byte
// for byte (also a text that names no class, which loads as the low class). The
// cells show them in the user's language; the file and the handlers use these.
struct RowPriorities {
    PriorityLevel specified = kIdle;
    PriorityLevel active = kNoPriority;
    std::string specifiedText, activeText;
};

class ProgramRows {
public:
    virtual ~ProgramRows() = default;
    virtual int Count() const = 0;
    // Inserts an unchecked row with the text of column 0.
    virtual void Insert(int row, const std::string& watchText) = 0;
    virtual RowPriorities Priorities(int row) const = 0;
    virtual void SetPriorities(int row, const RowPriorities& priorities) = 0;
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
