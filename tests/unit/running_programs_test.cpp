#include "watch/running_programs.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/support/fake_system.h"

namespace tarnwick {
namespace {

using testing::FakeSystem;

// Version information by path: one translation and the description under its query,
// then a translation without a description, which leaves the one found.
struct FakeVersion final : VersionInfo {
    FakeVersion(Translation translation, std::string query, std::string text)
        : translation(translation), query(std::move(query)), text(std::move(text)) {}
    std::optional<std::vector<Translation>> Translations() const override { return {{translation, {0, 0}}}; }
    std::string Value(const std::string& asked) const override { return asked == query ? text : ""; }
    Translation translation;
    std::string query, text;
};

struct FakeVersionFiles final : VersionFiles {
    std::map<std::string, FakeVersion> files;
    std::uint32_t InfoSize(const std::string& path) override { return files.count(path) ? 100 : 0; }
    std::unique_ptr<VersionInfo> Read(const std::string& path, std::uint32_t) override {
        return std::make_unique<FakeVersion>(files.at(path));  // asked only after InfoSize found it
    }
};

constexpr const char* kJapanese = "\\StringFileInfo\\041103a4\\FileDescription";
constexpr const char* kEnglish = "\\StringFileInfo\\040904b0\\FileDescription";

class RunningProgramsTest : public ::testing::Test {
protected:
    RunningProgramsTest() {
        versions.files.emplace("C:\\Apps\\Editor.exe", FakeVersion{{0x411, 0x3a4}, kJapanese, "エディタ"});
        versions.files.emplace("WORD.EXE", FakeVersion{{0x409, 0x4b0}, kEnglish, "Word"});  // found by the bare name
    }

    // Each program listed, as "name|description|class". The listing closes every
    // handle and releases every library that it loaded; the enumerator keeps its own.
    std::vector<std::string> Listed() {
        CProcessEnumerator enumerator(system);
        const std::size_t enumeratorLoads = system.loaded.size();
        std::vector<std::string> rows;
        for (const RunningProgram& p : ListRunningPrograms(enumerator, system, versions)) {
            rows.push_back(p.name + "|" + p.description + "|" + p.priority);
        }
        const std::multiset<std::string> listingLoads(system.loaded.begin() + enumeratorLoads, system.loaded.end());
        EXPECT_EQ(listingLoads, std::multiset<std::string>(system.freed.begin(), system.freed.end()));
        EXPECT_EQ(system.openHandles, 0);
        return rows;
    }

    FakeSystem system;
    FakeVersionFiles versions;
};

// Every running program, each process opened with the limited query right alone:
// the scripted system refuses any wider request, and a program run as administrator
// is listed too, by its snapshot name. The class comes from the system's query, which
// knows it also for a process that does not open at all.
TEST_F(RunningProgramsTest, ListsEveryProgramWithTheLeastRights) {
    system.is64Bit = false;
    system.grantedRights = kProcessQueryLimitedInformation | kProcessSetInformation;
    system.Add(0, "[System Process]");  // the idle process: no program
    system.Add(4, "C:\\Apps\\Editor.exe", 0x80);
    system.Add(8, "C:\\Apps\\Editor.exe", 0x4000);  // the same program twice: two rows
    system.Add(12, "C:\\Apps\\Admin.exe", 0x80).elevated = true;
    system.Add(20, "C:\\WINNT\\SYSTEM32\\NTVDM.EXE", 0x40).tasks = {{0x1111, "C:\\OLD\\WORD.EXE"}};
    system.Add(24, "C:\\Apps\\\x83\x5C\x83\x74\x83\x67.exe", 0x12345);  // ソフト.exe, an odd class
    system.Add(28, "C:\\Apps\\Protected.exe", 0x8000).opensLeft = 0;  // opens not even for a query
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Editor.exe|エディタ|高", "Editor.exe|エディタ|通常以下", "Admin.exe||高",
                                                  "NTVDM.EXE||低", "WORD.EXE|Word|低", "\x83\x5C\x83\x74\x83\x67.exe||低",
                                                  "Protected.exe||通常以上"}));
}

// Without the image path function, the process-by-process listing with full access
// remains: a process that refuses it is not listed. Without the query too, the class
// is read from the opened process.
TEST_F(RunningProgramsTest, OlderSystemsListOnlyWhatOpensWithFullAccess) {
    system.missingFunctions = {"QueryFullProcessImageNameW", "NtQuerySystemInformation"};
    system.Add(4, "C:\\Apps\\Editor.exe", 0x80);
    system.Add(12, "C:\\Apps\\Locked.exe").opensLeft = 1;  // named, but refuses the dialog's own open
    system.Add(16, "");                                     // no path: skipped
    system.Add(20, "C:\\Apps\\Last.exe", 0x40);           // the listing goes on past both
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Editor.exe|エディタ|高", "Last.exe||低"}));
}

}  // namespace
}  // namespace tarnwick
