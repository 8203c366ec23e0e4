// A registration's further settings: the processors as the user writes them, the
// list's summary and the companion file beside the save file.
#include "core/program_settings.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/fakes.h"

namespace tarnwick {
namespace {

TEST(ProgramSettingsTest, ProcessorsAreReadAsRangesAndWrittenShortest) {
    const std::tuple<const char*, std::optional<std::uint64_t>, const char*> cases[] = {
        {"", 0, ""},                      {" 0-3, 8 ", 0x10F, "0-3,8"},   {"3,1,2", 0xE, "1-3"},
        {"63", 1ULL << 63, "63"},         {"0-63", ~0ULL, "0-63"},        {"64", std::nullopt, ""},
        {"3-1", std::nullopt, ""},        {"1,,2", std::nullopt, ""},     {"a", std::nullopt, ""},
        {"007", std::nullopt, ""},        {"1-", std::nullopt, ""},
    };
    for (const auto& [text, set, formatted] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseProcessors(text), set);
        EXPECT_EQ(set ? FormatProcessors(*set) : "", formatted);
    }
}

TEST(ProgramSettingsTest, TheSummaryNamesWhatIsSetInTheUsersLanguage) {
    const ProgramSettings set{IoPriority::Low, MemoryPriority::BelowNormal, 0xF, EfficiencyMode::AlwaysOff};
    EXPECT_EQ(SettingsSummary(set), "I/O 低, メモリ 通常以下, CPU 0-3, 効率オフ");
    const testing::InEnglish english;
    EXPECT_EQ(SettingsSummary({IoPriority::VeryLow, MemoryPriority::VeryLow, 0, EfficiencyMode::AlwaysOn}),
              "I/O very low, Memory very low, Efficiency on");
}

// What is written reads back; a missing file holds nothing; a damaged line is skipped
// and counted; another version's file is taken as a whole as damaged.
TEST(ProgramSettingsTest, TheCompanionFileReadsBackAndSkipsWhatItCannotRead) {
    EXPECT_EQ(CompanionPath("C:\\T\\Tarnwick.sav"), "C:\\T\\Tarnwick.more");
    EXPECT_EQ(CompanionPath("C:\\a.b\\list"), "C:\\a.b\\list.more");
    const NamedSettings named = {{"Backup.exe", {IoPriority::VeryLow, MemoryPriority::NotSet, 0x10F, {}}},
                                 {"plain.exe", {}},
                                 {"ゲーム.exe", {IoPriority::NotSet, MemoryPriority::Normal, 0, EfficiencyMode::AlwaysOn}}};
    const std::string file = FormatCompanionFile(named);
    EXPECT_EQ(file, "TarnwickMore:1\r\nBackup.exe,verylow,,,0-3,8\r\nゲーム.exe,,normal,on,\r\n");
    const CompanionContents read = ParseCompanionFile(file + "x.exe,low\r\n,low,,,\r\nz.exe,,,,\r\ny.exe,high,,,\r\n");
    EXPECT_EQ(read.settings, (std::map<std::string, ProgramSettings>{{"BACKUP.EXE", named[0].second},
                                                                     {"ゲーム.EXE", named[2].second},
                                                                     {"X.EXE", {IoPriority::Low, MemoryPriority::NotSet, 0, {}}}}));
    EXPECT_EQ(read.damagedLines, 3);
    EXPECT_EQ(ParseCompanionFile("TarnwickMore:2\r\nBackup.exe,low,,,\r\n").damagedLines, 1);
}

}  // namespace
}  // namespace tarnwick
