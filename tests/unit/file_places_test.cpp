#include "core/file_places.h"

#include <gtest/gtest.h>

#include "core/debug_privilege.h"
#include "core/mbcs.h"
#include "core/settings.h"
#include "tests/support/fakes.h"

namespace tarnwick {
namespace {

using testing::MemoryFileSystem;
using testing::ScriptedMessageBoxes;

constexpr const char* kUserFolder = "C:\\Users\\Bob\\AppData\\Roaming\\Tarnwick";

struct ScriptedFolders final : SystemFolders {
    std::optional<std::string> perUser = kUserFolder;
    std::vector<std::string> temporary{"C:\\Users\\Administrator\\AppData\\Local\\Temp\\",
                                       "C:\\Users\\ADMINI~1\\AppData\\Local\\Temp\\"};
    std::vector<std::string> made;
    bool refusedToOrdinary = false;
    std::optional<std::string> PerUserFolder() override { return perUser; }
    std::vector<std::string> TemporaryFolders() override { return temporary; }
    bool MakeFolder(const std::string& path) override { return made.push_back(path), true; }
    bool RefusedToOrdinaryStart(const std::string&) override { return refusedToOrdinary; }
};

TEST(FilePlacesTest, BesideTheProgramOnlyWhereItCanWriteAndIsNoTemporaryFolder) {
    // folderWritable: what a probe with the start's own rights finds; refused: what
    // an elevated start reads in the folder's security for its ordinary twin.
    struct Case {
        const char *title, *program;
        bool folderWritable, refused, perUserKnown;
        const char* filesFolder;
        bool temporary;
    };
    const std::string user = std::string(kUserFolder) + "\\";
    for (const Case& c : {
             Case{"inside a zip, short names", "C:\\Users\\ADMINI~1\\AppData\\Local\\Temp\\Temp1_t.zip\\Tarnwick.exe",
                  true, false, true, user.c_str(), true},
             Case{"inside a zip, other case", "c:\\users\\administrator\\appdata\\local\\temp\\7z1\\Tarnwick.exe", true,
                  false, true, user.c_str(), true},
             Case{"a name that only begins like Temp", "C:\\Users\\Administrator\\AppData\\Local\\Temporary\\Tarnwick.exe",
                  true, false, true, "C:\\Users\\Administrator\\AppData\\Local\\Temporary\\", false},
             Case{"no user folder either", "C:\\Program Files\\T\\Tarnwick.exe", false, false, false,
                  "C:\\Program Files\\T\\", false},
             Case{"elevated, where the ordinary start is refused", "C:\\Program Files\\T\\Tarnwick.exe", true, true,
                  true, user.c_str(), false},
             Case{"allowed, but nothing can be written (read-only medium)", "D:\\Tools\\Tarnwick.exe", false, false,
                  true, user.c_str(), false},
         }) {
        SCOPED_TRACE(c.title);
        MemoryFileSystem files;
        ScriptedFolders folders;
        folders.refusedToOrdinary = c.refused;
        if (!c.perUserKnown) folders.perUser.reset();
        if (!c.folderWritable) files.uncreatable.insert(JoinPath(FolderOf(c.program), "Tarnwick-write-test.tmp"));
        const FilePlaces places = ChooseFilePlaces(c.program, folders, files);
        EXPECT_EQ(places.filesFolder, c.filesFolder);
        EXPECT_EQ(places.inTemporaryFolder, c.temporary);
        EXPECT_EQ(folders.made.size(), places.filesFolder == user ? 1u : 0u);
        EXPECT_TRUE(files.files.empty());  // the probe leaves nothing behind
    }
}

TEST(FilePlacesTest, SaveFileInTheFilesFolderIsStoredByNameAndFoundWhereTheFolderIs) {
    // writtenAt and readAt: the program file when the settings were written and read;
    // moved: the files were read from the user's folder instead of the program's.
    struct Case { const char *title, *writtenAt, *saveFile, *stored, *readAt, *readBack; bool moved; };
    const std::string moved = std::string(kUserFolder) + "\\T.sav";
    for (const Case& c : {
             Case{"another folder keeps its full path", "C:\\Old\\Tarnwick.exe", "D:\\Data\\T.sav", "D:\\Data\\T.sav",
                  "E:\\New\\Tarnwick.exe", "D:\\Data\\T.sav", false},
             Case{"a folder with 表 (second byte 0x5C)", "C:\\\x95\x5C\\Tarnwick.exe", "C:\\\x95\x5C\\T.sav", "T.sav",
                  "C:\\\x95\x5C\\Tarnwick.exe", "C:\\\x95\x5C\\T.sav", false},
             Case{"the program's folder goes along to the user's", "C:\\Old\\Tarnwick.exe", "C:\\T\\T.sav",
                  "C:\\T\\T.sav", "C:\\T\\Tarnwick.exe", moved.c_str(), true},
             Case{"another folder stays where it is", "C:\\Old\\Tarnwick.exe", "D:\\Data\\T.sav", "D:\\Data\\T.sav",
                  "C:\\T\\Tarnwick.exe", "D:\\Data\\T.sav", true},
         }) {
        SCOPED_TRACE(c.title);
        MemoryFileSystem files;
        AppSettings written(c.writtenAt, files);
        written.SetSaveFilePath(c.saveFile);
        ASSERT_TRUE(written.Save());
        EXPECT_NE(files.files[written.GetSettingsFilePath()].find(std::string("SAVEFILENAME=") + c.stored + "\r\n"),
                  std::string::npos);
        AppSettings read(c.readAt, files);
        if (c.moved) read.UseFilePlaces({FolderOf(c.readAt), std::string(kUserFolder) + "\\"});
        files.files[read.GetSettingsFilePath()] = files.files[written.GetSettingsFilePath()];
        read.Load();
        EXPECT_EQ(read.GetSaveFilePath(), c.readBack);
    }
}

struct ScriptedToken final : PrivilegeToken {
    bool granted = false;
    bool Switch(bool) override { return granted; }
};

TEST(DebugPrivilegeTest, ARefusalIsToldOnceEachTimeTheOptionIsSwitchedOn) {
    ScriptedToken token;
    ScriptedMessageBoxes boxes;
    DebugPrivilege privilege(token, boxes);
    // At start, OK with it on, switched off, switched on again: the messages so far.
    const std::pair<bool, std::size_t> steps[] = {{true, 1}, {true, 1}, {false, 1}, {true, 2}};
    for (const auto& [wanted, told] : steps) {
        EXPECT_FALSE(privilege.Apply(wanted));
        EXPECT_EQ(boxes.shown.size(), told);
    }
    // Gained only when switched on and granted: the watch then tries refused processes again.
    token.granted = true;
    EXPECT_FALSE(privilege.Apply(false));
    EXPECT_TRUE(privilege.Apply(true));
    EXPECT_FALSE(privilege.Apply(true));
    EXPECT_EQ(boxes.shown.size(), 2u);
}

}  // namespace
}  // namespace tarnwick
