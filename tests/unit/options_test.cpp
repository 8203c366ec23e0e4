#include "core/options.h"

#include <gtest/gtest.h>

#include <map>

#include "core/shortcuts.h"
#include "tests/support/fakes.h"

namespace tarnwick {
namespace {

using testing::MemoryFileSystem;
using testing::ScriptedMessageBoxes;

constexpr OsVersion kWindows10{10, 0, 19045, kPlatformNt};
constexpr const char* kIniPath = "C:\\T\\Tarnwick.ini";

struct RecordedEffects final : OptionsEffects {
    std::vector<std::string> calls;
    void ReloadSaveFile() override { calls.push_back("reload"); }
    void SetTopmost(bool on) override { calls.push_back(on ? "topmost" : "not topmost"); }
    void UpdateShortcuts(bool desktop, bool startup) override {
        calls.push_back(std::string("shortcuts ") + (desktop ? "1" : "0") + (startup ? "1" : "0"));
    }
    void SetDebugPrivilege(bool on) override { calls.push_back(on ? "privilege on" : "privilege off"); }
};

class OptionsTest : public ::testing::Test {
protected:
    MemoryFileSystem files;
    AppSettings settings{"C:\\T\\Tarnwick.exe", files};
    ScriptedMessageBoxes boxes;
    RecordedEffects effects;
    OptionsForm form = OptionsFormFrom(settings, kWindows10);
};

TEST_F(OptionsTest, PagesOpenWithTheSettingsAndTheSystemsLimits) {
    EXPECT_TRUE(form.runPanelView && form.addWatchMode && !form.autoSaveMode);
    EXPECT_EQ(form.watchingCycleText, "500");
    EXPECT_EQ(form.retryCountText, "3");
    EXPECT_EQ(form.saveFilePath, "C:\\T\\Tarnwick.sav");
    EXPECT_TRUE(form.targetAllAppAvailable);
    settings.m_targetAllApp = 2;  // any non-zero number from the file counts as set
    EXPECT_TRUE(OptionsFormFrom(settings, {4, 0, 1381, kPlatformNt}).targetAllApp);
    const OptionsForm windows98 = OptionsFormFrom(settings, {4, 10, 2222, kPlatformWindows});
    EXPECT_FALSE(windows98.targetAllAppAvailable || windows98.targetAllApp);
    EXPECT_TRUE(AcceptOptions(settings, windows98, boxes, effects));
    EXPECT_EQ(settings.m_targetAllApp, 0);  // a disabled box counts as clear
}

TEST_F(OptionsTest, NumbersAreLimitedAsThePageSays) {
    struct Case {
        const char* cycle;
        const char* retries;
        int cycleStored;
        int retriesStored;
    };
    for (const Case& c : {Case{"100", "12", 500, 9}, Case{"99999", "-1", 60000, 0}, Case{"", "", 500, 0},
                          Case{"x1", "7x", 500, 7}, Case{"60000", "0", 60000, 0}}) {
        SCOPED_TRACE(std::string(c.cycle) + " / " + c.retries);
        form.watchingCycleText = c.cycle;
        form.retryCountText = c.retries;
        EXPECT_TRUE(AcceptOptions(settings, form, boxes, effects));
        EXPECT_EQ(settings.m_watchingCycleTime, c.cycleStored);
        EXPECT_EQ(settings.m_retryCount, c.retriesStored);
    }
}

TEST_F(OptionsTest, AcceptingWritesTheFileThenAppliesEveryEffectInOrder) {
    form.topmostWindow = true;
    form.desktopShortcut = true;
    form.targetAllApp = true;
    form.runPanelView = false;
    EXPECT_TRUE(AcceptOptions(settings, form, boxes, effects));
    EXPECT_TRUE(boxes.shown.empty());  // the same save file: no question
    EXPECT_EQ(effects.calls, (std::vector<std::string>{"topmost", "shortcuts 10", "privilege on"}));
    EXPECT_TRUE(files.Exists(kIniPath));
    // A save file name that differs only in letter case is another file: asked about.
    form.saveFilePath = "C:\\T\\tarnwick.sav";
    boxes.answers = {kIdYes};
    effects.calls.clear();
    EXPECT_TRUE(AcceptOptions(settings, form, boxes, effects));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].flags, kMbYesNoCancel | kMbIconQuestion);
    EXPECT_EQ(effects.calls.front(), "reload");
}

TEST_F(OptionsTest, AnUnwritableSettingsFileKeepsTheDialogOpenAndCancelRestores) {
    const OptionValues opened = TakeOptionValues(settings);
    files.uncreatable.insert(std::string(kIniPath) + ".new");
    form.saveFilePath = "D:\\other.sav";
    form.watchingCycleText = "2000";
    boxes.answers = {kIdNo, kIdOk};
    EXPECT_FALSE(AcceptOptions(settings, form, boxes, effects));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text,
              "オプションファイル(C:\\T\\Tarnwick.ini)のセーブに失敗しました。\nオプションは、実行プログラムの"
              "作業ディレクトリに書き込まれます。\n作業ディレクトリにファイルが書き込み可能であることを確認してください。");
    EXPECT_EQ(boxes.shown[1].caption, "セーブの失敗");
    EXPECT_EQ(boxes.shown[1].flags, kMbOk | kMbIconExclamation);
    EXPECT_TRUE(effects.calls.empty());
    EXPECT_EQ(settings.m_watchingCycleTime, 2000);  // copied before the write failed
    RestoreOptionValues(settings, opened);            // what Cancel then does
    EXPECT_EQ(settings.GetSaveFilePath(), "C:\\T\\Tarnwick.sav");
    EXPECT_EQ(settings.m_watchingCycleTime, 500);
}

class FakeLinks final : public ShellLinks {
public:
    std::map<ShortcutFolder, std::string> folders{{ShortcutFolder::Desktop, "C:\\U\\Desktop"},
                                                  {ShortcutFolder::Startup, "C:\\U\\Start\\"}};
    std::map<std::string, std::string> links;  // path: target | working directory
    bool createFails = false;
    int removals = 0;

    std::optional<std::string> FolderPath(ShortcutFolder folder) override {
        auto found = folders.find(folder);
        return found == folders.end() ? std::nullopt : std::optional(found->second);
    }
    bool Exists(const std::string& path) override { return links.count(path) > 0; }
    bool Remove(const std::string& path) override {
        ++removals;
        return links.erase(path) > 0;
    }
    bool Create(const std::string& link, const std::string& target, const std::string& directory) override {
        if (createFails) return false;
        links[link] = target + "|" + directory;
        return true;
    }
};

TEST(ShortcutsTest, CreatedOnceRemovedWhenClearedAndFailuresReported) {
    FakeLinks links;
    ScriptedMessageBoxes boxes;
    const std::string target = "C:\\\x83\x5C\x83\x74\x83\x67\\Tarnwick.exe";  // C:\ソフト\Tarnwick.exe
    UpdateShortcut(links, boxes, ShortcutFolder::Desktop, true, target);
    UpdateShortcut(links, boxes, ShortcutFolder::Startup, true, target);
    EXPECT_EQ(links.links["C:\\U\\Desktop\\Tarnwick.lnk"], target + "|C:\\\x83\x5C\x83\x74\x83\x67\\");
    EXPECT_TRUE(links.Exists("C:\\U\\Start\\Tarnwick.lnk"));
    // An existing shortcut stays as it is, wherever it points.
    links.links["C:\\U\\Desktop\\Tarnwick.lnk"] = "elsewhere";
    UpdateShortcut(links, boxes, ShortcutFolder::Desktop, true, target);
    EXPECT_EQ(links.links["C:\\U\\Desktop\\Tarnwick.lnk"], "elsewhere");
    UpdateShortcut(links, boxes, ShortcutFolder::Desktop, false, target);
    UpdateShortcut(links, boxes, ShortcutFolder::Desktop, false, target);  // nothing to remove: silent
    EXPECT_FALSE(links.Exists("C:\\U\\Desktop\\Tarnwick.lnk"));
    EXPECT_TRUE(boxes.shown.empty());

    links.createFails = true;
    UpdateShortcut(links, boxes, ShortcutFolder::Desktop, true, target);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "ショートカット作成失敗");
    EXPECT_EQ(boxes.shown[0].caption, "Tarnwick");
    EXPECT_EQ(boxes.shown[0].flags, kMbOk);

    // A folder that ends in ソ (second byte 0x5C) still gets its backslash; no folder, nothing done.
    links.createFails = false;
    links.folders[ShortcutFolder::Desktop] = "C:\\\x83\x5C";
    UpdateShortcut(links, boxes, ShortcutFolder::Desktop, true, target);
    EXPECT_TRUE(links.Exists("C:\\\x83\x5C\\Tarnwick.lnk"));
    links.folders.erase(ShortcutFolder::Startup);
    const int removals = links.removals;
    UpdateShortcut(links, boxes, ShortcutFolder::Startup, false, target);
    EXPECT_EQ(links.removals, removals);
}

}  // namespace
}  // namespace tarnwick
