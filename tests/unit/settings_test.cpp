#include "core/settings.h"

#include <gtest/gtest.h>

#include "tests/support/fakes.h"

namespace tarnwick {
namespace {

constexpr const char* kProgram = "C:\\Tools\\Tarnwick.exe";
constexpr const char* kIni = "C:\\Tools\\Tarnwick.ini";

class SettingsTest : public ::testing::Test {
protected:
    AppSettings LoadFrom(const std::string& text) {
        files.files[kIni] = text;
        AppSettings settings(kProgram, files);
        settings.Load();
        return settings;
    }
    testing::MemoryFileSystem files;
};

TEST_F(SettingsTest, DefaultsAndPathsWhenNoFile) {
    AppSettings settings(kProgram, files);
    settings.Load();
    EXPECT_EQ(settings.m_runPanelView, 1);
    EXPECT_EQ(settings.m_addWatchMode, 1);
    EXPECT_EQ(settings.m_autoSaveMode, 0);
    EXPECT_EQ(settings.m_autoLoadMode, 0);
    EXPECT_EQ(settings.m_watchingCycleTime, 500);
    EXPECT_EQ(settings.m_retryCount, 3);
    EXPECT_EQ(settings.m_targetAllApp, 0);
    EXPECT_EQ(settings.GetSaveFilePath(), "C:\\Tools\\Tarnwick.sav");
    EXPECT_EQ(settings.GetSettingsFilePath(), kIni);
    EXPECT_EQ(settings.GetExeFilePath(), "C:\\Tools\\Tarnwick.exe");
    EXPECT_EQ(settings.GetTempFilePath(), "C:\\Tools\\Tarnwick.tmp");
    EXPECT_TRUE(files.log.empty());  // reading writes nothing
}

TEST_F(SettingsTest, PathsUseTheFixedProgramNameAndKeepDoubleByteFolders) {
    // "ソフト表示": two second bytes 0x5C inside the folder name.
    AppSettings settings("D:\\\x83\x5C\x83\x74\x83\x67\x95\x5C\x8E\xA6\\renamed.exe", files);
    EXPECT_EQ(settings.GetExeFilePath(), "D:\\\x83\x5C\x83\x74\x83\x67\x95\x5C\x8E\xA6\\Tarnwick.exe");
    // A folder that ends in 表 (0x95 0x5C) without a real backslash is no directory end.
    AppSettings bare("\x95\x5C", files);
    EXPECT_EQ(bare.GetSaveFilePath(), "\\Tarnwick.sav");
    AppSettings root("C:\\Tarnwick.exe", files);
    EXPECT_EQ(root.GetSettingsFilePath(), "C:\\Tarnwick.ini");
}

TEST_F(SettingsTest, LimitsAndAtoiRules) {
    EXPECT_EQ(LoadFrom("WATCHINGCYCLETIME=100\r\n").m_watchingCycleTime, 500);
    EXPECT_EQ(LoadFrom("WATCHINGCYCLETIME=99999\r\n").m_watchingCycleTime, 60000);
    EXPECT_EQ(LoadFrom("WATCHINGCYCLETIME=abc\r\n").m_watchingCycleTime, 500);
    EXPECT_EQ(LoadFrom("WATCHINGCYCLETIME=  +1500ms\n").m_watchingCycleTime, 1500);
    EXPECT_EQ(LoadFrom("WATCHINGCYCLETIME=99999999999999999999\n").m_watchingCycleTime, 60000);
    EXPECT_EQ(LoadFrom("RETRYCOUNT=-1\r\n").m_retryCount, 0);
    EXPECT_EQ(LoadFrom("RETRYCOUNT=12\r\n").m_retryCount, 9);
    EXPECT_EQ(LoadFrom("TOPMOSTWINDOW=2\r\n").m_topmostWindow, 2);
    EXPECT_EQ(LoadFrom("RUNPANELVIEW=-7").m_runPanelView, -7);  // no line end on the last line
}

TEST_F(SettingsTest, KeySearchRules) {
    EXPECT_EQ(LoadFrom("AUTOLAODMODE=1\r\n").m_autoLoadMode, 1);
    EXPECT_EQ(LoadFrom("runpanelview=0\r\n").m_runPanelView, 1);  // keys are case-sensitive
    EXPECT_EQ(LoadFrom("xxRUNPANELVIEWyy=0\r\n").m_runPanelView, 0);
    EXPECT_EQ(LoadFrom("RUNPANELVIEW\r\n").m_runPanelView, 0);  // no equals sign: the whole line
    // RETRYCOUNT comes before SAVEFILENAME in the search order.
    AppSettings retry = LoadFrom("SAVEFILENAME=C:\\RETRYCOUNT\\x.sav\r\n");
    EXPECT_EQ(retry.m_retryCount, 0);
    EXPECT_EQ(retry.GetSaveFilePath(), "C:\\Tools\\Tarnwick.sav");
    EXPECT_EQ(LoadFrom("SAVEFILENAME=C:\\a=b\\x.sav\r\n").GetSaveFilePath(), "b\\x.sav");
    EXPECT_EQ(LoadFrom("SAVEFILENAME=\r\n").GetSaveFilePath(), "");
    EXPECT_EQ(LoadFrom("RETRYCOUNT=1\r\nnoise\r\nRETRYCOUNT=5\r\n").m_retryCount, 5);  // last wins
    // A lone CR does not end a line: both keys sit on one line and the first in order wins.
    AppSettings lone = LoadFrom("AUTOSAVEMODE=1\rADDWATCHMODE=0\n");
    EXPECT_EQ(lone.m_addWatchMode, 0);
    EXPECT_EQ(lone.m_autoSaveMode, 0);
}

TEST_F(SettingsTest, SaveWritesElevenLinesByteForByte) {
    AppSettings settings(kProgram, files);
    files.files[kIni] = "AUTOLAODMODE=1\r\n";
    settings.Load();
    settings.SetSaveFilePath("E:\\\x95\x5C.sav");
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(files.files[kIni],
              "RUNPANELVIEW=1\r\nTOPMOSTWINDOW=0\r\nDESKTOPSHORTCUT=0\r\nSTARTUPSHORTCUT=0\r\nADDWATCHMODE=1\r\n"
              "AUTOSAVEMODE=0\r\nAUTOLOADMODE=1\r\nWATCHINGCYCLETIME=500\r\nRETRYCOUNT=3\r\n"
              "SAVEFILENAME=E:\\\x95\x5C.sav\r\nTARGETALLAPP=0\r\n");
    AppSettings reread(kProgram, files);
    reread.Load();
    EXPECT_EQ(reread.GetSaveFilePath(), "E:\\\x95\x5C.sav");
    EXPECT_EQ(reread.m_autoLoadMode, 1);
}

TEST_F(SettingsTest, FailedSaveKeepsTheOldFile) {
    files.files[kIni] = "RETRYCOUNT=7\r\n";
    AppSettings settings(kProgram, files);
    settings.m_retryCount = 1;
    files.failingWrites.insert(std::string(kIni) + ".new");
    EXPECT_FALSE(settings.Save());
    EXPECT_EQ(files.files[kIni], "RETRYCOUNT=7\r\n");
    EXPECT_FALSE(files.Exists(std::string(kIni) + ".new"));
    files.failingWrites.clear();
    files.uncreatable.insert(std::string(kIni) + ".new");
    EXPECT_FALSE(settings.Save());
    files.uncreatable.clear();
    files.replaceFails = true;
    EXPECT_FALSE(settings.Save());
    EXPECT_EQ(files.files[kIni], "RETRYCOUNT=7\r\n");
}

}  // namespace
}  // namespace tarnwick
