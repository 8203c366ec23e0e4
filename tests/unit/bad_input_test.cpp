// Damaged files read the way the formats say, without a crash, a hang or a
// runaway allocation; these run in the sanitizer build too.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include <unistd.h>

#include "tests/support/registry_fixture.h"

namespace tarnwick {
namespace {

using testing::kSavePath;
using testing::RegistryTest;

TEST_F(RegistryTest, BinaryGarbageLoadsAsFarAsItGoes) {
    std::mt19937 random(7);
    std::string garbage = "Version:4.0.0\r\n";
    for (int i = 0; i < 200000; ++i) garbage += static_cast<char>(random() & 0xFF);
    files.files[kSavePath] = garbage;
    registry.LoadTable();
    EXPECT_FALSE(registry.Loading());
    int newlines = 0;
    for (std::size_t i = 15; i < garbage.size(); ++i) newlines += garbage[i] == '\n';
    EXPECT_GE(rows.Count(), newlines);
    EXPECT_LE(rows.Count(), newlines + 1);
    registry.SaveTable();  // whatever was read can be written again
    EXPECT_EQ(files.files[kSavePath].substr(0, 15), "Version:4.0.0\r\n");
}

TEST_F(RegistryTest, NulBytesEndTheTextOfTheirLine) {
    static const char kBytes[] = "Version:4.0.0\r\n1,ab\0cd,\x8D\x82,x,y\r\n0,next.exe\r\n";
    files.files[kSavePath] = std::string(kBytes, sizeof kBytes - 1);
    registry.LoadTable();
    ASSERT_EQ(rows.Count(), 2);
    EXPECT_EQ(rows.Text(0, kNameColumn), "ab");
    EXPECT_EQ(rows.Text(0, kSpecifiedColumn), "");
    EXPECT_TRUE(rows.Checked(0));
    EXPECT_EQ(rows.Text(1, kNameColumn), "next.exe");
}

TEST_F(RegistryTest, LoneCrStaysInsideItsLine) {
    files.files[kSavePath] = "Version:4.0.0\r1,a.exe,\x8D\x82,\x92\xE1,d\r\n1,b.exe,\x8D\x82,\x92\xE1,e\r\r\n";
    registry.LoadTable();
    // The first record shared the header's line; the second keeps one CR.
    ASSERT_EQ(rows.Count(), 1);
    EXPECT_EQ(rows.Text(0, kDescriptionColumn), "e\r");
}

TEST_F(RegistryTest, LineOfManyMegabytes) {
    std::string description(8 << 20, 'x');
    files.files[kSavePath] = "Version:4.0.0\r\n1,big.exe,\x8D\x82,\x92\xE1," + description;
    registry.LoadTable();
    ASSERT_EQ(rows.Count(), 1);
    EXPECT_EQ(rows.Text(0, kDescriptionColumn).size(), description.size());
    EXPECT_EQ(registry.Programs().Find("BIG.EXE")->specifiedClass, 0x80);
}

TEST_F(RegistryTest, LeadByteAtTheEndOfAFieldOrOfTheFile) {
    // A lead byte just before a comma takes the comma as its second byte in the
    // name's key, but the fields are split at bytes as the file layout says.
    files.files[kSavePath] = "Version:4.0.0\r\n1,ab\x82,\x8D\x82,\x92\xE1,d\x82";
    registry.LoadTable();
    ASSERT_EQ(rows.Count(), 1);
    EXPECT_EQ(rows.Text(0, kNameColumn), "ab\x82");
    EXPECT_EQ(rows.Text(0, kDescriptionColumn), "d\x82");
    EXPECT_NE(registry.Programs().Find("AB\x82"), nullptr);
    registry.SaveTable();
    EXPECT_EQ(files.files[kSavePath], "Version:4.0.0\r\n1,ab\x82,\x8D\x82,\x92\xE1,d\x82\r\n");
}

TEST_F(RegistryTest, OnlyCommasAndEmptyLines) {
    files.files[kSavePath] = "Version:4.0.0\r\n,,,,,,,,\r\n\r\n\n";
    registry.LoadTable();
    ASSERT_EQ(rows.Count(), 3);
    EXPECT_EQ(rows.Text(0, kDescriptionColumn), ",,,,");
    EXPECT_EQ(rows.Text(1, kWatchColumn), "しない");
    EXPECT_EQ(rows.Text(2, kNameColumn), "");
    EXPECT_EQ(registry.Programs().Size(), 1u);  // all three share the empty key
    EXPECT_EQ(registry.Programs().Find("")->specifiedClass, 0x40);
}

TEST_F(RegistryTest, OldLayoutOfOnlyCommas) {
    files.files[kSavePath] = ",,,,";
    registry.LoadTable();
    EXPECT_EQ(files.files[kSavePath], "Version:4.0.0\r\n,,,\x8E\x77\x92\xE8\x82\xC8\x82\xB5,,\r\n");
    EXPECT_EQ(rows.Text(0, kDescriptionColumn), ",");
}

TEST(SettingsBadInput, GarbageNulAndHugeLines) {
    testing::MemoryFileSystem files;
    const std::string ini = "C:\\T\\Tarnwick.ini";
    static const char kNul[] = "RETRYCOUNT=\0" "5\r\n";
    std::string text(kNul, sizeof kNul - 1);
    text += std::string(4 << 20, '=') + "WATCHINGCYCLETIME" + "\r\n";
    text += "SAVEFILENAME=\x82";
    files.files[ini] = text;
    AppSettings settings("C:\\T\\Tarnwick.exe", files);
    settings.Load();
    EXPECT_EQ(settings.m_retryCount, 0);  // the value starts with NUL: no digits
    EXPECT_EQ(settings.m_watchingCycleTime, 500);
    EXPECT_EQ(settings.GetSaveFilePath(), "\x82");
}

TEST(StdioFiles, RealFilesWithShiftJisNamesAndAFullDisk) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("tarnwick-files-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    StdioFileSystem files;
    const std::string path = dir.string() + "/\x95\x5C.sav";
    EXPECT_FALSE(files.Read(path).has_value());
    ASSERT_TRUE(WriteReplacing(files, path, std::string("a\0b\r\n", 5)));
    EXPECT_EQ(*files.Read(path), std::string("a\0b\r\n", 5));
    EXPECT_FALSE(files.Exists(path + ".new"));
    EXPECT_FALSE(WriteReplacing(files, dir.string() + "/missing/x.sav", "x"));
    if (fs::exists("/dev/full")) {
        EXPECT_FALSE(files.Write("/dev/full", std::string(1 << 20, 'x')));
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace tarnwick
