#include "core/save_file.h"

#include <gtest/gtest.h>

#include "tests/support/registry_fixture.h"

namespace tarnwick {
namespace {

using testing::kSavePath;
using testing::kTempPath;
using testing::RegistryTest;
using Strings = std::vector<std::string>;

// 1,editor.exe,高,通常以上,text editor, used daily / 0,backup.exe,低,指定なし,
constexpr const char* kExample =
    "Version:4.0.0\r\n"
    "1,editor.exe,\x8D\x82,\x92\xCA\x8F\xED\x88\xC8\x8F\xE3,text editor, used daily\r\n"
    "0,backup.exe,\x92\xE1,\x8E\x77\x92\xE8\x82\xC8\x82\xB5,\r\n";

TEST_F(RegistryTest, LoadThenSaveGivesTheSameBytes) {
    files.files[kSavePath] = kExample;
    registry.LoadTable();
    EXPECT_EQ(Column(kWatchColumn), (Strings{"する", "しない"}));
    EXPECT_EQ(Column(kNameColumn), (Strings{"editor.exe", "backup.exe"}));
    EXPECT_EQ(Column(kDescriptionColumn), (Strings{"text editor, used daily", ""}));
    EXPECT_EQ(Column(kRunCountColumn), (Strings{"", ""}));
    EXPECT_TRUE(rows.Checked(0));
    EXPECT_FALSE(rows.Checked(1));
    EXPECT_EQ(rows.Selected(), 0);
    EXPECT_EQ(*registry.Programs().Find("EDITOR.EXE"), (ProgramState{0x80, 0x8000, 1, 0, -1}));
    EXPECT_EQ(*registry.Programs().Find("BACKUP.EXE"), (ProgramState{0x40, 0, 0, 0, -1}));
    EXPECT_FALSE(registry.Loading());

    files.files.erase(kSavePath);
    registry.SaveTable();
    EXPECT_EQ(files.files[kSavePath], kExample);
    EXPECT_FALSE(files.Exists(std::string(kSavePath) + ".new"));
}

TEST_F(RegistryTest, LoadSkipsSavesEvenWithAutoSave) {
    settings.m_autoSaveMode = 1;
    files.files[kSavePath] = kExample;
    registry.LoadTable();
    EXPECT_EQ(Saves(), 0);
    EXPECT_EQ(files.files[kSavePath], kExample);
    rows.SetChecked(1, true);  // after the load, saves run again
    EXPECT_EQ(Saves(), 1);
}

TEST_F(RegistryTest, LoadResetsRunCountsAndKeepsTheLaterOfTwoEqualKeys) {
    registry.Add(Entry("old.exe"));
    registry.Programs().Find("OLD.EXE")->runCount = 5;
    files.files[kSavePath] = "Version:9\r\n1,A.exe,高,指定なし,x\r\n0,a.EXE,低,通常,y\r\n";
    registry.LoadTable();
    EXPECT_EQ(rows.Count(), 2);
    EXPECT_EQ(registry.Programs().Size(), 1u);
    EXPECT_EQ(*registry.Programs().Find("A.EXE"), (ProgramState{0x40, 0x20, 0, 0, -1}));
    // Deleting one of the two rows takes the shared entry with it.
    boxes.answers = {kIdYes};
    registry.DeleteSelected();
    EXPECT_EQ(rows.Count(), 1);
    EXPECT_EQ(registry.Programs().Find("A.EXE"), nullptr);
}

TEST_F(RegistryTest, ACheckedRecordDoesNotMarkAnEarlierRecordWithAnEmptyName) {
    files.files[kSavePath] = "Version:4.0.0\r\n0,,低,指定なし,\r\n1,b.exe,高,指定なし,\r\n";
    registry.LoadTable();
    EXPECT_EQ(registry.Programs().Find("")->watched, 0);
    EXPECT_EQ(registry.Programs().Find("B.EXE")->watched, 1);
}

TEST_F(RegistryTest, MissingFileEmptiesTheTableQuietly) {
    registry.Add(Entry("a.exe"));
    registry.LoadTable();
    EXPECT_EQ(rows.Count(), 0);
    EXPECT_EQ(registry.Programs().Size(), 0u);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(registry.Loading());
    registry.SaveTable();
    EXPECT_EQ(files.files[kSavePath], "Version:4.0.0\r\n");
    registry.LoadTable();
    EXPECT_EQ(rows.Count(), 0);
    EXPECT_EQ(rows.Selected(), -1);
}

TEST_F(RegistryTest, CommaInADescriptionSurvivesButNotInAName) {
    registry.Add(Entry("a,b.exe", kHigh, kNoPriority, "x, y, z"));
    registry.SaveTable();
    registry.LoadTable();
    EXPECT_EQ(rows.Text(0, kNameColumn), "a");
    EXPECT_EQ(rows.Text(0, kSpecifiedColumn), "b.exe");
    EXPECT_EQ(rows.Text(0, kActiveColumn), "高");
    EXPECT_EQ(rows.Text(0, kDescriptionColumn), "指定なし,x, y, z");
}

TEST_F(RegistryTest, EmptyFileBecomesOneEmptyRecord) {
    files.files[kSavePath] = "";
    registry.LoadTable();
    EXPECT_EQ(files.files[kSavePath], "Version:4.0.0\r\n,,,\x8E\x77\x92\xE8\x82\xC8\x82\xB5,\r\n");
    ASSERT_EQ(rows.Count(), 1);
    EXPECT_EQ(rows.Text(0, kWatchColumn), "しない");
    EXPECT_EQ(rows.Text(0, kActiveColumn), "指定なし");
    EXPECT_EQ(rows.Text(0, kNameColumn), "");
    EXPECT_FALSE(rows.Checked(0));
}

TEST_F(RegistryTest, FirstRecordContainingVersionIsTakenForAHeader) {
    files.files[kSavePath] = "1,Version:x.exe,高,desc\n1,b.exe,高,desc\n";
    registry.LoadTable();
    EXPECT_EQ(Column(kNameColumn), (Strings{"b.exe"}));
    EXPECT_EQ(rows.Text(0, kActiveColumn), "desc");  // read as five fields
}

TEST_F(RegistryTest, ConversionNeverLosesTheSaveFile) {
    const std::string old = "1,a.exe,高,d\r\n";
    // The temporary file cannot be created: the file stays and is read as it is.
    files.files[kSavePath] = old;
    files.uncreatable.insert(kTempPath);
    registry.LoadTable();
    EXPECT_EQ(files.files[kSavePath], old);
    EXPECT_EQ(rows.Count(), 0);  // its only record went for the header
    // The disk fills while the converted copy is written.
    files.uncreatable.clear();
    files.failingWrites.insert(kTempPath);
    registry.LoadTable();
    EXPECT_EQ(files.files[kSavePath], old);
    EXPECT_FALSE(files.Exists(kTempPath));
    // The converted copy is complete but cannot be moved into place.
    files.failingWrites.clear();
    files.replaceFails = true;
    ConvertOldSaveFile(files, kSavePath, kTempPath);
    EXPECT_EQ(files.files[kSavePath], old);
    // Nothing removes the save file on the way.
    for (const std::string& step : files.log) EXPECT_NE(step, std::string("remove ") + kSavePath);
}

TEST_F(RegistryTest, FailedSaveShowsTheMessageAndKeepsTheOldFile) {
    files.files[kSavePath] = kExample;
    registry.LoadTable();
    registry.Add(Entry("new.exe"));
    files.failingWrites.insert(std::string(kSavePath) + ".new");
    registry.SaveTable();
    EXPECT_EQ(files.files[kSavePath], kExample);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "データのセーブに失敗しました。オプションのファイルで指定されているパス名を確認してください。");
    EXPECT_EQ(boxes.shown[0].caption, "セーブの失敗");
    EXPECT_EQ(boxes.shown[0].flags, 0x30u);
    files.failingWrites.clear();
    files.replaceFails = true;  // a write-protected save file
    registry.SaveTable();
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(files.files[kSavePath], kExample);
}

TEST_F(RegistryTest, UnreadableFileAfterConversionLeavesLoadingCleared) {
    files.files[kSavePath] = kExample;
    files.unreadable.insert(kSavePath);
    registry.LoadTable();
    EXPECT_FALSE(registry.Loading());
    settings.m_autoSaveMode = 1;
    registry.Add(Entry("a.exe"));
    EXPECT_EQ(Saves(), 1);
}

TEST(SplitFields, FourCutsAndTheRest) {
    EXPECT_EQ(SplitFields<4>("1,a,b,c,d,e"), (std::array<std::string, 5>{"1", "a", "b", "c", "d,e"}));
    EXPECT_EQ(SplitFields<4>("1,a"), (std::array<std::string, 5>{"1", "a", "", "", ""}));
    EXPECT_EQ(SplitFields<4>(""), (std::array<std::string, 5>{}));
    EXPECT_EQ(SplitFields<4>(",,,,"), (std::array<std::string, 5>{}));
    EXPECT_EQ(SplitFields<3>("a,b,c,d,e"), (std::array<std::string, 4>{"a", "b", "c", "d,e"}));
}

}  // namespace
}  // namespace tarnwick
