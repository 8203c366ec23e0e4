#include "core/program_entry.h"

#include <gtest/gtest.h>

#include <tuple>


#include "tests/support/fakes.h"

namespace tarnwick {
namespace {

using testing::ScriptedMessageBoxes;

constexpr OsVersion kWindows10{10, 0, 19045, kPlatformNt};
constexpr OsVersion kWindowsNt4{4, 0, 1381, kPlatformNt};

TEST(ProgramEntryTest, ComboNamesFollowTheSystem) {
    const auto extended = EntryComboNames(kWindows10);
    EXPECT_EQ(extended, (std::vector<std::string>{"リアルタイム", "高", "通常以上", "通常", "通常以下", "低"}));
    const auto basic = EntryComboNames(kWindowsNt4);
    EXPECT_EQ(basic, (std::vector<std::string>{"リアルタイム", "高", "通常", "低"}));
    EXPECT_EQ(EntryComboIndex(basic, kAboveNormal), -1);  // not offered before Windows 2000
}

struct OkCase {
    const char* title;
    ProgramEntryInput input;
    std::vector<int> answers;  // to the questions, in order
    EntryVerdict verdict;
    std::size_t questions;
    PriorityLevel specified;
    PriorityLevel active;
};

TEST(ProgramEntryTest, OkHandlerChecksAndAsksAtMostOnce) {
    const OkCase cases[] = {
        {"plain", {"a.exe", "", "通常", false, "高"}, {}, {true, EntryField::None}, 0, kNormal, kNoPriority},
        {"active off ignores the combo", {"a.exe", "", "低", false, "リアルタイム"}, {}, {true, EntryField::None}, 0,
         kIdle, kNoPriority},
        {"high and realtime: one question", {"a.exe", "", "高", true, "リアルタイム"}, {kIdYes},
         {true, EntryField::None}, 1, kHigh, kRealtime},
        {"specified refused", {"a.exe", "", "リアルタイム", true, "高"}, {kIdNo}, {false, EntryField::Specified}, 1,
         kRealtime, kAboveNormal},
        {"active asked", {"a.exe", "", "通常", true, "高"}, {kIdYes}, {true, EntryField::None}, 1, kNormal, kHigh},
        {"active refused", {"a.exe", "", "通常", true, "高"}, {kIdNo}, {false, EntryField::Active}, 1, kNormal, kHigh},
        {"no selection is low", {"a.exe", "", "", true, "通常以下"}, {}, {true, EntryField::None}, 0, kIdle,
         kBelowNormal},
        {"a comma warns before any question", {"a,b.exe", "", "高", true, "高"}, {}, {false, EntryField::Name},
         1, kNormal, kAboveNormal},
        {"a full-width comma is not a comma", {"a\x81\x43" "b.exe", "", "通常", false, ""}, {}, {true, EntryField::None},
         0, kNormal, kNoPriority},
        {"blanks are no name", {" \t\r\n\v\f ", "x", "高", false, ""}, {}, {false, EntryField::Name}, 1, kNormal,
         kAboveNormal},
        // Only No refuses: Cancel, or a box that could not be shown, lets the change through.
        {"Cancel", {"a.exe", "", "高", false, ""}, {kIdCancel}, {true, EntryField::None}, 1, kHigh, kNoPriority},
        {"no box", {"a.exe", "", "高", false, ""}, {0}, {true, EntryField::None}, 1, kHigh, kNoPriority},
    };
    for (const OkCase& c : cases) {
        SCOPED_TRACE(c.title);
        ScriptedMessageBoxes boxes;
        boxes.answers.assign(c.answers.begin(), c.answers.end());
        ProgramEntryForm form;
        form.m_activePriority = kAboveNormal;  // as an edited registration's
        const EntryVerdict verdict = AcceptProgramEntry(form, c.input, boxes);
        EXPECT_EQ(verdict.accept, c.verdict.accept);
        EXPECT_EQ(verdict.focus, c.verdict.focus);
        EXPECT_EQ(boxes.shown.size(), c.questions);
        EXPECT_EQ(form.m_priority, c.specified);
        EXPECT_EQ(form.m_activePriority, c.active);  // updated even when the dialog stays open
    }
}

// A name without an extension is offered ".exe", once; one registered already keeps
// the dialog open at the name, before any priority is read. An edited registration's
// locked name is never questioned. A dialog left open gets OK again on the name it shows.
TEST(ProgramEntryTest, NamesThatCouldNotMatchAreCaughtOnceBeforeOk) {
    const std::tuple<const char*, int, const char*, std::vector<int>, bool, std::size_t, const char*> cases[] = {
        // typed, locked, the priority, the answers, accepted, boxes, the name afterwards
        {"wordpad", 0, "通常", {kIdYes}, true, 1, "wordpad.exe"}, {" wordpad ", 0, "高", {kIdNo, kIdNo, kIdYes}, true, 3, "wordpad"},
        {"Taken.exe", 0, "通常", {}, false, 2, "Taken.exe"},      {"taken", 0, "通常", {kIdYes}, false, 3, "taken.exe"},
        {"my.tool", 0, "通常", {}, true, 0, "my.tool"},           {"taken", 1, "通常", {}, true, 0, "taken"},
    };
    for (const auto& [typed, locked, specified, answers, accepted, asked, name] : cases) {
        SCOPED_TRACE(typed);
        ScriptedMessageBoxes boxes;
        boxes.answers.assign(answers.begin(), answers.end());
        ProgramEntryForm form;
        form.m_nameLocked = locked;
        form.m_isRegistered = [](const std::string& n) { return n == "Taken.exe" || n == "taken.exe" || n == "taken"; };
        EntryVerdict verdict = AcceptProgramEntry(form, {typed, "", specified, false, ""}, boxes);
        if (!verdict.accept) verdict = AcceptProgramEntry(form, {form.m_name, "", specified, false, ""}, boxes);
        EXPECT_EQ(verdict.focus, accepted ? EntryField::None : EntryField::Name);
        EXPECT_EQ(boxes.shown.size(), asked);
        EXPECT_EQ(form.m_name, name);
    }
    // In English the priority question names the program and the priority.
    const testing::InEnglish english;
    ScriptedMessageBoxes boxes;
    ProgramEntryForm form;
    AcceptProgramEntry(form, {"a.exe", "", "High", false, ""}, boxes);
    EXPECT_EQ(boxes.shown.at(0).text.substr(0, 31), "Running a.exe at High priority ");
}

// The settings dialog's OK: the combo boxes as they stand, the processors checked
// against this machine's (0-7 here; unknown, any list passes).
TEST(ProgramEntryTest, TheSettingsDialogTakesOnlyProcessorsThisMachineHas) {
    const std::tuple<ProgramSettingsInput, std::uint64_t, bool, ProgramSettings> cases[] = {
        {{0, 0, 0, ""}, 0xFF, true, {}},
        {{2, 4, 1, "0-3"}, 0xFF, true, {IoPriority::Low, MemoryPriority::BelowNormal, 0xF, EfficiencyMode::AlwaysOff}},
        {{3, 5, 2, "7,9"}, 0xFF, true, {IoPriority::Normal, MemoryPriority::Normal, 0x280, EfficiencyMode::AlwaysOn}},
        {{1, 1, 0, "8-9"}, 0xFF, false, {}},
        {{1, 1, 0, "8-9"}, 0, true, {IoPriority::VeryLow, MemoryPriority::VeryLow, 0x300, {}}},
        {{0, 0, 0, "x"}, 0xFF, false, {}},
    };
    for (const auto& [input, machine, accepted, settings] : cases) {
        SCOPED_TRACE(input.processors);
        ScriptedMessageBoxes boxes;
        ProgramSettings taken;
        EXPECT_EQ(AcceptProgramSettings(taken, input, machine, boxes), accepted);
        EXPECT_EQ(taken, settings);
        EXPECT_EQ(boxes.shown.size(), accepted ? 0u : 1u);
    }
}

}  // namespace
}  // namespace tarnwick
