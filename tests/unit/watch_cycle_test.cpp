#include "watch/watch_cycle.h"
#include "watch/foreground_follower.h"

#include <gtest/gtest.h>

#include "tests/support/fake_system.h"
#include "tests/support/registry_world.h"

namespace tarnwick {
namespace {

using testing::FakeSystem;

struct FixedClock final : Clock {
    bool fails = false;
    std::string userFormat;  // empty: the user's format cannot be had
    bool LocalNow(std::tm& now) override {
        now = {};
        strptime("2004-07-15 09:05:03", "%Y-%m-%d %H:%M:%S", &now);
        return !fails;
    }
    std::string InUserFormat(const std::tm& time) override { return time.tm_mday == 15 ? userFormat : "?"; }
};

// Every watch test runs over each listing: the query (with Windows' base priorities
// and with Wine's), the snapshot where the query is missing, and the process-by-process
// listing where the wide snapshot functions are missing too.
struct ListingCase { WatchListing listing; bool wineBasePriorities; const char* name; };
const ListingCase kListings[] = {
    {WatchListing::Query, false, "Query"},
    {WatchListing::Query, true, "QueryWithWineNumbers"},
    {WatchListing::Snapshot, false, "Snapshot"},
    {WatchListing::ProcessByProcess, false, "ProcessByProcess"},
};

// Every handle that a tick opens is closed. The system is 32-bit: NTVDM's tasks
// are listed too.
class WatchTest : public testing::RegistryFixture<::testing::Test>, public ::testing::WithParamInterface<ListingCase> {
protected:
    ~WatchTest() override { EXPECT_EQ(system.openHandles, 0); }
    WatchListing Listing() const { return GetParam().listing; }
    void Tick() { cycle.Tick(); }

    FakeSystem system;
    // What the system lacks chooses the listing, before the cycle looks.
    const bool scripted = [this] {
        system.is64Bit = false;
        system.wineBasePriorities = GetParam().wineBasePriorities;
        if (Listing() != WatchListing::Query) system.missingFunctions.insert("NtQuerySystemInformation");
        if (Listing() == WatchListing::ProcessByProcess) system.missingFunctions.insert("Process32FirstW");
        return true;
    }();
    FixedClock clock;
    MemoryHistory history;
    CProcessEnumerator enumerator{system};
    WatchCycle cycle{registry, history, system, clock, settings, enumerator};
};

// The query knows each of the six classes from the base priority and opens only
// a process that needs a change (or whose base priority is no class).
TEST_P(WatchTest, LeavesUnregisteredUnwatchedNamelessAndAlreadyRightProcessesAlone) {
    settings.m_addWatchMode = 0;
    registry.Add(Entry("idle.exe", kIdle));
    settings.m_addWatchMode = 1;
    registry.Add(Entry("", kHigh));  // a row without a name, which an empty save file makes
    system.Add(4, "C:\\idle.exe");
    system.Add(12, "C:\\other.exe");
    system.Add(16, "C:\\hidden.exe").opensLeft = 0;  // cannot be named or opened
    system.Add(20, "");  // no name, or one that does not convert
    const PriorityLevel classes[] = {kIdle, kBelowNormal, kNormal, kAboveNormal, kHigh, kRealtime};
    for (Dword i = 0; i < 6; ++i) {
        registry.Add(Entry("p" + std::to_string(i) + ".exe", classes[i]));
        system.Add(100 + 4 * i, "C:\\p" + std::to_string(i) + ".exe", classes[i]);
    }
    system.Add(124, "C:\\p2.exe", 0x12345);
    // Another user's session is not this program's business; services' (0) are.
    system.Add(128, "C:\\p2.exe", kHigh).session = 3;
    system.Add(132, "C:\\p2.exe", kHigh).session = 0;
    Tick();
    EXPECT_EQ(system.sets, (std::vector<std::pair<Dword, Dword>>{{124, kNormal}, {132, kNormal}}));
    // Where the listings differ: the snapshot opens every process of a watched program
    // in this session or the services'; the last listing opens every process to name
    // it, and those once more.
    const int opens[] = {2, 8, 13 + 8};  // by listing
    EXPECT_EQ(system.opens, opens[static_cast<int>(Listing())]);
    // Started at any class (the Task Scheduler's below normal), Windows' numbers are told from Wine's.
    for (const PriorityLevel own : {kBelowNormal, kIdle, kHigh}) {
        system.ownClass = own;
        EXPECT_EQ(WatchedProcessListing(system, enumerator).Kind(), Listing()) << own;
    }
}

// The foreground process of a program gets its active priority; each change counts.
// Switching windows runs ticks ahead of the timer; they visit only the programs with an
// active priority, and keep the notes of the others, whose one-time lines would
// otherwise come again on every switch. Without the privilege to raise scheduling
// priority, a set to realtime succeeds but gives high: what really happened is counted
// and logged once, and not tried again while the process keeps what the system granted.
TEST_P(WatchTest, ActivePriorityFollowsTheForegroundAndEachSwitchCounts) {
    system.realtimeGives = 0x80;
    registry.Add(Entry("Editor.exe", kIdle, kHigh));
    registry.Add(Entry("a.exe", kNormal));  // no active priority: the specified one in front too
    registry.Add(Entry("Game.exe", kRealtime));
    system.Add(8, "C:\\Editor.exe");
    system.Add(12, "C:\\editor.exe");  // a second copy of the same program
    system.Add(99, "C:\\a.exe", kIdle).readBackFails = true;  // its change then taken as granted
    system.Add(16, "C:\\Game.exe");
    system.foreground = 8;
    for (int tick = 0; tick < 10; ++tick) cycle.Tick(WatchCycle::Cause::Foreground);
    EXPECT_EQ(history.Count(), 2);
    Tick();
    cycle.Tick(WatchCycle::Cause::Foreground);
    Tick();
    system.foreground = 99;  // a.exe keeps its specified class in front
    Tick();
    system.foreground = 12;
    clock.fails = true;  // the line goes without its time stamp
    Tick();
    EXPECT_EQ(rows.Text(0, kRunCountColumn), "4");
    EXPECT_EQ(history.Lines(), (std::vector<std::string>{
                           " 低 → 高 Editor.exe",
                           "04/07/15 09:05:03 高 → 低 Editor.exe",
                           "04/07/15 09:05:03 Game.exe にリアルタイムは許可されず、高になりました。",
                           "04/07/15 09:05:03 通常 → 高 Game.exe",
                           "04/07/15 09:05:03 低 → 通常 a.exe",
                           "04/07/15 09:05:03 通常 → 低 Editor.exe",
                           "04/07/15 09:05:03 通常 → 高 Editor.exe",
                       }));
    // Game.exe, noted as given high, is set back while in efficiency mode: that is told.
    system.Process(16)->priority = 0x20;
    system.Process(16)->efficiencyMode = true;
    Tick();
    EXPECT_EQ(history.Line(0), " Game.exe は効率モードで実行されているため、優先度を変更しません。");
}

// A registration's further settings: applied once to each process, in the same open
// as its class and before it, never on a steady tick, again after an edit; a setting
// this system lacks is told once and not tried again; one refused is told once per
// process; the processors are cut to this machine's; "always off" takes the process out
// of efficiency mode and then sets its class.
TEST_P(WatchTest, FurtherSettingsAreAppliedOncePerProcess) {
    registry.Add(Entry("a.exe", kHigh));
    registry.MoreSettings().Set("A.EXE", {IoPriority::Low, MemoryPriority::NotSet, 0x101, EfficiencyMode::AlwaysOff});
    system.settingsMissing = {ProcessSetting::Io};
    system.Add(8, "C:\\a.exe").efficiencyMode = true;
    system.Add(12, "C:\\a.exe", 0x80).settingsRefused = true;
    for (int tick = 0; tick < 4; ++tick) Tick();
    EXPECT_EQ(system.Process(8)->settings,
              (decltype(testing::FakeProcess::settings){{ProcessSetting::Processors, 1}, {ProcessSetting::Efficiency, 0}}));
    EXPECT_EQ(history.Lines(), (std::vector<std::string>{
                                   "04/07/15 09:05:03 a.exe の CPU 0 は拒否されました。",
                                   "04/07/15 09:05:03 通常 → 高 a.exe",
                                   "04/07/15 09:05:03 CPU 0, 効率オフ a.exe",
                                   "04/07/15 09:05:03 a.exe の I/O 低 は、この Windows では設定できないため、以後は試みません。",
                               }));
    registry.MoreSettings().Set("A.EXE", {IoPriority::NotSet, MemoryPriority::Low, 0, {}});
    Tick();
    EXPECT_EQ(history.Count(), 5);  // no retry, still watched
}

TEST_P(WatchTest, RetriesThenTakesOffWatchAndSavesWithAutoSave) {
    settings.m_retryCount = 3;
    registry.Add(Entry("Locked.exe", kHigh));
    settings.m_autoSaveMode = 1;
    system.Add(8, "C:\\locked.exe").setRefused = true;
    for (int tick = 0; tick < 4; ++tick) Tick();
    EXPECT_EQ(*registry.Programs().Find("LOCKED.EXE"), (ProgramState{0x80, 0, 0, 0, -1}));
    EXPECT_EQ(Saves(), 1);  // unticked, which saves
    EXPECT_EQ(history.Lines(), (std::vector<std::string>{
                           "04/07/15 09:05:03 Locked.exe にアクセス拒否されたため監視をはずしました。",
                           "04/07/15 09:05:03 Locked.exe にアクセス拒否されました。リトライします。",
                           "04/07/15 09:05:03 Locked.exe にアクセス拒否されました。リトライします。",
                           "04/07/15 09:05:03 Locked.exe にアクセス拒否されました。リトライします。",
                       }));
    // Ticking the box again grants the retries afresh; a change that goes through ends them.
    rows.SetChecked(0, true);
    Tick();
    system.Process(8)->setRefused = false;
    Tick();
    EXPECT_EQ(registry.Programs().Find("LOCKED.EXE")->retriesLeft, -1);
}

TEST_P(WatchTest, ATickInsideATickEndsTheOuterListing) {
    // Taking a program off watch saves; a failed save shows a box, whose modal loop
    // lets the timer run the next tick inside this one. Meanwhile b.exe has ended and
    // its id belongs to another program: the outer listing, stale by then, must not
    // give that program b.exe's class, nor read the query's records, which the inner
    // tick has outgrown. The inner tick serves the later processes.
    settings.m_retryCount = 0;
    registry.Add(Entry("refused.exe"));
    registry.Add(Entry("b.exe"));
    registry.Add(Entry("c.exe"));
    settings.m_autoSaveMode = 1;
    files.uncreatable.insert(std::string(testing::kSavePath) + ".new");
    system.Add(4, "C:\\refused.exe").setRefused = true;
    system.Add(12, "C:\\b.exe");
    system.Add(16, "C:\\c.exe");
    boxes.whileShown = [this] {
        system.Process(12)->path = "C:\\other.exe";
        for (Dword id = 100; id < 800; ++id) system.Add(4 * id, "C:\\started.exe");
        Tick();
    };
    Tick();
    EXPECT_EQ(history.Count(), 2);  // refused.exe taken off watch once, c.exe changed
    EXPECT_EQ(system.Process(12)->priority, 0x20u);
}

TEST_P(WatchTest, SixteenBitTasksAreSetOnTheirNtvdmHost) {
    registry.Add(Entry("WORD.EXE", kHigh, kRealtime));
    system.Add(20, "C:\\WINNT\\system32\\NTVDM.EXE").tasks = {{0x1230, "C:\\OLD\\CALC.EXE"},  // not registered
                                                               {0x1234, "C:\\OLD\\WORD.EXE"}};
    system.Add(24, "C:\\WINNT\\system32\\ntvdm.exe").tasks = {{0x1234, "C:\\OLD\\WORD.EXE"}};
    system.processes.back().opensLeft = 0;  // a host that does not open lists no tasks
    system.foreground = 20;
    Tick();
    EXPECT_EQ(history.Lines(), (std::vector<std::string>{"04/07/15 09:05:03 通常 → リアルタイム WORD.EXE"}));
    // In English the time as the user's Windows writes it.
    const testing::InEnglish english;
    clock.userFormat = "7/15/2004 9:05:03 AM";
    EXPECT_EQ(TimeStamp(clock), clock.userFormat);
}

// A process that runs with higher rights cannot be opened for the change, and one
// whose handle's rights a driver strips cannot be read or set: no retry is spent. One
// in efficiency mode is left at its class on purpose. Each is told once per process,
// and the program stays watched for its other copies. Where the listing knows a
// process's creation time, one known unchangeable is not opened again while it runs,
// and a later process that gets its id is not taken for it. The scripted system
// grants no more than the rights to read and set the class.
TEST_P(WatchTest, ProcessesLeftAsTheyAreAreToldOnceAndLeftWatched) {
    const bool named = Listing() != WatchListing::ProcessByProcess;
    if (named) system.grantedRights = kProcessQueryLimitedInformation | kProcessSetInformation;
    settings.m_retryCount = 0;
    registry.Add(Entry("Admin.exe", kHigh));
    system.Add(4, "C:\\Admin.exe").elevated = true;
    system.Add(8, "C:\\Admin.exe");
    system.Add(12, "C:\\Admin.exe").setDenied = true;  // each denied, its rights stripped
    system.Add(16, "C:\\Admin.exe").readDenied = true;
    system.Add(20, "C:\\Admin.exe", kIdle).efficiencyMode = true;
    Tick();
    const int opened = system.opens;
    for (int tick = 0; tick < 4; ++tick) Tick();
    const std::string told = "04/07/15 09:05:03 Admin.exe は Tarnwick より高い権限で実行されているため、優先度を変更できません。";
    const std::string changed = "04/07/15 09:05:03 通常 → 高 Admin.exe";
    const std::string efficient = "04/07/15 09:05:03 Admin.exe は効率モードで実行されているため、優先度を変更しません。";
    // The process-by-process listing cannot even name the one run as administrator.
    std::vector<std::string> expected{efficient, told, told, changed};
    if (named) expected.push_back(told);
    EXPECT_EQ(history.Lines(), expected);
    // Only the one in efficiency mode, which may leave it, is opened on each tick.
    if (Listing() == WatchListing::Query) { EXPECT_EQ(system.opens - opened, 4); }
    system.processes.erase(system.processes.begin());  // ends; a copy that opens gets its id
    system.Add(4, "C:\\Admin.exe");
    Tick();
    for (int copy = 0; copy < 2; ++copy) {  // gone for a tick, its id goes to another such copy: told again
        system.Add(24, "C:\\Admin.exe").elevated = true;
        Tick();
        system.processes.pop_back();
        Tick();
    }
    EXPECT_EQ(history.Count(), static_cast<int>(expected.size()) + (named ? 3 : 1));
    // The debug privilege gained: each one noted as unchangeable is tried, and told, once more.
    const int opens = system.opens;
    cycle.TryRefusedAgain();
    Tick();
    EXPECT_TRUE(Listing() != WatchListing::Query || system.opens - opens == 3);
}

INSTANTIATE_TEST_SUITE_P(EveryListing, WatchTest, ::testing::ValuesIn(kListings),
                         [](const ::testing::TestParamInfo<ListingCase>& info) { return info.param.name; });

TEST(ForegroundFollower, TicksWhenTheForegroundPassesToAnotherProcessButNotTooOften) {
    using Decision = ForegroundFollower::Decision;
    ForegroundFollower follower;
    EXPECT_EQ(follower.ForegroundSeen(8, 0), Decision{});  // the start: nothing has changed
    EXPECT_EQ(follower.ForegroundSeen(8, 10), Decision{});
    EXPECT_EQ(follower.ForegroundSeen(12, 20), (Decision{true, 0}));  // no tick yet: at once
    follower.Ticked(1000);
    EXPECT_EQ(follower.ForegroundSeen(0, 1020), (Decision{true, 30}));  // to no window counts too
}

TEST(History, KeepsAtMost30001LinesNewestOnTop) {
    MemoryHistory history;
    for (int i = 0; i < 30001; ++i) AddHistoryLine(history, std::to_string(i));
    AddHistoryLine(history, "new");
    EXPECT_EQ(history.Count(), 30001);
    EXPECT_EQ(history.Line(0), "new");
}

}  // namespace
}  // namespace tarnwick
