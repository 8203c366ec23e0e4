#include "watch/watch_cycle.h"

#include <gtest/gtest.h>

#include "tests/support/fake_system.h"
#include "tests/support/registry_fixture.h"

namespace tarnwick {
namespace {

using testing::FakeSystem;

class FixedClock final : public Clock {
public:
    std::tm time = [] {
        std::tm t{};
        t.tm_year = 104;  // 2004-07-15 09:05:03
        t.tm_mon = 6;
        t.tm_mday = 15;
        t.tm_hour = 9;
        t.tm_min = 5;
        t.tm_sec = 3;
        return t;
    }();
    bool fails = false;
    bool LocalNow(std::tm& now) override {
        now = time;
        return !fails;
    }
};

class WatchTest : public testing::RegistryTest {
protected:
    WatchTest() : enumerator(system), cycle(registry, history, system, clock, settings) {}

    void Tick() { cycle.Tick(enumerator); }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (int i = 0; i < history.Count(); ++i) lines.push_back(history.Line(i));
        return lines;
    }

    FakeSystem system;
    FixedClock clock;
    MemoryHistory history;
    CProcessEnumerator enumerator;
    WatchCycle cycle;
};

TEST_F(WatchTest, BringsAWatchedProgramToItsClassOnceAndLogsIt) {
    registry.Add(Entry("Editor.exe", kHigh));
    system.Add(4, "C:\\Windows\\explorer.exe");
    system.Add(8, "C:\\Apps\\EDITOR.EXE");
    Tick();
    EXPECT_EQ(system.Process(8)->priority, 0x80u);
    EXPECT_EQ(system.Process(4)->priority, 0x20u);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"04/07/15 09:05:03 通常 → 高 Editor.exe"}));
    EXPECT_EQ(history.Line(0), "04/07/15 09:05:03 \x92\xCA\x8F\xED \x81\xA8 \x8D\x82 Editor.exe");
    EXPECT_EQ(rows.Text(0, kRunCountColumn), "1");
    Tick();  // already right: nothing more
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(registry.Programs().Find("EDITOR.EXE")->runCount, 1);
    EXPECT_EQ(system.openHandles, 0);
}

TEST_F(WatchTest, LeavesUnregisteredUnwatchedAndAlreadyRightProcessesAlone) {
    settings.m_addWatchMode = 0;
    registry.Add(Entry("idle.exe", kIdle));
    settings.m_addWatchMode = 1;
    registry.Add(Entry("normal.exe", kNormal));
    system.Add(4, "C:\\idle.exe");
    system.Add(8, "C:\\normal.exe");
    system.Add(12, "C:\\other.exe");
    system.Add(16, "C:\\hidden.exe").opensLeft = 0;  // reported with an empty name
    int opensBefore = system.opens;
    Tick();
    EXPECT_TRUE(system.sets.empty());
    EXPECT_EQ(history.Count(), 0);
    EXPECT_EQ(rows.Text(1, kRunCountColumn), "");
    EXPECT_EQ(system.opens - opensBefore, 4 + 1);  // the listing's opens and one for normal.exe
}

TEST_F(WatchTest, ActivePriorityFollowsTheForegroundAndEachSwitchCounts) {
    registry.Add(Entry("Editor.exe", kIdle, kHigh));
    system.Add(8, "C:\\Editor.exe");
    system.Add(12, "C:\\editor.exe");  // a second copy of the same program
    system.foreground = 8;
    Tick();
    EXPECT_EQ(system.Process(8)->priority, 0x80u);
    EXPECT_EQ(system.Process(12)->priority, 0x40u);
    EXPECT_EQ(registry.Programs().Find("EDITOR.EXE")->runCount, 2);
    system.foreground = 99;
    Tick();
    EXPECT_EQ(system.Process(8)->priority, 0x40u);
    system.foreground = 12;
    Tick();
    EXPECT_EQ(system.Process(12)->priority, 0x80u);
    EXPECT_EQ(rows.Text(0, kRunCountColumn), "4");
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "04/07/15 09:05:03 低 → 高 Editor.exe",
                           "04/07/15 09:05:03 高 → 低 Editor.exe",
                           "04/07/15 09:05:03 通常 → 低 Editor.exe",
                           "04/07/15 09:05:03 通常 → 高 Editor.exe",
                       }));
}

TEST_F(WatchTest, ForegroundWithoutActivePriorityKeepsTheSpecifiedClass) {
    registry.Add(Entry("a.exe", kIdle));
    system.Add(8, "C:\\a.exe");
    system.foreground = 8;
    Tick();
    EXPECT_EQ(system.Process(8)->priority, 0x40u);
}

TEST_F(WatchTest, RetriesThenTakesOffWatchAndSavesWithAutoSave) {
    settings.m_retryCount = 3;
    registry.Add(Entry("Locked.exe", kHigh));
    settings.m_autoSaveMode = 1;
    system.Add(8, "C:\\locked.exe").setRefused = true;
    for (int tick = 0; tick < 3; ++tick) Tick();
    EXPECT_EQ(registry.Programs().Find("LOCKED.EXE")->retriesLeft, 0);
    EXPECT_TRUE(rows.Checked(0));
    EXPECT_EQ(Saves(), 0);
    Tick();
    EXPECT_FALSE(rows.Checked(0));
    EXPECT_EQ(rows.Text(0, kWatchColumn), "しない");
    EXPECT_EQ(*registry.Programs().Find("LOCKED.EXE"), (ProgramState{0x80, 0, 0, 0, -1}));
    EXPECT_EQ(Saves(), 1);
    EXPECT_EQ(files.files[testing::kSavePath].substr(15, 13), "0,Locked.exe,");
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "04/07/15 09:05:03 Locked.exe にアクセス拒否されたため監視をはずしました。",
                           "04/07/15 09:05:03 Locked.exe にアクセス拒否されました。リトライします。",
                           "04/07/15 09:05:03 Locked.exe にアクセス拒否されました。リトライします。",
                           "04/07/15 09:05:03 Locked.exe にアクセス拒否されました。リトライします。",
                       }));
    Tick();  // off watch: nothing more
    EXPECT_EQ(history.Count(), 4);
    // Ticking the box again grants the retries afresh.
    rows.SetChecked(0, true);
    Tick();
    EXPECT_EQ(registry.Programs().Find("LOCKED.EXE")->retriesLeft, 2);
}

TEST_F(WatchTest, NoRetriesAndEveryKindOfRefusal) {
    settings.m_retryCount = 0;
    registry.Add(Entry("a.exe"));
    registry.Add(Entry("b.exe"));
    registry.Add(Entry("c.exe"));
    system.Add(4, "C:\\a.exe").opensLeft = 1;  // ends between the listing and the open
    system.Add(8, "C:\\b.exe").readRefused = true;
    system.Add(12, "C:\\c.exe").setRefused = true;
    Tick();
    EXPECT_FALSE(rows.Checked(0));
    EXPECT_FALSE(rows.Checked(1));
    EXPECT_FALSE(rows.Checked(2));
    EXPECT_EQ(history.Count(), 3);
    EXPECT_EQ(system.openHandles, 0);
}

TEST_F(WatchTest, RetriesBelongToTheProgramAndASuccessResetsThem) {
    settings.m_retryCount = 2;
    registry.Add(Entry("a.exe", kHigh));
    system.Add(4, "C:\\a.exe").setRefused = true;
    system.Add(8, "C:\\a.exe").setRefused = true;
    Tick();  // two processes: both retries used in one tick
    EXPECT_EQ(registry.Programs().Find("A.EXE")->retriesLeft, 0);
    system.Process(4)->setRefused = false;
    system.Process(8)->priority = 0x80;  // already right: a pending count stays
    Tick();
    EXPECT_EQ(system.Process(4)->priority, 0x80u);
    EXPECT_EQ(registry.Programs().Find("A.EXE")->retriesLeft, -1);
    EXPECT_TRUE(rows.Checked(0));
    system.Process(4)->priority = 0x20;
    system.Process(4)->setRefused = true;
    Tick();
    EXPECT_EQ(registry.Programs().Find("A.EXE")->retriesLeft, 1);
}

TEST_F(WatchTest, SixteenBitTasksAreSetOnTheirNtvdmHost) {
    system.is64Bit = false;
    CProcessEnumerator thirtyTwo(system);
    registry.Add(Entry("WORD.EXE", kHigh, kRealtime));
    system.Add(20, "C:\\WINNT\\system32\\NTVDM.EXE").tasks = {{0x1234, "C:\\OLD\\WORD.EXE"}};
    system.foreground = 20;
    cycle.Tick(thirtyTwo);
    EXPECT_EQ(system.Process(20)->priority, 0x100u);
    EXPECT_EQ(history.Line(0), "04/07/15 09:05:03 通常 → リアルタイム WORD.EXE");
}

TEST_F(WatchTest, LineWithoutARowOrATimeStamp) {
    registry.Add(Entry("a.exe", kHigh));
    rows.DeleteAll();  // an entry without a row: the count goes nowhere, the name is empty
    system.Add(4, "C:\\a.exe");
    clock.fails = true;
    Tick();
    EXPECT_EQ(history.Line(0), " 通常 → 高 ");
    EXPECT_EQ(registry.Programs().Find("A.EXE")->runCount, 1);
}

TEST(History, KeepsAtMost30001LinesNewestOnTop) {
    MemoryHistory history;
    for (int i = 0; i < 30001; ++i) AddHistoryLine(history, std::to_string(i));
    EXPECT_EQ(history.Count(), 30001);
    EXPECT_EQ(history.Line(30000), "0");
    AddHistoryLine(history, "new");
    EXPECT_EQ(history.Count(), 30001);
    EXPECT_EQ(history.Line(0), "new");
    EXPECT_EQ(history.Line(30000), "1");
}

}  // namespace
}  // namespace tarnwick
