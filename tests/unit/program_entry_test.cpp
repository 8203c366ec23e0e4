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
    EXPECT_EQ(EntryComboNames({4, 90, 3000, kPlatformWindows}), basic);  // Windows Me
    EXPECT_EQ(EntryComboIndex(basic, kAboveNormal), -1);  // not offered before Windows 2000
    EXPECT_EQ(EntryComboIndex(basic, kIdle), 3);
    EXPECT_EQ(EntryComboIndex(extended, 0x12345), 5);  // unknown classes read "低"
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
         kRealtime, kNoPriority},
        {"active asked", {"a.exe", "", "通常", true, "高"}, {kIdYes}, {true, EntryField::None}, 1, kNormal, kHigh},
        {"active refused", {"a.exe", "", "通常", true, "高"}, {kIdNo}, {false, EntryField::Active}, 1, kNormal, kHigh},
        {"no selection is low", {"a.exe", "", "", true, "通常以下"}, {}, {true, EntryField::None}, 0, kIdle,
         kBelowNormal},
        {"a comma warns before any question", {"a,b.exe", "", "高", true, "高"}, {}, {false, EntryField::Name},
         1, kNormal, kNoPriority},
        {"a full-width comma is not a comma", {"a\x81\x43" "b.exe", "", "通常", false, ""}, {}, {true, EntryField::None},
         0, kNormal, kNoPriority},
        {"blanks are no name", {" \t\r\n\v\f ", "x", "高", false, ""}, {}, {false, EntryField::Name}, 1, kNormal,
         kNoPriority},
        // Only No refuses: Cancel, or a box that could not be shown, lets the change through.
        {"Cancel", {"a.exe", "", "高", false, ""}, {kIdCancel}, {true, EntryField::None}, 1, kHigh, kNoPriority},
        {"no box", {"a.exe", "", "高", false, ""}, {0}, {true, EntryField::None}, 1, kHigh, kNoPriority},
    };
    for (const OkCase& c : cases) {
        SCOPED_TRACE(c.title);
        ScriptedMessageBoxes boxes;
        boxes.answers.assign(c.answers.begin(), c.answers.end());
        ProgramEntryForm form;
        const EntryVerdict verdict = AcceptProgramEntry(form, c.input, boxes);
        EXPECT_EQ(verdict.accept, c.verdict.accept);
        EXPECT_EQ(verdict.focus, c.verdict.focus);
        EXPECT_EQ(boxes.shown.size(), c.questions);
        EXPECT_EQ(form.m_priority, c.specified);
        EXPECT_EQ(form.m_activePriority, c.active);  // updated even when the dialog stays open
    }
}

// A name without an extension is offered ".exe"; one registered already keeps the
// dialog open at the name, before any priority is read.
TEST(ProgramEntryTest, NamesThatCouldNotMatchAreCaughtBeforeOk) {
    const std::tuple<const char*, int, bool, std::size_t, const char*> cases[] = {
        // typed, the answer, accepted, boxes, the name afterwards
        {"wordpad", kIdYes, true, 1, "wordpad.exe"},     {" wordpad ", kIdNo, true, 1, "wordpad"},
        {"Taken.exe", kIdOk, false, 1, "Taken.exe"},     {"taken", kIdYes, false, 2, "taken.exe"},
        {"my.tool", kIdOk, true, 0, "my.tool"},
    };
    for (const auto& [typed, answer, accepted, asked, name] : cases) {
        SCOPED_TRACE(typed);
        ScriptedMessageBoxes boxes;
        boxes.answers = {answer};
        ProgramEntryForm form;
        form.m_isRegistered = [](const std::string& n) { return n == "Taken.exe" || n == "taken.exe"; };
        const EntryVerdict verdict = AcceptProgramEntry(form, {typed, "", "通常", false, ""}, boxes);
        EXPECT_EQ(verdict.accept, accepted);
        EXPECT_EQ(verdict.focus, accepted ? EntryField::None : EntryField::Name);
        EXPECT_EQ(boxes.shown.size(), asked);
        EXPECT_EQ(form.m_name, name);
    }
}

// The name is asked about once, and the questions name the program; an edited
// registration's locked name is never questioned.
TEST(ProgramEntryTest, ANameWithoutExtensionIsAskedAboutOnce) {
    const testing::InEnglish english;
    ScriptedMessageBoxes boxes;
    boxes.answers = {kIdNo, kIdNo, kIdYes};
    ProgramEntryForm form;
    const ProgramEntryInput input{"wordpad", "", "High", false, ""};
    EXPECT_FALSE(AcceptProgramEntry(form, input, boxes).accept);
    EXPECT_TRUE(AcceptProgramEntry(form, input, boxes).accept);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[2].text.substr(0, 38), "Running wordpad at High priority can s");
    ProgramEntryForm edited;
    edited.m_nameLocked = 1;
    edited.m_isRegistered = [](const std::string&) { return true; };
    EXPECT_TRUE(AcceptProgramEntry(edited, {"old", "", "Normal", false, ""}, boxes).accept);
    EXPECT_EQ(boxes.shown.size(), 3u);
}

}  // namespace
}  // namespace tarnwick
