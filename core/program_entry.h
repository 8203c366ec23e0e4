// What the program entry dialog decides, apart from its controls: the form that
// the caller fills and reads back, the names its combo boxes offer and the checks
// of its OK button.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message_box.h"
#include "core/priority.h"
#include "core/program_settings.h"

namespace tarnwick {

// The dialog's fields: filled before it runs, read back after OK.
struct ProgramEntryForm {
    int m_nameLocked = 0;  // 1 when editing: the name cannot be changed
    std::string m_name;
    std::string m_description;
    PriorityLevel m_priority = kNormal;
    PriorityLevel m_activePriority = kNoPriority;
    // When adding: tells a name that is registered already, which keeps the dialog open
    // with the name to correct instead of losing what was typed.
    std::function<bool(const std::string& name)> m_isRegistered;
    // A name without an extension that the user chose to keep as typed: not asked again.
    std::string m_keptAsTyped;
    // The further settings, which the entry dialog's "More..." button changes.
    ProgramSettings m_more;
};

// The further settings' own small dialog, from the entry dialog or the list's menu.
class ProgramSettingsDialog {
public:
    virtual ~ProgramSettingsDialog() = default;
    // Runs the dialog on the settings; true (and the settings changed) after OK.
    virtual bool Run(ProgramSettings& settings) = 0;
};

// The settings dialog's controls when OK is pressed: each combo box's selection (0:
// not set, left to Windows) and the processors as typed.
struct ProgramSettingsInput {
    int io = 0;
    int memory = 0;
    int efficiency = 0;
    std::string processors;
};
// Its OK button: the processors must be a list of processors of which this machine has
// at least one (`machine`: its processors, 0 when they cannot be read); else a box
// says what is wrong and the dialog stays open at the processors.
bool AcceptProgramSettings(ProgramSettings& settings, const ProgramSettingsInput& input, std::uint64_t machine,
                           MessageBoxes& boxes);

class ProgramEntryDialog {
public:
    virtual ~ProgramEntryDialog() = default;
    // Runs the dialog on the form; true when it ended with OK.
    virtual bool Run(ProgramEntryForm& form) = 0;
};

// The names both combo boxes hold, in their order: six from Windows 2000 on, else four.
std::vector<std::string> EntryComboNames(const OsVersion& version);
// Position of the level's name among the names, or -1 when it is not offered.
int EntryComboIndex(const std::vector<std::string>& names, PriorityLevel level);

// The controls' contents when OK is pressed.
struct ProgramEntryInput {
    std::string name;
    std::string description;
    std::string specifiedText;  // the combo box's text; empty without a selection
    bool activeChecked = false;
    std::string activeText;
};

enum class EntryField { None, Name, Specified, Active };

struct EntryVerdict {
    bool accept;       // close the dialog with OK
    EntryField focus;  // where the focus goes when it stays open
};

// The OK button: copies the input into the form (trimmed); warns about an empty name,
// one with a comma or, when adding, one registered already; offers ".exe" once for a
// new name without an extension; and asks at most once before realtime or high. The
// form is updated even when the dialog stays open.
EntryVerdict AcceptProgramEntry(ProgramEntryForm& form, const ProgramEntryInput& input, MessageBoxes& boxes);

// Removes the single-byte blanks (space, tab, LF, VT, FF, CR) at both ends; they
// are never the second byte of a double-byte character.
std::string TrimBlanks(std::string_view text);

}  // namespace tarnwick
