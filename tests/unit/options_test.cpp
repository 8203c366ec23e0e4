// The options: the settings file's reading, the dialog's OK button and the shortcuts.
// Page contents, the settings file's bytes, effects, the save-file question and a
// failed write are driven end to end; these are the rules a real run cannot reach.
#include "core/options.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "core/shortcuts.h"
#include "tests/support/fakes.h"

namespace tarnwick {
namespace {

using namespace std::string_literals;
using testing::MemoryFileSystem;
using testing::ScriptedMessageBoxes;

constexpr const char* kProgram = "C:\\T\\Tarnwick.exe";
constexpr const char* kIni = "C:\\T\\Tarnwick.ini";
constexpr OsVersion kWindows10{10, 0, 19045, kPlatformNt};

struct RecordedEffects final : OptionsEffects {
    explicit RecordedEffects(const AppSettings& settings) : settings(settings) {}
    const AppSettings& settings;
    std::vector<std::string> calls;
    bool reloadConfirmed = true;
    void ReloadSaveFile() override { calls.push_back("reload"); }
    bool ConfirmReload() override {
        calls.push_back("asked, for " + settings.GetSaveFilePath());
        return reloadConfirmed;
    }
    void SetTopmost(bool on) override { calls.push_back(on ? "topmost" : "not topmost"); }
    void UpdateShortcuts(bool desktop, bool startup) override {
        calls.push_back("shortcuts "s + (desktop ? "1" : "0") + (startup ? "1" : "0"));
    }
    void SetDebugPrivilege(bool on) override { calls.push_back(on ? "privilege on" : "privilege off"); }
};

class OptionsTest : public ::testing::Test {
protected:
    // Read from files of its own: the dialog's settings file stays as they wrote it.
    AppSettings LoadFrom(const std::string& text) {
        readFiles.files[kIni] = text;
        AppSettings read(kProgram, readFiles);
        read.Load();
        return read;
    }
    MemoryFileSystem files, readFiles;
    AppSettings settings{kProgram, files};
    ScriptedMessageBoxes boxes;
    RecordedEffects effects{settings};
    OptionsForm form = OptionsFormFrom(settings, kWindows10);
};

// The number fields as the C library reads a number, then held within their
// limits: the same in the settings file and on the watch page.
TEST_F(OptionsTest, NumbersAreLimitedInTheFileAndOnThePage) {
    const std::tuple<std::string, std::string, std::pair<int, int>> cases[] = {  // cycle, retries: as stored
        {"100", "12", {500, 9}}, {"", "", {500, 0}}, {"x1", "7x", {500, 7}}, {"  +1500ms", "\t9", {1500, 9}},
        {"99999999999999999999", "-99999999999", {60000, 0}}, {"abc", "\0" "5"s, {500, 0}},
    };
    for (const auto& [cycle, retries, stored] : cases) {
        SCOPED_TRACE(cycle + " / " + retries);
        const AppSettings read = LoadFrom("WATCHINGCYCLETIME=" + cycle + "\r\nRETRYCOUNT=" + retries + "\r\n");
        EXPECT_EQ(std::pair(read.m_watchingCycleTime, read.m_retryCount), stored);
        form.watchingCycleText = cycle;
        form.retryCountText = retries;
        EXPECT_TRUE(AcceptOptions(settings, form, boxes, effects));
        EXPECT_EQ(std::pair(settings.m_watchingCycleTime, settings.m_retryCount), stored);
    }
}

// An option's value as read: the save file's path, or the number that Save writes.
std::string Value(const AppSettings& read, const std::string& key) {
    if (key == "SAVEFILENAME") return read.GetSaveFilePath();
    const std::string text = read.Format();
    const std::size_t at = text.find(key + "=") + key.size() + 1;
    return text.substr(at, text.find('\r', at) - at);
}

TEST_F(OptionsTest, TheFirstKeyInALineDecidesAndTheLastLineWins) {
    const std::tuple<const char*, std::string, std::string, std::string> cases[] = {  // title, text, key, value
        {"the misspelt key of older files", "AUTOLAODMODE=1\r\n", "AUTOLOADMODE", "1"},
        {"keys are case-sensitive", "runpanelview=0\r\n", "RUNPANELVIEW", "1"},
        {"a key anywhere in the line", "xxRUNPANELVIEWyy=0\r\n", "RUNPANELVIEW", "0"},
        {"no equals sign: the whole line is the value", "RUNPANELVIEW\r\n", "RUNPANELVIEW", "0"},
        {"beyond the smallest integer", "RUNPANELVIEW=-99999999999", "RUNPANELVIEW", "-2147483648"},
        {"RETRYCOUNT comes first in the search", "SAVEFILENAME=C:\\RETRYCOUNT\\x.sav\r\n", "RETRYCOUNT", "0"},
        {"the value follows the last equals sign", "SAVEFILENAME=D:\\a=b\\x.sav\r\n", "SAVEFILENAME", "b\\x.sav"},
        {"an empty path", "SAVEFILENAME=\r\n", "SAVEFILENAME", ""},
        {"a lone CR ends no line", "AUTOSAVEMODE=1\rADDWATCHMODE=0\n", "ADDWATCHMODE", "0"},
        {"a line of megabytes", std::string(4 << 20, '=') + "\r\nRETRYCOUNT=5", "RETRYCOUNT", "5"},
    };
    for (const auto& [title, text, key, value] : cases) {
        SCOPED_TRACE(title);
        EXPECT_EQ(Value(LoadFrom(text), key), value);
    }
}

// The files keep their fixed names beside a renamed program, whose shortcuts lead to it.
TEST_F(OptionsTest, PathsKeepTheFixedFileNamesAndDoubleByteFolders) {
    // "ソフト表示": two second bytes 0x5C inside the folder name.
    AppSettings renamed("D:\\\x83\x5C\x83\x74\x83\x67\x95\x5C\x8E\xA6\\renamed.exe", files);
    EXPECT_EQ(renamed.GetExeFilePath(), "D:\\\x83\x5C\x83\x74\x83\x67\x95\x5C\x8E\xA6\\renamed.exe");
    // 表 (0x95 0x5C) alone is no folder end.
    EXPECT_EQ(AppSettings("\x95\x5C", files).GetSaveFilePath(), "\\Tarnwick.sav");
}

// Switching the Startup shortcut on while auto-load is off offers auto-load: else the
// Tarnwick that the shortcut starts at logon would watch nothing.
TEST_F(OptionsTest, TheStartupShortcutSwitchedOnOffersAutoLoad) {
    const std::tuple<int, bool, bool, int, int> cases[] = {
        // shortcut before, after; auto-load on the page; the answer to a question; auto-load stored
        {0, true, false, kIdYes, 1}, {0, true, false, kIdNo, 0}, {1, true, false, kIdYes, 0},
        {0, true, true, kIdNo, 1},   {0, false, false, kIdYes, 0},
    };
    for (const auto& [before, after, autoLoad, answer, stored] : cases) {
        settings.m_startupShortcut = before;
        form.startupShortcut = after;
        form.autoLoadMode = autoLoad;
        boxes = {};
        boxes.answers = {answer};
        EXPECT_TRUE(AcceptOptions(settings, form, boxes, effects));
        EXPECT_EQ(LoadFrom(files.files[kIni]).m_autoLoadMode, stored);
    }
}

// Every switch from the settings to the form and back through OK into the file; a
// write that fails leaves the value that the file holds. The texts open as stored.
TEST_F(OptionsTest, EverySwitchGoesThroughTheFormAndBackIntoTheFile) {
    const std::tuple<const char*, bool OptionsForm::*, int AppSettings::*> switches[] = {
        {"RUNPANELVIEW", &OptionsForm::runPanelView, &AppSettings::m_runPanelView},
        {"TOPMOSTWINDOW", &OptionsForm::topmostWindow, &AppSettings::m_topmostWindow},
        {"DESKTOPSHORTCUT", &OptionsForm::desktopShortcut, &AppSettings::m_desktopShortcut},
        {"STARTUPSHORTCUT", &OptionsForm::startupShortcut, &AppSettings::m_startupShortcut},
        {"ADDWATCHMODE", &OptionsForm::addWatchMode, &AppSettings::m_addWatchMode},
        {"TARGETALLAPP", &OptionsForm::targetAllApp, &AppSettings::m_targetAllApp},
        {"AUTOSAVEMODE", &OptionsForm::autoSaveMode, &AppSettings::m_autoSaveMode},
        {"AUTOLOADMODE", &OptionsForm::autoLoadMode, &AppSettings::m_autoLoadMode},
    };
    for (const auto& [key, shown, stored] : switches) {
        for (const int value : {0, 2}) {  // any non-zero number from the file counts as set
            SCOPED_TRACE(key + " "s + std::to_string(value));
            const int flipped = value == 0 ? 1 : 0;
            settings.*stored = value;
            OptionsForm opened = OptionsFormFrom(settings, kWindows10);
            EXPECT_EQ(opened.*shown, value != 0);
            opened.*shown = flipped;
            ASSERT_TRUE(AcceptOptions(settings, opened, boxes, effects));
            EXPECT_EQ(LoadFrom(files.files[kIni]).*stored, flipped);
            opened.*shown = !flipped;
            files.uncreatable.insert(kIni + ".new"s);
            EXPECT_FALSE(AcceptOptions(settings, opened, boxes, effects));
            files.uncreatable.clear();
            EXPECT_EQ(settings.*stored, flipped);
        }
    }
    settings.m_watchingCycleTime = 1500;
    settings.m_retryCount = 7;
    settings.SetSaveFilePath("D:\\x.sav");
    const OptionsForm opened = OptionsFormFrom(settings, kWindows10);
    EXPECT_EQ(opened.watchingCycleText + "|" + opened.retryCountText + "|" + opened.saveFilePath, "1500|7|D:\\x.sav");
}

TEST_F(OptionsTest, TheDebugPrivilegeIsOfferedFromWindowsNt4) {
    settings.m_targetAllApp = 2;  // any non-zero number from the file counts as set
    EXPECT_TRUE(OptionsFormFrom(settings, {4, 0, 1381, kPlatformNt}).targetAllApp);
    const OptionsForm windows98 = OptionsFormFrom(settings, {4, 10, 2222, kPlatformWindows});
    EXPECT_TRUE(AcceptOptions(settings, windows98, boxes, effects));
    EXPECT_EQ(settings.m_targetAllApp, 0);  // a disabled box counts as clear
}

TEST_F(OptionsTest, AcceptingWritesTheFileThenAppliesEveryEffectInOrder) {
    form.topmostWindow = form.desktopShortcut = form.targetAllApp = true;
    EXPECT_TRUE(AcceptOptions(settings, form, boxes, effects));  // the same save file: no question
    EXPECT_EQ(effects.calls, (std::vector<std::string>{"topmost", "shortcuts 10", "privilege on"}));
    // A save file name that differs only in letter case is another file: asked about.
    // Cancel keeps the dialog open. Read it (Yes), but the settings file cannot be
    // written: nothing takes effect and every value goes back, so OK again asks again
    // and reads the new file.
    form.saveFilePath = "C:\\T\\tarnwick.sav";
    form.watchingCycleText = "2000";
    boxes.answers = {kIdCancel, kIdYes, kIdOk, kIdYes};
    effects.calls.clear();
    const std::string written = settings.Format();
    files.uncreatable.insert(kIni + ".new"s);
    EXPECT_FALSE(AcceptOptions(settings, form, boxes, effects) || AcceptOptions(settings, form, boxes, effects));
    EXPECT_EQ(settings.Format(), written);
    files.uncreatable.clear();
    EXPECT_TRUE(AcceptOptions(settings, form, boxes, effects));
    ASSERT_EQ(boxes.shown.size(), 4u);  // none at first; the question twice, the failure, the question again
    EXPECT_EQ(effects.calls.front(), "reload");
}

// Another copy of Tarnwick wrote the settings file since it was read here: OK asks
// first. Cancel keeps the dialog open and the file as it is; No takes the other
// copy's options into force and closes (their other save file is loaded once unsaved
// registrations have been asked about, and kept in their own file); Yes overwrites it.
TEST_F(OptionsTest, ASettingsFileChangedByAnotherIsAskedAbout) {
    settings.Load();  // there is none yet
    EXPECT_TRUE(settings.m_autoSaveMode && settings.m_autoLoadMode);  // a new user's: what was saved comes back
    const std::string theirs = "TOPMOSTWINDOW=1\r\nSAVEFILENAME=C:\\T\\other.sav\r\n";
    files.files[kIni] = theirs;
    form.watchingCycleText = "2000";
    boxes.answers = {kIdCancel, kIdNo};
    EXPECT_FALSE(AcceptOptions(settings, form, boxes, effects));
    EXPECT_TRUE(AcceptOptions(settings, form, boxes, effects));
    EXPECT_EQ(settings.GetSaveFilePath(), "C:\\T\\other.sav");
    EXPECT_EQ(effects.calls, (std::vector<std::string>{"asked, for C:\\T\\Tarnwick.sav", "reload", "topmost",
                                                       "privilege off"}));
    files.files[kIni] = "SAVEFILENAME=C:\\T\\third.sav\r\n";
    effects.calls.clear();
    effects.reloadConfirmed = false;  // Cancel: the registrations stay
    boxes.answers = {kIdNo};
    EXPECT_TRUE(AcceptOptions(settings, form, boxes, effects));
    EXPECT_EQ(effects.calls.at(1), "topmost");  // no reload
    files.files[kIni] += "RETRYCOUNT=5\r\n";
    boxes.answers = {kIdYes, kIdNo};  // overwrite; then the form's save file, carried over
    EXPECT_TRUE(AcceptOptions(settings, form, boxes, effects));
    EXPECT_EQ(settings.m_watchingCycleTime, 2000);
    files.files[kIni] += "RETRYCOUNT=4\r\n";
    settings.Load();  // read: OK no longer asks
    EXPECT_TRUE(AcceptOptions(settings, form, boxes, effects));
    EXPECT_EQ(boxes.shown.size(), 5u);
}

// The file dialog cannot be driven to a name code page 932 cannot hold: such a choice is refused with a box.
TEST_F(OptionsTest, AChosenPathCodePage932CannotHoldIsRefused) {
    form.saveFilePathHeld = false;  // typed, such a path keeps the dialog open and writes nothing
    EXPECT_FALSE(AcceptOptions(settings, form, boxes, effects));
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(files.Exists(kIni));
}

class FakeLinks final : public ShellLinks {
public:
    std::map<ShortcutFolder, std::string> folders{{ShortcutFolder::Desktop, "C:\\U\\Desktop\\"},
                                                  {ShortcutFolder::Startup, "C:\\U\\\x83\x5C"}};  // ends in ソ
    std::map<std::string, std::string> links;  // path: target | working directory
    bool createFails = false;

    std::optional<std::string> FolderPath(ShortcutFolder folder) override {
        auto found = folders.find(folder);
        return found == folders.end() ? std::nullopt : std::optional(found->second);
    }
    bool Exists(const std::string& path) override { return links.count(path) > 0; }
    bool Remove(const std::string& path) override { return links.erase(path) > 0; }
    bool Create(const std::string& link, const std::string& target, const std::string& directory) override {
        return !createFails && (links[link] = target + "|" + directory, true);
    }
};

// Creating and removing a shortcut with a real shell is driven end to end.
TEST(ShortcutsTest, AnExistingOneStaysAFailureIsReportedAndNoFolderMeansNothing) {
    FakeLinks links;
    ScriptedMessageBoxes boxes;
    const std::string target = "C:\\\x83\x5C\\Tarnwick.exe";  // C:\ソ\Tarnwick.exe
    UpdateShortcut(links, boxes, ShortcutFolder::Desktop, true, target);
    UpdateShortcut(links, boxes, ShortcutFolder::Startup, true, target);
    EXPECT_TRUE(links.Exists("C:\\U\\Desktop\\Tarnwick.lnk"));  // the folder's own backslash is not doubled
    EXPECT_EQ(links.links["C:\\U\\\x83\x5C\\Tarnwick.lnk"], target + "|C:\\\x83\x5C\\");
    links.links["C:\\U\\\x83\x5C\\Tarnwick.lnk"] = "elsewhere";  // wherever it points, it stays
    UpdateShortcut(links, boxes, ShortcutFolder::Startup, true, target);
    EXPECT_EQ(links.links["C:\\U\\\x83\x5C\\Tarnwick.lnk"], "elsewhere");
    UpdateShortcut(links, boxes, ShortcutFolder::Desktop, false, target);
    UpdateShortcut(links, boxes, ShortcutFolder::Desktop, false, target);  // nothing to remove: silent
    EXPECT_FALSE(links.Exists("C:\\U\\Desktop\\Tarnwick.lnk"));

    links.createFails = true;
    UpdateShortcut(links, boxes, ShortcutFolder::Desktop, true, target);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "ショートカット作成失敗");
    EXPECT_EQ(boxes.shown[0].flags, kMbOk);
    links.folders.clear();  // no folder: nothing is made or asked
    links.createFails = false;
    UpdateShortcut(links, boxes, ShortcutFolder::Desktop, true, target);
    EXPECT_EQ(links.links.size(), 1u);  // the Startup one alone
    EXPECT_EQ(boxes.shown.size(), 1u);
}

}  // namespace
}  // namespace tarnwick
