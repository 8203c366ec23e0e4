// The save file as the load reads it, quirks included, and every writer of a file
// against a failing disk. Damaged input beyond these rows is the fuzz targets' part.
#include "core/save_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include <unistd.h>

#include "res/resource.h"
#include "tests/support/registry_world.h"

namespace tarnwick {
namespace {

using namespace std::string_literals;
using testing::kSavePath;
using testing::kTempPath;
using RegistryTest = testing::RegistryFixture<::testing::Test>;
using Strings = std::vector<std::string>;

struct LoadCase {
    const char* title;
    std::optional<std::string> file;  // none: there is no save file
    Strings rows;                     // as RowsAsText gives them
    std::map<std::string, ProgramState> index;
};

const LoadCase kLoadCases[] = {
    {"the current layout, a comma in a description",
     "Version:4.0.0\r\n1,editor.exe,高,通常以上,text editor, used daily\r\n0,backup.exe,低,指定なし,\r\n",
     {"[x]|する|editor.exe|text editor, used daily|高|通常以上|", "[ ]|しない|backup.exe||低|指定なし|"},
     {{"EDITOR.EXE", {0x80, 0x8000, 1, 0, -1}}, {"BACKUP.EXE", {0x40, 0, 0, 0, -1}}}},
    {"no save file", std::nullopt, {}, {}},
    {"the header alone", "Version:4.0.0\r\n", {}, {}},
    {"a comma in a name splits it", "Version:4.0.0\r\n1,a,b.exe,高,x, y\r\n", {"[x]|する|a|x, y|b.exe|高|"},
     {{"A", {0x40, 0x80, 1, 0, -1}}}},
    {"a NUL byte ends its line's text", "Version:4.0.0\r\n1,ab\0cd,高,x,y\r\n0,next.exe\r\n"s,
     {"[x]|する|ab||||", "[ ]|しない|next.exe||||"},
     {{"AB", {0x40, 0x40, 1, 0, -1}}, {"NEXT.EXE", {0x40, 0x40, 0, 0, -1}}}},
    {"a lone CR stays inside its line", "Version:4.0.0\r1,a.exe,高,低,d\r\n1,b.exe,高,低,e\r\r\n",
     {"[x]|する|b.exe|e\r|高|低|"}, {{"B.EXE", {0x80, 0x40, 1, 0, -1}}}},
    // A lead byte before a comma takes the comma into the key's character, not into the field.
    {"a lead byte at the end of a field and of the file", "Version:4.0.0\r\n1,ab\x82,高,低,d\x82",
     {"[x]|する|ab\x82|d\x82|高|低|"}, {{"AB\x82", {0x80, 0x40, 1, 0, -1}}}},
    {"only commas and empty lines: three records of one empty key", "Version:4.0.0\r\n,,,,,,,,\r\n\r\n\n",
     {"[ ]|しない||,,,,|||", "[ ]|しない|||||", "[ ]|しない|||||"}, {{"", {0x40, 0x40, 0, 0, -1}}}},
    // Checking the second record must not mark the first, whose empty name finds no entry yet.
    {"an unchecked empty name before a checked record", "Version:4.0.0\r\n0,,低,指定なし,\r\n1,b.exe,高,指定なし,\r\n",
     {"[ ]|しない|||低|指定なし|", "[x]|する|b.exe||高|指定なし|"},
     {{"", {0x40, 0, 0, 0, -1}}, {"B.EXE", {0x80, 0, 1, 0, -1}}}},
    {"a first record containing Version: is taken for the header", "1,Version:x.exe,高,d\n1,b.exe,高,d\n",
     {"[x]|する|b.exe||高|d|"}, {{"B.EXE", {0x80, 0x40, 1, 0, -1}}}},
    {"an empty file is the old layout's one empty record", "", {"[ ]|しない||||指定なし|"}, {{"", {0x40, 0, 0, 0, -1}}}},
    {"the old layout, only commas", ",,,,", {"[ ]|しない||,||指定なし|"}, {{"", {0x40, 0, 0, 0, -1}}}},
};

TEST_F(RegistryTest, LoadReadsEveryQuirkAsTheTableSays) {
    for (const LoadCase& c : kLoadCases) {
        SCOPED_TRACE(c.title);
        files = {};
        boxes = {};
        if (c.file) files.files[kSavePath] = *c.file;
        settings.m_autoSaveMode = 0;
        rows.DeleteAll();
        registry.Programs().Clear();
        registry.Add(Entry("editor.exe"));  // what was registered goes, its run count too
        registry.Programs().Find("EDITOR.EXE")->runCount = 5;
        settings.m_autoSaveMode = 1;  // and the load saves nothing on the way
        registry.LoadTable();
        EXPECT_EQ(RowsAsText(), c.rows);
        EXPECT_EQ(registry.Programs().Size(), c.index.size());
        for (const auto& [key, state] : c.index) {
            const ProgramState* found = registry.Programs().Find(key);
            EXPECT_EQ(found ? *found : ProgramState{}, state) << key;
        }
        EXPECT_EQ(Saves(), 0);
    }
}

// In English the list shows English names, while the file reads and writes as in
// Japanese, byte for byte, a field that names no class included.
TEST_F(RegistryTest, InEnglishTheListShowsEnglishAndTheFileStaysAsItIs) {
    const testing::InEnglish english;
    files.files[kSavePath] = "Version:4.0.0\r\n1,editor.exe,高,通常以上,text\r\n0,odd.exe,b.exe,指定なし,\r\n";
    registry.LoadTable();
    registry.ApplyQuickCommand(ID_ACTIVE_BELOW_NORMAL);
    rows.SetChecked(1, true);
    EXPECT_EQ(RowsAsText(), (Strings{"[x]|Yes|editor.exe|text|High|Below normal|", "[x]|Yes|odd.exe||b.exe|(none)|"}));
    EXPECT_TRUE(registry.SaveTable());
    EXPECT_EQ(files.files[kSavePath], "Version:4.0.0\r\n1,editor.exe,高,通常以下,text\r\n1,odd.exe,b.exe,指定なし,\r\n");
}

// The further settings go to the companion file with every save and come back with
// every load, for the listed programs only: none set writes no new file, the save
// file stays byte for byte, damaged lines are told once, a deleted program's settings
// go with it, and another program's change of the companion file alone is asked about.
TEST_F(RegistryTest, FurtherSettingsTravelInTheCompanionFile) {
    const std::string more = CompanionPath(kSavePath);
    struct Dialog final : ProgramSettingsDialog {
        int runs = 0;
        bool Run(ProgramSettings& settings) override { return ++runs, settings.processors = 1, true; }
    } menu;
    registry.EditSelectedSettings(menu);  // no row: no dialog
    registry.Add(Entry("b.exe"));
    EXPECT_TRUE(registry.SaveTable() && !files.Exists(more) && menu.runs == 0);
    const std::string saved = files.files[kSavePath] + "1,a.exe,高,指定なし,\r\n";
    ProgramEntryForm withMore = Entry("a.exe");
    withMore.m_more = {IoPriority::Low, MemoryPriority::NotSet, 3, {}};
    registry.Add(withMore);
    EXPECT_TRUE(registry.Unsaved() && registry.SaveTable());
    EXPECT_EQ(files.files[kSavePath], saved);
    EXPECT_EQ(files.files[more], "TarnwickMore:1\r\na.exe,low,,,0-1\r\n");
    // A save file that cannot be replaced keeps its companion file as it was.
    files.uncreatable = {kSavePath + ".new"s};
    registry.EditSelectedSettings(menu);
    EXPECT_TRUE(!registry.SaveTable() && files.files[more] == "TarnwickMore:1\r\na.exe,low,,,0-1\r\n");
    files.uncreatable.clear();
    files.files[more] += "gone.exe,low,,,\r\nbroken\r\n";
    registry.LoadTable();
    EXPECT_EQ(registry.TakeLoadNotes("t"), Strings{"t 詳細設定ファイル C:\\T\\Tarnwick.more の 1 行は読み取れないため、無視しました。"});
    EXPECT_TRUE(registry.TakeLoadNotes("t").empty() && registry.MoreSettings().Find("A.EXE") && !registry.Unsaved());
    boxes.answers = {kIdYes, kIdNo};
    rows.SelectAndFocus(1);
    registry.DeleteSelected();
    EXPECT_TRUE(registry.SaveTable() && !registry.MoreSettings().Find("A.EXE"));
    files.files[more] = "TarnwickMore:1\r\nb.exe,,,on,\r\n";
    EXPECT_TRUE(registry.SaveTable() && !registry.Unsaved());  // No: the other version is loaded
    EXPECT_EQ(rows.Text(0, kMoreColumn), "効率オン");
    // The menu's dialog changes the selected row's alone; with auto-save, saved at once.
    settings.m_autoSaveMode = 1;
    registry.EditSelectedSettings(menu);
    EXPECT_EQ(files.files[more], "TarnwickMore:1\r\nb.exe,,,on,0\r\n");
}

// Every writer puts a complete file in place or leaves the old one, and cleans up.
TEST_F(RegistryTest, AFailingDiskNeverCostsTheOldFile) {
    const std::string ini = settings.GetSettingsFilePath();
    const struct {
        const char* title;
        std::string path;
        std::string temp;
        std::function<bool()> write;  // true when the failure was reported (the conversion: the old file read)
    } writers[] = {
        // The old file was never read here: Yes to the question, then the failure.
        {"the save", kSavePath, kSavePath + ".new"s, [&] { boxes.answers = {kIdYes}; return !registry.SaveTable(); }},
        {"the settings", ini, ini + ".new", [&] { return !settings.Save(); }},
        // The old file has no header: the load converts it first, then reads it as it is.
        {"the conversion", kSavePath, kTempPath, [&] { registry.LoadTable(); return rows.Count() == 0; }},
    };
    enum Failure { kCreate, kHalfWrite, kReplace, kPowerCutAfter };
    for (const auto& w : writers) {
        for (Failure failure : {kCreate, kHalfWrite, kReplace, kPowerCutAfter}) {
            SCOPED_TRACE(std::string(w.title) + " " + std::to_string(failure));
            files = {};
            boxes.shown.clear();
            files.files[w.path] = "old";
            if (failure == kCreate) files.uncreatable.insert(w.temp);
            if (failure == kHalfWrite) files.failingWrites.insert(w.temp);
            files.replaceFails = failure == kReplace;
            if (failure == kPowerCutAfter) {  // the new file, whole, once the write has returned
                EXPECT_FALSE(w.write());
                files.PowerCut();
                EXPECT_NE(files.files[w.path].find("\r\n"), std::string::npos);
                continue;
            }
            EXPECT_TRUE(w.write());
            EXPECT_EQ(files.files[w.path], "old");
            // The conversion leaves its temporary file when only the move fails; the next load rewrites it.
            EXPECT_TRUE(!files.Exists(w.temp) || (w.temp == kTempPath && failure == kReplace));
        }
    }
}

TEST(StdioFiles, RealFilesWithShiftJisNamesAndAFullDisk) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("tarnwick-files-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    StdioFileSystem files;
    const std::string path = dir.string() + "/\x95\x5C.sav";
    EXPECT_FALSE(files.Read(path).has_value());
    ASSERT_TRUE(WriteReplacing(files, path, "a\0b\r\n"s));
    EXPECT_EQ(files.Read(path), std::optional("a\0b\r\n"s));
    EXPECT_FALSE(files.Exists(path + ".new"));
    EXPECT_FALSE(WriteReplacing(files, dir.string() + "/missing/x.sav", "x"));
    EXPECT_FALSE(fs::exists("/dev/full") && files.Write("/dev/full", std::string(1 << 20, 'x')));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace tarnwick
