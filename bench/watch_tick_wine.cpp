// Under Wine: the watch tick over 48 running processes, 4 of them registered,
// watched and at their class (the steady state), run alternately in one process
// with the snapshot listing's tick and with the bare process information query (one
// call into a kept buffer, nothing read from it) that the tick is built on. Prints
// each, the ratios and the opens of each tick.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "tests/wine/watch_world.h"
#include "tests/wine/wine_support.h"

using namespace tarnwick;

namespace {

constexpr int kWatched = 4;
constexpr int kListed = 48;
constexpr int kRounds = 300;

// The query alone, its buffer kept and grown as the listing keeps and grows its own.
class BareQuery {
public:
    BareQuery()
        : m_query(reinterpret_cast<NtQuerySystemInformationFn>(
              reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")))) {}
    bool Run() {
        for (;;) {
            Dword needed = 0;
            const auto bytes = static_cast<Dword>(m_buffer.size() * sizeof m_buffer[0]);
            const std::int32_t status = m_query(kSystemProcessInformation, m_buffer.data(), bytes, &needed);
            if (status != kStatusInfoLengthMismatch) return status >= 0;
            m_buffer.resize(needed / sizeof m_buffer[0] + 1024);
        }
    }

private:
    NtQuerySystemInformationFn m_query;
    std::vector<std::uint64_t> m_buffer = std::vector<std::uint64_t>(1024);
};

int CountListed(wine::WatchWorld& world) {
    int listed = 0;
    world.enumerator.EnumBaseNames([](Dword, Dword, const char*, void* count) -> WinBool {
        ++*static_cast<int*>(count);
        return 1;
    }, &listed);
    return listed;
}

double Seconds(const std::function<void()>& work) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
    wine::TempFolder folder(L"tarnwick-bench");
    wine::WatchWorld world(folder.Path());
    std::vector<wine::Started> targets;
    for (int i = 0; CountListed(world) < kListed; ++i) {
        const bool isWatched = i < kWatched;
        const std::wstring name = (isWatched ? L"Watched" : L"Bystander") + std::to_wstring(i) + L".exe";
        targets.emplace_back(wine::PlaceTarget(folder.Path(), L"t" + std::to_wstring(i), name), L"");
        if (!targets.back().Running()) {
            std::printf("could not start the target program %d\n", i);
            return 1;
        }
        if (isWatched) {
            ProgramEntryForm form;  // at the class they start with: the steady state
            form.m_name = Narrow(name);
            form.m_priority = kNormal;
            world.registry.Add(form);
        }
    }
    wine::RealApi snapshotApi;
    snapshotApi.listing = WatchListing::Snapshot;
    WatchCycle fromSnapshot(world.registry, world.history, snapshotApi, world.clock, world.settings, world.enumerator);
    BareQuery bare;
    if (world.cycle.Listing() != WatchListing::Query || fromSnapshot.Listing() != WatchListing::Snapshot || !bare.Run()) {
        std::printf("the listings are not the ones to compare\n");
        return 1;
    }

    const std::vector<std::function<void()>> runs = {[&] { world.cycle.Tick(); }, [&] { fromSnapshot.Tick(); },
                                                     [&] { bare.Run(); }};
    std::vector<double> seconds(runs.size(), 0.0);
    world.api.opens = snapshotApi.opens = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Rotate which goes first, so that none always runs on a warm cache.
        for (std::size_t k = 0; k < runs.size(); ++k) {
            const std::size_t which = (round + k) % runs.size();
            seconds[which] += Seconds(runs[which]);
        }
    }
    const int queryOpens = world.api.opens, snapshotOpens = snapshotApi.opens;
    auto perTick = [](double total) { return total / kRounds * 1e6; };
    std::printf("processes listed: %d, watched and running: %d, rounds: %d\n", CountListed(world), kWatched, kRounds);
    std::printf("query tick:        %8.1f us, %.2f opens a tick\n", perTick(seconds[0]),
                static_cast<double>(queryOpens) / kRounds);
    std::printf("snapshot tick:     %8.1f us, %.2f opens a tick\n", perTick(seconds[1]),
                static_cast<double>(snapshotOpens) / kRounds);
    std::printf("bare query:        %8.1f us\n", perTick(seconds[2]));
    std::printf("query tick / bare query:    %.3f (at most 1.2 wanted)\n", seconds[0] / seconds[2]);
    std::printf("snapshot tick / query tick: %.2f (at least 4 wanted)\n", seconds[1] / seconds[0]);
    std::printf("history lines written: %d (0 expected in the steady state)\n", world.history.Count());
    return world.history.Count() == 0 && queryOpens == 0 ? 0 : 1;
}
