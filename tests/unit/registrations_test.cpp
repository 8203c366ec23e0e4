// The window's commands on the registrations without a window. The list's texts are
// driven end to end.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "res/resource.h"
#include "tests/support/registry_world.h"

namespace tarnwick {
namespace {

using namespace std::string_literals;
using RegistryTest = testing::RegistryFixture<::testing::Test>;
using testing::ScriptedEntryDialog;

enum class Command { Add, Edit, Delete, Quick, Untick, Select, NoSuchRow };

// Which commands write the save file (auto-save on) and which ask first.
struct PolicyCase {
    const char* title;
    Command command;
    int rows;       // registrations before it, the first one selected
    bool selected;  // false: the registrations are there but none is selected
    int answer;     // to the dialog (kIdOk is OK) or the question
    int asked;      // dialogs and questions shown
    int saves;
};

const PolicyCase kPolicy[] = {
    {"add: a watched row is saved", Command::Add, 0, true, kIdOk, 1, 1},
    {"add: cancelled", Command::Add, 1, true, kIdCancel, 1, 0},
    {"edit: an empty list is saved without a dialog", Command::Edit, 0, true, kIdOk, 0, 1},
    {"edit: cancelled, saved all the same", Command::Edit, 2, true, kIdCancel, 1, 1},
    {"edit: nothing selected", Command::Edit, 2, false, kIdOk, 0, 0},
    {"delete: an empty list is saved without a question", Command::Delete, 0, true, kIdYes, 0, 1},
    {"delete: the only row", Command::Delete, 1, true, kIdYes, 1, 1},
    {"delete: no", Command::Delete, 2, true, kIdNo, 1, 0},
    {"delete: a box that could not be shown keeps the row", Command::Delete, 2, true, 0, 1, 0},
    {"delete: nothing selected", Command::Delete, 2, false, kIdYes, 0, 0},
    {"quick command: yes", Command::Quick, 2, true, kIdYes, 1, 1},
    {"quick command: no", Command::Quick, 2, true, kIdNo, 1, 0},
    {"quick command: nothing selected, nothing to ask about", Command::Quick, 2, false, kIdYes, 0, 0},
    {"a check box", Command::Untick, 2, true, 0, 0, 1},
    {"a change of selection", Command::Select, 2, true, 0, 0, 0},
    {"a change reported for no row", Command::NoSuchRow, 2, true, 0, 0, 0},
};

TEST_F(RegistryTest, SavePolicyOfEveryCommand) {
    for (const PolicyCase& c : kPolicy) {
        SCOPED_TRACE(c.title);
        settings.m_autoSaveMode = 0;
        rows.DeleteAll();
        registry.Programs().Clear();
        for (int i = 0; i < c.rows + (c.selected ? 0 : 1); ++i) registry.Add(Entry(std::string(1, 'a' + i) + ".exe"));
        if (!c.selected) rows.Delete(0);  // the selected row goes, the others stay unselected
        files = {};
        boxes = {};
        boxes.answers = {c.answer};
        settings.m_autoSaveMode = 1;
        ScriptedEntryDialog dialog;
        dialog.answer = [&c](ProgramEntryForm& form) {
            if (form.m_name.empty()) form = Entry("new.exe");
            return c.answer == kIdOk;
        };
        switch (c.command) {
            case Command::Add: registry.AddProgram(dialog); break;
            case Command::Edit: registry.EditSelected(dialog); break;
            case Command::Delete: registry.DeleteSelected(); break;
            case Command::Quick: registry.ApplyQuickCommand(32775); break;  // 指定：高, asked first
            case Command::Untick: rows.SetChecked(0, false); break;
            case Command::Select: rows.SelectAndFocus(1); break;
            case Command::NoSuchRow: registry.SetWatched(7); break;
        }
        EXPECT_EQ(static_cast<int>(dialog.seen.size() + boxes.shown.size()), c.asked);
        EXPECT_EQ(Saves(), c.saves);
    }
}

// The end's three answers, and no question after a successful automatic save, are
// driven end to end; here: an automatic save that failed (a full disk) leaves the
// registrations unsaved, so the end asks, and a failed save keeps the program
// running; the session's end writes only what differs, showing nothing, beside a save
// file that it cannot replace (another program holds it).
TEST_F(RegistryTest, AFailedSaveKeepsRunningAndTheSessionsEndWritesWithoutAWord) {
    settings.m_autoSaveMode = 1;
    files.uncreatable = {testing::kSavePath + std::string(".new")};
    registry.Add(Entry("a.exe"));  // its ticked box saves, and fails
    boxes.answers = {kIdYes, kIdOk, kIdNo};
    EXPECT_FALSE(registry.ConfirmEnd());
    EXPECT_TRUE(registry.ConfirmEnd());  // No: ends without saving
    registry.SaveForSessionEnd();
    EXPECT_NE(files.files["C:\\T\\Tarnwick-session-end.sav"].find(",a.exe,"), std::string::npos);
    files.uncreatable.clear();
    registry.SaveForSessionEnd();
    registry.SaveForSessionEnd();
    EXPECT_EQ(boxes.shown.size(), 4u);  // the automatic save's failure, the question, its save's failure, the question
    EXPECT_EQ(Saves(), 1);
    // Another program removes or changes the save file: the end no longer trusts the
    // last save. Auto-save writes the list again, asking as any save over a changed
    // file asks; without auto-save the end asks.
    rows.SetChecked(0, false);  // saved: no failure is left to ask about
    files.files.erase(testing::kSavePath);
    EXPECT_TRUE(registry.ConfirmEnd() && files.Exists(testing::kSavePath));
    files.files[testing::kSavePath] = "Version:4.0.0\r\n";
    settings.m_autoSaveMode = 0;
    boxes.answers = {kIdCancel};
    EXPECT_FALSE(registry.ConfirmEnd());
    EXPECT_EQ(boxes.shown.back().text, TextOf(Text::ConfirmEnd));
}

// A save file that holds what this run has not seen (never read: auto-load off; or
// changed by another program since, even by a change of the same size within one tick
// of FAT32's clock) is never replaced without a question, whoever saves: Cancel writes
// nothing, No reads that file, Yes overwrites it. The session's end asks nobody: it
// writes its list beside such a file, and each start says where.
TEST_F(RegistryTest, NothingUnseenIsOverwrittenAndTheStartTellsWhatLies) {
    const std::string save = testing::kSavePath, copy = "C:\\T\\Tarnwick-session-end.sav",
                      second = "C:\\T\\Tarnwick-session-end-2.sav";
    const std::string theirs = "Version:4.0.0\r\n1,theirs.exe,高,指定なし,\r\n0,old.exe,低,指定なし,\r\n";
    EXPECT_TRUE(registry.StartNotes("t").empty());  // no save file
    files.files[save] = theirs;
    registry.Add(Entry("mine.exe"));
    registry.SaveForSessionEnd();
    EXPECT_EQ(files.files[copy], "Version:4.0.0\r\n1,mine.exe,高,指定なし,\r\n");
    boxes.answers = {kIdCancel, kIdCancel, kIdNo};
    EXPECT_FALSE(registry.SaveTable());
    settings.m_autoSaveMode = 1;  // the cancelled save left the list unsaved: the end asks all the same
    EXPECT_FALSE(registry.ConfirmEnd());
    settings.m_autoSaveMode = 0;
    EXPECT_TRUE(registry.SaveTable());  // No: their file, loaded at once
    registry.Add(Entry("mine.exe"));
    files.coarseTimes = true;
    files.files[save] = std::string(theirs).replace(17, 6, "THEIRS");
    boxes.answers = {kIdYes};
    EXPECT_TRUE(registry.SaveTable());
    EXPECT_TRUE(registry.SaveTable());  // what it wrote itself: no question
    EXPECT_EQ(boxes.shown.back().text, TextWith(Text::SaveFileChanged, {save}));
    files.files[save] = "1,a.exe,高,\r\n1,b.exe,高,\r\n1,c.exe,高,";  // the older layout: no header line
    rows.SetChecked(0, false);
    registry.SaveForSessionEnd();  // beside the first copy
    EXPECT_NE(files.files[second].find("0,theirs.exe"), std::string::npos);
    EXPECT_EQ(registry.StartNotes("t"), (std::vector<std::string>{TextWith(Text::HistoryNotLoaded, {"t", "3"}),
                                                                  TextWith(Text::HistorySessionEndCopy, {"t", copy}),
                                                                  TextWith(Text::HistorySessionEndCopy, {"t", second})}));
}

// A load that No to the changed-file question asks for while the rows are in use (the
// list in its own notification, a watch tick holding row numbers) waits until the last
// of them has returned, and then comes as a posted message.
TEST_F(RegistryTest, ALoadAskedForWhileTheRowsAreInUseWaitsForThem) {
    int posts = 0;
    registry.PostLoadsWith([&posts] { ++posts; });
    registry.LoadTable();  // there is none yet
    registry.Add(Entry("mine.exe"));
    settings.m_autoSaveMode = 1;
    files.files[testing::kSavePath] = "Version:4.0.0\r\n1,theirs.exe,高,指定なし,\r\n";
    boxes.answers = {kIdNo};
    {
        const Registrations::RowsInUse tick(registry);
        rows.SetChecked(0, false);  // the change reaction saves: No
        rows.SetChecked(0, true);   // nothing is saved, nor asked, while the load waits
        EXPECT_TRUE(registry.SaveTable());  // nor is a failure told
        registry.RunWaitingLoad();  // delivered by a nested message loop: it waits on
    }
    EXPECT_EQ(rows.Text(0, kNameColumn) + std::to_string(posts), "mine.exe1");
    registry.RunWaitingLoad();
    rows.SetChecked(0, false);  // loaded, and saved again
    EXPECT_EQ(files.files[testing::kSavePath], "Version:4.0.0\r\n0,theirs.exe,高,指定なし,\r\n");
}

// The dialog is shown the row with its name locked; a row whose entry went (one of
// two rows of a name was deleted) gets a new one. The kept run count is driven end to
// end. Deleting the last row selects the one before it.
TEST_F(RegistryTest, EditingARowWithoutAnEntryMakesOneFromTheDialogAndTheCheckBox) {
    ScriptedEntryDialog dialog;
    dialog.answer = [](ProgramEntryForm& form) {
        form = Entry("ignored.exe", kIdle, kAboveNormal, "new");
        form.m_more.processors = 1;
        return true;
    };
    registry.Add(Entry("Editor.exe", kBelowNormal, kRealtime, "old"));
    registry.Add(Entry("Viewer.exe"));
    registry.Programs().Clear();
    rows.SetChecked(1, false);
    registry.EditSelected(dialog);  // the first row, ticked
    rows.SelectAndFocus(1);
    registry.EditSelected(dialog);
    EXPECT_EQ(RowsAsText(), (std::vector<std::string>{"[x]|する|Editor.exe|new|低|通常以上|",
                                                      "[ ]|しない|Viewer.exe|new|低|通常以上|"}));
    EXPECT_EQ(*registry.Programs().Find("EDITOR.EXE"), (ProgramState{0x40, 0x8000, 1, 0, -1}));
    EXPECT_EQ(*registry.Programs().Find("VIEWER.EXE"), (ProgramState{0x40, 0x8000, 0, 0, -1}));
    ASSERT_TRUE(registry.MoreSettings().Find("VIEWER.EXE"));  // the dialog's further settings too
    const ProgramEntryForm& shown = dialog.seen.at(0);  // the row as it was; its registered name is locked
    EXPECT_EQ(std::tie(shown.m_nameLocked, shown.m_name, shown.m_description, shown.m_priority, shown.m_activePriority),
              std::make_tuple(1, "Editor.exe"s, "old"s, kBelowNormal, kRealtime));
    boxes.answers = {kIdYes};
    registry.DeleteSelected();  // the last row: the one before it is selected
    EXPECT_EQ(rows.Selected(), 0);
}

// Steps on one list: the entry of a name that each leaves, and whether the foreground
// must be followed (only for a watched row with an active priority).
TEST_F(RegistryTest, EachStepLeavesTheEntryThatTheRowShows) {
    const struct {
        const char* title;
        std::function<void()> step;
        const char* key;
        ProgramState entry;
        bool followsForeground;
    } steps[] = {
        {"added", [&] { EXPECT_TRUE(registry.Add(Entry("Editor.exe", kHigh, kRealtime, "text"))); }, "EDITOR.EXE",
         {0x80, 0x100, 1, 0, -1}, true},
        {"a folder makes another key", [&] { EXPECT_TRUE(registry.Add(Entry("C:\\bin\\Editor.exe", kIdle))); },
         "C:\\BIN\\EDITOR.EXE", {0x40, 0, 1, 0, -1}, true},
        {"a full-width e is another letter", [&] { EXPECT_TRUE(registry.Add(Entry("\x82\x85" "ditor.EXE"))); },
         "\x82\x64" "DITOR.EXE", {0x80, 0, 1, 0, -1}, true},
        {"the same key in another letter case is refused", [&] { EXPECT_FALSE(registry.Add(Entry("Ｅditor.exe"))); },
         "\x82\x64" "DITOR.EXE", {0x80, 0, 1, 0, -1}, true},
        {"unticked: a pending retry ends", [&] {
             registry.Programs().Find("EDITOR.EXE")->retriesLeft = 2;
             rows.SetChecked(0, false);
         }, "EDITOR.EXE", {0x80, 0x100, 0, 0, -1}, false},
        {"ticked again", [&] {
             registry.Programs().Find("EDITOR.EXE")->retriesLeft = 0;
             rows.SetChecked(0, true);
         }, "EDITOR.EXE", {0x80, 0x100, 1, 0, -1}, true},
        {"deleted and added again: counted afresh", [&] {
             registry.Programs().Find("EDITOR.EXE")->runCount = 9;
             rows.SetText(0, kRunCountColumn, "9");
             boxes.answers = {kIdYes};
             registry.DeleteSelected();
             registry.Add(Entry("Editor.exe", kHigh, kRealtime, "again"));
             EXPECT_EQ(rows.Selected(), 0);  // the next row, moved up; adding keeps the selection
         }, "EDITOR.EXE", {0x80, 0x100, 1, 0, -1}, true},
        {"added unwatched, with auto-save on: saved all the same", [&] {
             settings.m_autoSaveMode = 1;
             settings.m_addWatchMode = 0;
             registry.Add(Entry("quiet.exe", kNormal, kIdle));
             EXPECT_NE(files.files[testing::kSavePath].find("0,quiet.exe,"), std::string::npos);
         }, "QUIET.EXE", {0x20, 0x40, 0, 0, -1}, true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.title);
        s.step();
        const ProgramState* entry = registry.Programs().Find(s.key);
        EXPECT_EQ(entry ? *entry : ProgramState{}, s.entry);
        EXPECT_EQ(registry.Programs().AnyWatchedWithActivePriority(), s.followsForeground);
    }
    ASSERT_EQ(boxes.shown.size(), 2u);  // the duplicate's warning, the question before deleting
    EXPECT_EQ(boxes.shown[1].flags, kMbYesNo | kMbIconQuestion | kMbDefButton2);  // No is the default
}

// Each of the menu's quick commands sets its own column of the selected row, asking
// first for high and realtime; the entry keeps its run count and retries and follows
// the check box. The menu's texts are driven end to end (context-menu-sort-and-save).
TEST_F(RegistryTest, EveryQuickCommandSetsItsColumnAndAsksFirstOnlyForHighAndRealtime) {
    const std::tuple<unsigned, int, const char*> commands[] = {
        {ID_SPECIFIED_REALTIME, kSpecifiedColumn, "リアルタイム"}, {ID_SPECIFIED_HIGH, kSpecifiedColumn, "高"},
        {ID_SPECIFIED_ABOVE_NORMAL, kSpecifiedColumn, "通常以上"}, {ID_SPECIFIED_NORMAL, kSpecifiedColumn, "通常"},
        {ID_SPECIFIED_BELOW_NORMAL, kSpecifiedColumn, "通常以下"}, {ID_SPECIFIED_IDLE, kSpecifiedColumn, "低"},
        {ID_ACTIVE_REALTIME, kActiveColumn, "リアルタイム"},       {ID_ACTIVE_HIGH, kActiveColumn, "高"},
        {ID_ACTIVE_ABOVE_NORMAL, kActiveColumn, "通常以上"},       {ID_ACTIVE_NORMAL, kActiveColumn, "通常"},
        {ID_ACTIVE_BELOW_NORMAL, kActiveColumn, "通常以下"},       {ID_ACTIVE_IDLE, kActiveColumn, "低"},
        {ID_ACTIVE_NONE, kActiveColumn, "指定なし"},
    };
    registry.Add(Entry("a.exe"));
    for (const auto& [id, column, text] : commands) {
        SCOPED_TRACE(id);
        rows.SetText(0, kSpecifiedColumn, "?");
        rows.SetText(0, kActiveColumn, "?");
        *registry.Programs().Find("A.EXE") = {1, 2, 0, 3, 1};  // the check box says watched, the entry not
        const bool asks = text == "リアルタイム"s || text == "高"s;
        boxes = {};
        boxes.answers = {kIdNo, kIdYes};
        registry.ApplyQuickCommand(id);
        if (asks) registry.ApplyQuickCommand(id);
        EXPECT_EQ(boxes.shown.size(), asks ? 2u : 0u);
        EXPECT_EQ(rows.Text(0, column), text);
        const RowPriorities now = rows.Priorities(0);  // the menu then marks this command
        EXPECT_TRUE(QuickCommandMarked(*FindPriorityCommand(id), now.specified, now.active));
        const auto level = static_cast<std::int32_t>(PriorityFromFileName(text));
        EXPECT_EQ(*registry.Programs().Find("A.EXE"),
                  (ProgramState{column == kActiveColumn ? 1 : level, column == kActiveColumn ? level : 2, 1, 3, 1}));
    }
    // A row without an entry gets one with both classes that the row keeps.
    RowPriorities kept = rows.Priorities(0);
    kept.active = kBelowNormal;
    rows.SetPriorities(0, kept);
    registry.Programs().Clear();
    registry.ApplyQuickCommand(ID_SPECIFIED_ABOVE_NORMAL);
    EXPECT_EQ(*registry.Programs().Find("A.EXE"), (ProgramState{0x8000, 0x4000, 1, 0, -1}));
}

}  // namespace
}  // namespace tarnwick
