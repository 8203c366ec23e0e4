#include <gtest/gtest.h>

#include "tests/support/registry_fixture.h"

namespace tarnwick {
namespace {

using testing::RegistryTest;
using testing::ScriptedEntryDialog;
using Strings = std::vector<std::string>;

// The list's texts, duplicates and the dialog's part are covered end to end.
TEST_F(RegistryTest, AddSetsTheEntryAndSelectsOnlyTheFirstRow) {
    ASSERT_TRUE(registry.Add(Entry("Editor.exe", kHigh, kRealtime, "text, editor")));
    EXPECT_EQ(*registry.Programs().Find("EDITOR.EXE"), (ProgramState{0x80, 0x100, 1, 0, -1}));
    EXPECT_EQ(rows.Text(0, kRunCountColumn), "");
    EXPECT_EQ(rows.Selected(), 0);
    ASSERT_TRUE(registry.Add(Entry("C:\\bin\\Editor.exe")));  // a directory makes another key
    EXPECT_EQ(rows.Selected(), 0);  // adding to a non-empty list keeps the selection
    EXPECT_EQ(rows.Data(1), 1);
    EXPECT_TRUE(registry.Add(Entry("\x82\x85" "ditor.EXE")));  // a full-width e is another letter
    EXPECT_EQ(Saves(), 0);  // auto-save is off
}

TEST_F(RegistryTest, AddWithAutoSaveWritesOnlyWhenTheNewRowIsWatched) {
    settings.m_autoSaveMode = 1;
    settings.m_addWatchMode = 0;
    registry.Add(Entry("quiet.exe"));
    EXPECT_EQ(Saves(), 0);
    EXPECT_FALSE(rows.Checked(0));
    EXPECT_EQ(registry.Programs().Find("QUIET.EXE")->watched, 0);
    settings.m_addWatchMode = 1;
    registry.Add(Entry("loud.exe", kIdle, kNormal, "d"));
    EXPECT_EQ(Saves(), 1);
    EXPECT_EQ(files.files[testing::kSavePath],
              "Version:4.0.0\r\n0,quiet.exe,\x8D\x82,\x8E\x77\x92\xE8\x82\xC8\x82\xB5,\r\n"
              "1,loud.exe,\x92\xE1,\x92\xCA\x8F\xED,d\r\n");
}

TEST_F(RegistryTest, EditKeepsRunCountAndRecreatesAMissingEntry) {
    registry.Add(Entry("Editor.exe", kHigh, kNoPriority, "old"));
    registry.Programs().Find("EDITOR.EXE")->runCount = 4;
    ScriptedEntryDialog dialog;
    dialog.answer = [](ProgramEntryForm& form) {
        form.m_description = "new";
        form.m_priority = kIdle;
        form.m_activePriority = kAboveNormal;
        return true;
    };
    registry.EditSelected(dialog);
    ASSERT_EQ(dialog.seen.size(), 1u);
    EXPECT_EQ(dialog.seen[0].m_nameLocked, 1);
    EXPECT_EQ(dialog.seen[0].m_name, "Editor.exe");
    EXPECT_EQ(dialog.seen[0].m_description, "old");
    EXPECT_EQ(dialog.seen[0].m_priority, kHigh);
    EXPECT_EQ(dialog.seen[0].m_activePriority, kNoPriority);
    EXPECT_EQ(rows.Text(0, kDescriptionColumn), "new");
    EXPECT_EQ(rows.Text(0, kSpecifiedColumn), "低");
    EXPECT_EQ(rows.Text(0, kActiveColumn), "通常以上");
    EXPECT_EQ(*registry.Programs().Find("EDITOR.EXE"), (ProgramState{0x40, 0x8000, 1, 4, -1}));

    registry.Programs().Clear();
    rows.SetChecked(0, false);
    registry.EditSelected(dialog);
    EXPECT_EQ(*registry.Programs().Find("EDITOR.EXE"), (ProgramState{0x40, 0x8000, 0, 0, -1}));
}

TEST_F(RegistryTest, EditSavesAfterCancelAndOnEmptyListButNotWithoutSelection) {
    settings.m_autoSaveMode = 1;
    ScriptedEntryDialog dialog;
    registry.EditSelected(dialog);  // empty list: no dialog, still a save
    EXPECT_TRUE(dialog.seen.empty());
    EXPECT_EQ(Saves(), 1);
    settings.m_autoSaveMode = 0;
    registry.Add(Entry("a.exe"));
    registry.Add(Entry("b.exe"));
    settings.m_autoSaveMode = 1;
    registry.EditSelected(dialog);  // row 0 selected, dialog cancelled
    EXPECT_EQ(dialog.seen.size(), 1u);
    EXPECT_EQ(Saves(), 2);
    rows.DeleteAll();
    registry.Add(Entry("c.exe"));
    registry.Add(Entry("d.exe"));
    rows.Delete(0);  // the selected row goes: rows exist, none is selected
    int before = Saves();
    registry.EditSelected(dialog);
    EXPECT_EQ(Saves(), before);
    EXPECT_EQ(dialog.seen.size(), 1u);
}

// The selection after a delete is covered end to end.
TEST_F(RegistryTest, DeleteAsksWithNoAsDefaultAndSavesUnlessDeclinedOrUnselected) {
    settings.m_autoSaveMode = 1;
    registry.DeleteSelected();  // empty list: still a save
    EXPECT_EQ(Saves(), 1);
    settings.m_addWatchMode = 0;
    registry.Add(Entry("a.exe"));
    registry.Add(Entry("b.exe"));
    rows.SelectAndFocus(1);
    boxes.answers = {kIdNo};
    registry.DeleteSelected();
    EXPECT_EQ(boxes.shown.back().flags, kMbYesNo | kMbIconQuestion | kMbDefButton2);
    EXPECT_EQ(rows.Count(), 2);
    EXPECT_EQ(Saves(), 1);
    boxes.answers = {kIdYes};
    registry.DeleteSelected();
    EXPECT_EQ(registry.Programs().Find("B.EXE"), nullptr);
    EXPECT_EQ(Saves(), 2);
    registry.Add(Entry("c.exe"));
    rows.Delete(0);  // the selected row goes: rows exist, none is selected
    registry.DeleteSelected();
    EXPECT_EQ(Saves(), 2);
}

TEST_F(RegistryTest, DeletingAndAddingAgainStartsTheCountAfresh) {
    registry.Add(Entry("a.exe"));
    registry.Programs().Find("A.EXE")->runCount = 9;
    rows.SetText(0, kRunCountColumn, "9");
    boxes.answers = {kIdYes};
    registry.DeleteSelected();
    registry.Add(Entry("a.exe"));
    EXPECT_EQ(registry.Programs().Find("A.EXE")->runCount, 0);
    EXPECT_EQ(rows.Text(0, kRunCountColumn), "");
}

TEST_F(RegistryTest, UncheckingAndCheckingFollowTheCheckBox) {
    registry.Add(Entry("a.exe"));
    registry.Programs().Find("A.EXE")->retriesLeft = 2;
    settings.m_autoSaveMode = 1;
    rows.SetChecked(0, false);
    EXPECT_EQ(rows.Text(0, kWatchColumn), "しない");
    EXPECT_EQ(*registry.Programs().Find("A.EXE"), (ProgramState{0x80, 0, 0, 0, -1}));
    EXPECT_EQ(Saves(), 1);
    EXPECT_EQ(files.files[testing::kSavePath].substr(15, 2), "0,");
    registry.Programs().Find("A.EXE")->retriesLeft = 0;
    rows.SetChecked(0, true);
    EXPECT_EQ(rows.Text(0, kWatchColumn), "する");
    EXPECT_EQ(registry.Programs().Find("A.EXE")->watched, 1);
    EXPECT_EQ(registry.Programs().Find("A.EXE")->retriesLeft, -1);
    EXPECT_EQ(Saves(), 2);
    registry.Add(Entry("b.exe"));
    int before = Saves();
    rows.SelectAndFocus(1);  // a change of selection saves nothing
    registry.SetWatched(1);
    registry.SetWatched(7);  // no such row
    EXPECT_EQ(Saves(), before);
}

TEST_F(RegistryTest, QuickCommands) {
    registry.Add(Entry("a.exe", kNormal, kIdle));
    boxes.answers = {kIdNo};
    registry.ApplyQuickCommand(32775);  // 指定：高, refused
    EXPECT_EQ(rows.Text(0, kSpecifiedColumn), "通常");
    boxes.answers = {kIdYes};
    registry.ApplyQuickCommand(32775);
    EXPECT_EQ(rows.Text(0, kSpecifiedColumn), "高");
    EXPECT_EQ(registry.Programs().Find("A.EXE")->specifiedClass, 0x80);
    registry.ApplyQuickCommand(32790);  // ｱｸﾃｨﾌﾞ：指定なし, no question
    EXPECT_EQ(rows.Text(0, kActiveColumn), "指定なし");
    EXPECT_EQ(registry.Programs().Find("A.EXE")->activeClass, 0);
    EXPECT_EQ(boxes.shown.size(), 2u);

    // The check box wins over the entry; run count and retries stay.
    registry.Programs().Find("A.EXE")->runCount = 3;
    registry.Programs().Find("A.EXE")->retriesLeft = 1;
    registry.Programs().Find("A.EXE")->watched = 0;
    registry.ApplyQuickCommand(32788);
    EXPECT_EQ(*registry.Programs().Find("A.EXE"), (ProgramState{0x80, 0x4000, 1, 3, 1}));
    EXPECT_EQ(Saves(), 0);
    settings.m_autoSaveMode = 1;
    registry.ApplyQuickCommand(32779);
    EXPECT_EQ(Saves(), 1);

    // A row without an entry gets one with both classes from its own columns.
    registry.Programs().Clear();
    registry.ApplyQuickCommand(32787);  // ｱｸﾃｨﾌﾞ：通常
    EXPECT_EQ(*registry.Programs().Find("A.EXE"), (ProgramState{0x40, 0x20, 1, 0, -1}));
    registry.Programs().Clear();
    registry.ApplyQuickCommand(32776);  // 指定：通常以上
    EXPECT_EQ(*registry.Programs().Find("A.EXE"), (ProgramState{0x8000, 0x20, 1, 0, -1}));
    EXPECT_EQ(Saves(), 3);

    // Without a selection the question is still asked first, then nothing changes.
    rows.Delete(0);
    boxes.answers = {kIdYes};
    registry.ApplyQuickCommand(32780);
    EXPECT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(Saves(), 3);
}

TEST_F(RegistryTest, RowOfFindsTheFirstMatchingRowOrTheCount) {
    registry.Add(Entry("a.exe"));
    registry.Add(Entry("Editor.exe"));
    EXPECT_EQ(registry.RowOf("EDITOR.EXE"), 1);
    EXPECT_EQ(registry.RowOf("Editor.exe"), 2);  // keys are upper-case
    EXPECT_EQ(registry.RowOf("NONE.EXE"), 2);
}

}  // namespace
}  // namespace tarnwick
