#include "watch/process_enumerator.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "tests/support/fake_system.h"

namespace tarnwick {
namespace {

using testing::FakeSystem;

using Report = std::tuple<Dword, Dword, std::string>;  // process id, task, name
using Reports = std::vector<Report>;

// What a listing reports (the names, or the full paths), its answer checked; the
// callback stops it after `stopAfter` reports.
Reports List(CProcessEnumerator& enumerator, bool fullPaths = false, WinBool answer = 1,
             std::size_t stopAfter = SIZE_MAX) {
    std::pair<Reports, std::size_t> recorder{{}, stopAfter};
    auto callback = [](Dword id, Dword task, const char* name, void* context) -> WinBool {
        auto& [reports, stop] = *static_cast<std::pair<Reports, std::size_t>*>(context);
        reports.emplace_back(id, task, name);
        return reports.size() < stop;
    };
    EXPECT_EQ(fullPaths ? enumerator.EnumFullPaths(callback, &recorder) : enumerator.EnumBaseNames(callback, &recorder),
              answer);
    return recorder.first;
}

// Every handle that a listing opens is closed.
class EnumeratorTest : public ::testing::Test {
protected:
    ~EnumeratorTest() override { EXPECT_EQ(system.openHandles, 0); }
    FakeSystem system;
};

// Names of processes that do open are the watch tests' part (process by process).
// Long names are cut without splitting a character: 表 straddles byte 259 of the
// first; 200 double-byte characters are 200 wide units but 400 bytes.
TEST_F(EnumeratorTest, NtNamesThatCannotBeReadAreEmptyLongOnesCutAndEachProcessOpensOncePerListing) {
    system.missingFunctions = {"GetModuleFileNameExW"};
    system.Add(4, "C:\\a.exe");
    system.Add(8, "C:\\x.exe").modulesListable = false;
    system.Add(12, "C:\\" + std::string(258, 'a') + "\x95\x5C.exe");
    std::string wide;
    for (int i = 0; i < 200; ++i) wide += "\x95\x5C";
    system.Add(16, "C:\\" + wide + ".exe");
    CProcessEnumerator enumerator(system);
    EXPECT_EQ(List(enumerator), (Reports{{4, 0, "a.exe"}, {8, 0, ""}, {12, 0, std::string(258, 'a')},
                                         {16, 0, wide.substr(0, 258)}}));
    EXPECT_EQ(List(enumerator, true), (Reports{{4, 0, ""}, {8, 0, ""}, {12, 0, ""}, {16, 0, ""}}));
    EXPECT_EQ(system.opens, 8);
}

TEST_F(EnumeratorTest, NtvdmTasksFollowTheirHostAndCanStopTheListing) {
    system.is64Bit = false;
    system.Add(20, "C:\\WINNT\\system32\\ntvdm.exe").tasks = {{0x1111, "C:\\OLD\\WORD.EXE"},
                                                               {0x2222, "C:\\OLD\\\x95\x5C\\CALC.EXE"}};
    system.Add(24, "C:\\after.exe");
    CProcessEnumerator enumerator(system);
    EXPECT_EQ(List(enumerator), (Reports{{20, 0, "ntvdm.exe"}, {20, 0x1111, "WORD.EXE"}, {20, 0x2222, "CALC.EXE"},
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
    EXPECT_EQ(std::get<2>(List(enumerator).back()), "p1000.exe");
    EXPECT_EQ(List(enumerator, false, 1, 3).size(), 3u);
}

// The snapshot's path is cut at byte 259: the part before the dot is cut to 255.
TEST_F(EnumeratorTest, Windows9xSnapshot) {
    system.version = OsVersion{4, 10, 2222, kPlatformWindows};
    system.Add(0xFFF1, "C:\\WINDOWS\\EXPLORER.EXE");
    system.Add(0xFFF2, "C:\\WINDOWS\\KERNEL32.DLL").opensLeft = 0;
    system.Add(0xFFF3, "C:\\APPS\\EDIT");
    system.Add(0xFFF4, "C:\\" + std::string(258, 'a') + "\x95\x5C.exe");
    CProcessEnumerator enumerator(system);
    EXPECT_EQ(List(enumerator), (Reports{{0xFFF1, 0, "EXPLORER.EXE"}, {0xFFF2, 0, ""}, {0xFFF3, 0, "EDIT"},
                                         {0xFFF4, 0, std::string(255, 'a')}}));
    EXPECT_EQ(std::get<2>(List(enumerator, true)[0]), "C:\\WINDOWS\\EXPLORER.EXE");
    EXPECT_EQ(List(enumerator, false, 1, 2).size(), 2u);
    system.processes.clear();
    EXPECT_TRUE(List(enumerator).empty());
    system.listingFails = true;
    EXPECT_TRUE(List(enumerator, false, 0).empty());
}

TEST_F(EnumeratorTest, AvailabilityOnEachSystemAndAListingThatFails) {
    using Names = std::set<std::string>;
    const OsVersion nt{5, 0, 2195, kPlatformNt}, nine{4, 10, 2222, kPlatformWindows};
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
        std::tie(fake.version, fake.is64Bit, fake.missingLibraries, fake.missingFunctions) =
            std::tie(version, is64Bit, libraries, functions);
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
