// Under Wine: the watch tick over 48 running processes, 4 of them registered,
// watched and at their class (the steady state), run alternately in one process
// against the process-by-process listing's tick and against the floor that any
// tick must pay: one process snapshot, and for each watched process one open with
// full access and one read of its class. Prints each and the ratios.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <functional>
#include <set>
#include <vector>

#include "tests/wine/watch_world.h"
#include "tests/wine/wine_support.h"

using namespace tarnwick;

namespace {

constexpr int kWatched = 4;
constexpr int kListed = 48;
constexpr int kRounds = 300;

// The floor: the snapshot walk and, for the watched processes only, open and read.
void FloorTick(const std::set<DWORD>& watched) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (!watched.count(entry.th32ProcessID)) continue;
        if (HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, entry.th32ProcessID)) {
            GetPriorityClass(process);
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
}

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
    std::set<DWORD> watched;
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
            watched.insert(targets.back().Id());
        }
    }
    wine::RealApi byProcess;
    byProcess.hideSnapshot = true;
    WatchCycle specified(world.registry, world.history, byProcess, world.clock, world.settings, world.enumerator);
    if (!world.cycle.ListsFromSnapshot() || specified.ListsFromSnapshot()) {
        std::printf("the listings are not the ones to compare\n");
        return 1;
    }

    const std::vector<std::function<void()>> runs = {[&] { world.cycle.Tick(); }, [&] { specified.Tick(); },
                                                     [&] { FloorTick(watched); }};
    std::vector<double> seconds(runs.size(), 0.0);
    for (int round = 0; round < kRounds; ++round) {
        // Rotate which goes first, so that none always runs on a warm cache.
        for (std::size_t k = 0; k < runs.size(); ++k) {
            const std::size_t which = (round + k) % runs.size();
            seconds[which] += Seconds(runs[which]);
        }
    }
    auto perTick = [](double total) { return total / kRounds * 1e6; };
    std::printf("processes listed: %d, watched and running: %d, rounds: %d\n", CountListed(world), kWatched, kRounds);
    std::printf("snapshot tick:               %8.1f us\n", perTick(seconds[0]));
    std::printf("process-by-process tick:     %8.1f us\n", perTick(seconds[1]));
    std::printf("floor (snapshot + watched):  %8.1f us\n", perTick(seconds[2]));
    std::printf("process-by-process / snapshot: %.2f (at least 5 wanted)\n", seconds[1] / seconds[0]);
    std::printf("snapshot / floor:              %.3f (at most 1.2 wanted)\n", seconds[0] / seconds[2]);
    std::printf("history lines written: %d (0 expected in the steady state)\n", world.history.Count());
    return world.history.Count() == 0 ? 0 : 1;
}
