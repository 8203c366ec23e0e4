#include "watch/process_enumerator.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/support/fake_system.h"

namespace tarnwick {
namespace {

using testing::FakeSystem;

struct Report {
    Dword id;
    Dword task;
    std::string name;
    bool operator==(const Report&) const = default;
};

using Reports = std::vector<Report>;

// What a listing reports (the names, or the full paths), its answer checked; the
// callback stops it after `stopAfter` reports.
Reports List(CProcessEnumerator& enumerator, bool fullPaths = false, WinBool answer = 1,
             std::size_t stopAfter = SIZE_MAX) {
    struct Recorder {
        Reports reports;
        std::size_t stopAfter;
    } recorder{{}, stopAfter};
    auto callback = [](Dword id, Dword task, const char* name, void* context) -> WinBool {
        auto& self = *static_cast<Recorder*>(context);
        self.reports.push_back({id, task, name});
        return self.reports.size() < self.stopAfter;
    };
    EXPECT_EQ(fullPaths ? enumerator.EnumFullPaths(callback, &recorder) : enumerator.EnumBaseNames(callback, &recorder),
              answer);
    return recorder.reports;
}

class EnumeratorTest : public ::testing::Test {
protected:
    FakeSystem system;
};

// Names of processes that do open are the watch tests' part (process by process).
TEST_F(EnumeratorTest, NtNamesThatCannotBeReadAreEmptyAndEachProcessOpensOncePerListing) {
    system.missingFunctions = {"GetModuleFileNameExW"};
    system.Add(4, "C:\\a.exe");
    system.Add(8, "C:\\x.exe").modulesListable = false;
    CProcessEnumerator enumerator(system);
    EXPECT_EQ(List(enumerator), (Reports{{4, 0, "a.exe"}, {8, 0, ""}}));
    EXPECT_EQ(List(enumerator, true), (Reports{{4, 0, ""}, {8, 0, ""}}));
    EXPECT_EQ(system.opens, 4);
}

TEST_F(EnumeratorTest, NtvdmTasksFollowTheirHostAndCanStopTheListing) {
    system.is64Bit = false;
    system.Add(20, "C:\\WINNT\\system32\\ntvdm.exe").tasks = {{0x1111, "C:\\OLD\\WORD.EXE"},
                                                               {0x2222, "C:\\OLD\\\x95\x5C\\CALC.EXE"}};
    system.Add(24, "C:\\after.exe");
    CProcessEnumerator enumerator(system);
    EXPECT_EQ(List(enumerator), (Reports{{20, 0, "ntvdm.exe"},
                                                      {20, 0x1111, "WORD.EXE"},
                                                      {20, 0x2222, "CALC.EXE"},
                                                      {24, 0, "after.exe"}}));
    EXPECT_EQ(List(enumerator, false, 1, 2).size(), 2u);  // stopped at the first task
    // The full-path test is case-sensitive: a lower-case system path lists no tasks.
    EXPECT_EQ(List(enumerator, true).size(), 2u);
    system.Process(20)->path = "C:\\WINNT\\SYSTEM32\\NTVDM.EXE";
    EXPECT_EQ(List(enumerator, true)[2], (Report{20, 0x2222, "C:\\OLD\\\x95\x5C\\CALC.EXE"}));
}

TEST_F(EnumeratorTest, StopsOnTheCallbacksWordAndCapsAtAThousand) {
    for (Dword id = 1; id <= 1200; ++id) system.Add(id * 4, "C:\\p" + std::to_string(id) + ".exe");
    CProcessEnumerator enumerator(system);
    EXPECT_EQ(List(enumerator).back().name, "p1000.exe");
    EXPECT_EQ(List(enumerator, false, 1, 3).size(), 3u);
}

TEST_F(EnumeratorTest, LongNamesAreCutWithoutSplittingACharacter) {
    system.Add(4, "C:\\" + std::string(258, 'a') + "\x95\x5C.exe");  // 表 straddles byte 259
    system.version = OsVersion{4, 10, 2222, kPlatformWindows};
    CProcessEnumerator nine(system);
    EXPECT_EQ(List(nine)[0].name, std::string(255, 'a'));  // the part before the dot is cut to 255
    system.version = OsVersion{5, 1, 2600, kPlatformNt};
    CProcessEnumerator nt(system);
    EXPECT_EQ(List(nt)[0].name, std::string(258, 'a'));  // the 259th byte would split 表
    // 200 double-byte characters are 200 wide units but 400 bytes: cut to whole characters.
    std::string wideName;
    for (int i = 0; i < 200; ++i) wideName += "\x95\x5C";
    system.Add(12, "C:\\" + wideName + ".exe");
    EXPECT_EQ(List(nt)[1].name, wideName.substr(0, 258));
}

TEST_F(EnumeratorTest, Windows9xSnapshot) {
    system.version = OsVersion{4, 10, 2222, kPlatformWindows};
    system.Add(0xFFF1, "C:\\WINDOWS\\EXPLORER.EXE");
    system.Add(0xFFF2, "C:\\WINDOWS\\KERNEL32.DLL").opensLeft = 0;
    system.Add(0xFFF3, "C:\\APPS\\EDIT");
    CProcessEnumerator enumerator(system);
    EXPECT_EQ(List(enumerator), (Reports{{0xFFF1, 0, "EXPLORER.EXE"}, {0xFFF2, 0, ""}, {0xFFF3, 0, "EDIT"}}));
    EXPECT_EQ(List(enumerator, true)[0].name, "C:\\WINDOWS\\EXPLORER.EXE");
    EXPECT_EQ(system.openHandles, 0);
    system.processes.clear();
    EXPECT_TRUE(List(enumerator).empty());
    system.listingFails = true;
    EXPECT_TRUE(List(enumerator, false, 0).empty());
}

TEST_F(EnumeratorTest, AvailabilityOnEachSystemAndAListingThatFails) {
    using Names = std::set<std::string>;
    const OsVersion nt{5, 0, 2195, kPlatformNt};
    const OsVersion nine{4, 10, 2222, kPlatformWindows};
    // Complete systems are the other tests' (32-bit NT with its tasks, Windows 9x).
    // What, version, 64-bit, missing libraries, missing functions, unavailable.
    const std::tuple<const char*, std::optional<OsVersion>, bool, Names, Names, int> cases[] = {
        {"version fails", std::nullopt, false, {}, {}, 1},
        {"no PSAPI", nt, false, {"PSAPI.DLL"}, {}, 1},
        {"32-bit NT without VDMDBG", nt, false, {"VDMDBG.DLL"}, {}, 1},
        {"32-bit NT without the task function", nt, false, {}, {"VDMEnumTaskWOWEx"}, 1},
        {"64-bit NT, which has no 16-bit tasks", nt, true, {}, {}, 0},
        {"no EnumProcesses", nt, true, {}, {"EnumProcesses"}, 1},
        {"no EnumProcessModules", nt, true, {}, {"EnumProcessModules"}, 1},
        {"no GetModuleBaseNameW", nt, true, {}, {"GetModuleBaseNameW"}, 1},
        {"95/98/Me without Kernel32", nine, false, {"Kernel32.DLL"}, {}, 1},
        {"95/98/Me without Process32Next", nine, false, {}, {"Process32Next"}, 1},
        {"unknown platform", OsVersion{1, 0, 0, 3}, false, {}, {}, 0},
    };
    for (const auto& [what, version, is64Bit, libraries, functions, unavailable] : cases) {
        SCOPED_TRACE(what);
        FakeSystem fake;
        fake.version = version;
        fake.is64Bit = is64Bit;
        fake.missingLibraries = libraries;
        fake.missingFunctions = functions;
        fake.Add(4, "C:\\a.exe");
        {
            CProcessEnumerator enumerator(fake);
            EXPECT_EQ(enumerator.m_unavailable, unavailable);
            const bool lists = !unavailable && version->platformId != 3;
            EXPECT_EQ(List(enumerator, false, lists ? 1 : 0).size(), lists ? 1u : 0u);
            // The system's listing fails, or the version cannot be read any more: nothing.
            fake.listingFails = true;
            EXPECT_TRUE(List(enumerator, false, 0).empty());
            fake.listingFails = false;
            fake.version.reset();
            EXPECT_TRUE(List(enumerator, false, 0).empty());
        }
        // Every library loaded is released exactly once; VDMDBG is not loaded where no task can run.
        const std::multiset<std::string> loaded(fake.loaded.begin(), fake.loaded.end());
        EXPECT_FALSE(is64Bit && loaded.count("VDMDBG.DLL"));
        EXPECT_EQ(loaded, std::multiset<std::string>(fake.freed.begin(), fake.freed.end()));
    }
}

}  // namespace
}  // namespace tarnwick
