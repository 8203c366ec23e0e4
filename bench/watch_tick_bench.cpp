// One watch tick over a scripted system of 1000 processes with 200 registrations,
// 50 of them running, watched and already at their class (the steady state):
// the cost per listed process of the program's own work, over both listings.
#include <benchmark/benchmark.h>

#include "tests/support/fake_system.h"
#include "tests/support/registry_world.h"
#include "watch/watch_cycle.h"

namespace tarnwick {
namespace {

class NoClock final : public Clock {
public:
    bool LocalNow(std::tm& now) override {
        now = {};
        return true;
    }
};

constexpr int kProcesses = 1000;
constexpr int kRegistrations = 200;
constexpr int kRunningWatched = 50;

// Argument 1: the snapshot listing; 0: the process-by-process one.
void WatchTick(benchmark::State& state) {
    testing::FakeSystem system;
    if (state.range(0) == 0) system.missingFunctions = {"Process32FirstW"};
    testing::MemoryFileSystem files;
    testing::RegistryWorld world("C:\\Tarnwick\\Tarnwick.exe", files);
    Registrations& registry = world.registry;
    for (int i = 0; i < kRegistrations; ++i) {
        ProgramEntryForm form;
        form.m_name = "Registered" + std::to_string(i) + ".exe";
        form.m_priority = kHigh;
        registry.Add(form);
    }
    for (int i = 0; i < kProcesses; ++i) {
        const bool watched = i < kRunningWatched;
        const std::string name = watched ? "registered" + std::to_string(i) + ".exe" : "process" + std::to_string(i) + ".exe";
        system.Add(static_cast<Dword>(4 * (i + 1)), "C:\\Program Files\\Vendor\\" + name, watched ? 0x80 : 0x20);
    }
    MemoryHistory history;
    NoClock clock;
    CProcessEnumerator enumerator(system);
    WatchCycle cycle(registry, history, system, clock, world.settings, enumerator);
    if (cycle.ListsFromSnapshot() != (state.range(0) == 1)) state.SkipWithError("the wrong listing");
    for (auto _ : state) cycle.Tick();
    if (history.Count() != 0) state.SkipWithError("the steady state changed a class");
    state.counters["per_process"] =
        benchmark::Counter(kProcesses, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(WatchTick)->ArgName("snapshot")->Arg(1)->Arg(0);

// The scripted system's share of the snapshot tick: its snapshot walk and the
// conversion of each name, with nothing of the program's. The tick's own work
// per process is the snapshot tick's figure less this one.
void ScriptedSnapshotWalk(benchmark::State& state) {
    testing::FakeSystem system;
    for (int i = 0; i < kProcesses; ++i) {
        const std::string name = i < kRunningWatched ? "registered" + std::to_string(i) + ".exe"
                                                     : "process" + std::to_string(i) + ".exe";
        system.Add(static_cast<Dword>(4 * (i + 1)), "C:\\Program Files\\Vendor\\" + name);
    }
    std::string name;
    std::size_t bytes = 0;
    for (auto _ : state) {
        Handle snapshot = system.Snapshot();
        ProcessEntry32W entry{};
        entry.dwSize = sizeof entry;
        for (WinBool more = system.WideSnapshotEntry(snapshot, &entry, true); more;
             more = system.WideSnapshotEntry(snapshot, &entry, false)) {
            system.ToShiftJis(std::u16string_view(entry.szExeFile), name);
            bytes += name.size();
        }
        system.CloseHandle(snapshot);
    }
    benchmark::DoNotOptimize(bytes);
    state.counters["per_process"] =
        benchmark::Counter(kProcesses, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(ScriptedSnapshotWalk);

}  // namespace
}  // namespace tarnwick

BENCHMARK_MAIN();
