#include "core/program_entry.h"

#include "core/texts.h"

#include <algorithm>

namespace tarnwick {

std::vector<std::string> EntryComboNames(const OsVersion& version) {
    std::vector<std::string> names;
    for (PriorityLevel level : OfferedLevels(version)) names.push_back(EntryPriorityName(level));
    return names;
}

int EntryComboIndex(const std::vector<std::string>& names, PriorityLevel level) {
    const std::string name = EntryPriorityName(level);
    auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

bool AcceptProgramSettings(ProgramSettings& settings, const ProgramSettingsInput& input, std::uint64_t machine,
                           MessageBoxes& boxes) {
    const std::optional<std::uint64_t> processors = ParseProcessors(input.processors);
    if (!processors || (*processors && machine && !(*processors & machine))) {
        const std::string message = processors ? TextWith(Text::ProcessorsNotHere, {input.processors, FormatProcessors(machine)})
                                               : TextOf(Text::ProcessorsInvalid);
        boxes.Show(message, TextOf(Text::MoreSettingsCaption), kMbOk | kMbIconExclamation);
        return false;
    }
    settings = {static_cast<IoPriority>(input.io - 1),  // the first entry, "not set", is -1
                input.memory > 0 ? static_cast<MemoryPriority>(input.memory) : MemoryPriority::NotSet, *processors,
                static_cast<EfficiencyMode>(input.efficiency)};
    return true;
}

std::string TrimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\n\v\f\r";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

EntryVerdict AcceptProgramEntry(ProgramEntryForm& form, const ProgramEntryInput& input, MessageBoxes& boxes) {
    form.m_name = TrimBlanks(input.name);
    form.m_description = TrimBlanks(input.description);
    if (form.m_name.empty()) {
        boxes.Show(TextOf(Text::ProgramNameMissing), TextOf(Text::ProgramNameCaption), kMbOk | kMbIconInformation);
        return {false, EntryField::Name};
    }
    // The save file separates its fields by the byte ',', which in code page 932 is
    // never part of a double-byte character: such a name would come back split. A
    // full-width comma (0x81 0x43) is stored whole.
    if (form.m_name.find(',') != std::string::npos) {
        boxes.Show(TextOf(Text::ProgramNameComma), TextOf(Text::ProgramNameCaption), kMbOk | kMbIconExclamation);
        return {false, EntryField::Name};
    }
    if (form.m_nameLocked != 1) {
        // The watch cycle compares whole file names: "wordpad" would never match.
        if (form.m_name.find('.') == std::string::npos && form.m_name != form.m_keptAsTyped) {
            const std::string withExtension = form.m_name + ".exe";
            if (boxes.Show(TextWith(Text::ProgramNameWithoutExtension, {withExtension}),
                           TextOf(Text::ProgramNameCaption), kMbYesNo | kMbIconQuestion) == kIdYes) {
                form.m_name = withExtension;
            } else {
                form.m_keptAsTyped = form.m_name;
            }
        }
        if (form.m_isRegistered && form.m_isRegistered(form.m_name)) {
            boxes.Show(TextWith(Text::AlreadyRegistered, {form.m_name}), TextOf(Text::AlreadyRegisteredCaption),
                       kMbOk | kMbIconInformation);
            return {false, EntryField::Name};
        }
    }
    form.m_priority = EntryPriorityFromName(input.specifiedText);
    bool confirmed = false;
    if (NeedsConfirmation(form.m_priority)) {
        if (!ConfirmHighPriority(boxes, form.m_name, form.m_priority)) return {false, EntryField::Specified};
        confirmed = true;
    }
    if (input.activeChecked) {
        form.m_activePriority = EntryPriorityFromName(input.activeText);
        if (!confirmed && NeedsConfirmation(form.m_activePriority) &&
            !ConfirmHighPriority(boxes, form.m_name, form.m_activePriority)) {
            return {false, EntryField::Active};
        }
    } else {
        form.m_activePriority = kNoPriority;
    }
    return {true, EntryField::None};
}

}  // namespace tarnwick
