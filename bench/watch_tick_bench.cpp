// One watch tick over a scripted system of 1000 processes with 200 registrations
// (each with further settings), 50 of them running, watched, already at their class
// and given their settings (the steady state), over
// each listing: the cost per listed process, the opens per tick, and for the query
// and the snapshot the program's own work per listed process: the tick less the
// scripted system's walk of the same listing (its query or snapshot and the
// conversion of every name), timed for as many rounds right after the ticks.
#include <benchmark/benchmark.h>

#include <time.h>

#include <vector>

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
    std::string InUserFormat(const std::tm&) override { return {}; }
};

constexpr int kProcesses = 1000;
constexpr int kRegistrations = 200;
constexpr int kRunningWatched = 50;

// <chrono> does not compile with the Shift_JIS execution character set (its "µs").
// CPU time of this thread, as the per-process figure is.
double Nanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// The scripted system's share of one tick of the listing.
std::size_t ScriptedWalk(testing::FakeSystem& system, WatchListing listing, std::vector<std::uint64_t>& buffer,
                         std::string& name) {
    std::size_t bytes = 0;
    if (listing == WatchListing::Query) {
        Dword needed = 0;
        system.QuerySystemInformation(kSystemProcessInformation, buffer.data(),
                                      static_cast<Dword>(buffer.size() * sizeof buffer[0]), &needed);
        for (auto* at = reinterpret_cast<const unsigned char*>(buffer.data());;) {
            const auto& record = *reinterpret_cast<const SystemProcessRecord*>(at);
            system.ToShiftJis(std::u16string_view(record.ImageName, record.ImageNameLength / 2), name);
            bytes += name.size();
            if (record.NextEntryOffset == 0) break;
            at += record.NextEntryOffset;
        }
        return bytes;
    }
    Handle snapshot = system.Snapshot();
    ProcessEntry32W entry{};
    entry.dwSize = sizeof entry;
    for (WinBool more = system.WideSnapshotEntry(snapshot, &entry, true); more;
         more = system.WideSnapshotEntry(snapshot, &entry, false)) {
        system.ToShiftJis(std::u16string_view(entry.szExeFile), name);
        bytes += name.size();
    }
    system.CloseHandle(snapshot);
    return bytes;
}

// The argument is the listing: 0 the query, 1 the snapshot, 2 process by process.
void WatchTick(benchmark::State& state) {
    const auto listing = static_cast<WatchListing>(state.range(0));
    testing::FakeSystem system;
    if (listing != WatchListing::Query) system.missingFunctions.insert("NtQuerySystemInformation");
    if (listing == WatchListing::ProcessByProcess) system.missingFunctions.insert("Process32FirstW");
    testing::MemoryFileSystem files;
    testing::RegistryWorld world("C:\\Tarnwick\\Tarnwick.exe", files);
    Registrations& registry = world.registry;
    for (int i = 0; i < kRegistrations; ++i) {
        ProgramEntryForm form;
        form.m_name = "Registered" + std::to_string(i) + ".exe";
        form.m_priority = kHigh;
        form.m_more = {IoPriority::Low, MemoryPriority::NotSet, 1, {}};  // applied once, then left alone
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
    if (cycle.Listing() != listing) state.SkipWithError("the wrong listing");
    cycle.Tick();  // the query's buffer grows to its size once, and the settings are applied
    history.Clear();

    const int opensBefore = system.opens;
    const double ticksStart = Nanoseconds();
    for (auto _ : state) cycle.Tick();
    const double tickNs = (Nanoseconds() - ticksStart) / static_cast<double>(state.iterations());
    if (history.Count() != 0) state.SkipWithError("the steady state changed a class");
    state.counters["per_process"] =
        benchmark::Counter(kProcesses, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["opens_per_tick"] = static_cast<double>(system.opens - opensBefore) / static_cast<double>(state.iterations());
    if (listing == WatchListing::ProcessByProcess) return;

    std::vector<std::uint64_t> buffer(1 << 16);
    std::string name;
    std::size_t bytes = 0;
    const double walkStart = Nanoseconds();
    for (benchmark::IterationCount i = 0; i < state.iterations(); ++i) bytes += ScriptedWalk(system, listing, buffer, name);
    const double walkNs = (Nanoseconds() - walkStart) / static_cast<double>(state.iterations());
    benchmark::DoNotOptimize(bytes);
    state.counters["own_ns_per_process"] = (tickNs - walkNs) / kProcesses;
}
BENCHMARK(WatchTick)->ArgName("listing")->Arg(0)->Arg(1)->Arg(2);

}  // namespace
}  // namespace tarnwick

BENCHMARK_MAIN();
