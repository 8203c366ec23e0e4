// Under Wine: the watch tick over 48 running processes, 4 of them registered (with
// further settings, applied once), watched and at their class (the steady state), run
// alternately in one process with the snapshot listing's tick, the process-by-process
// listing's tick and the bare process information query (one call into a kept buffer,
// nothing read from it) that the tick is built on. Prints each, the ratios, the opens
// of each tick, and what this process holds (handles, windows, committed bytes) before
// and after.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string_view>
#include <vector>

#include "app/process_api_win.h"
#include "tests/support/registry_world.h"
#include "tests/wine/wine_support.h"
#include "watch/watch_cycle.h"

using namespace tarnwick;

namespace {

// The real process functions, counting the opens. A watch cycle made while `listing`
// names a slower listing than the query lacks the functions of the faster ones and
// uses that listing.
class RealApi : public Win32ProcessApi {
public:
    WatchListing listing = WatchListing::Query;
    int opens = 0;
    void* FindFunction(ModuleHandle library, const char* name) override {
        const std::string_view function(name);
        const bool hidden = (listing != WatchListing::Query && function == "NtQuerySystemInformation") ||
                            (listing == WatchListing::ProcessByProcess && function == "Process32FirstW");
        return hidden ? nullptr : Win32ProcessApi::FindFunction(library, name);
    }
    Handle OpenProcess(Dword access, Dword processId) override {
        ++opens;
        return Win32ProcessApi::OpenProcess(access, processId);
    }
};

// The files come first: the registrations are built over them.
struct StdioFiles {
    StdioFileSystem files;
};

// The watching engine on the real system, without a window: registrations in
// memory over the real files, and a watch cycle of each listing made on demand.
struct WatchWorld : StdioFiles, testing::RegistryWorld {
    explicit WatchWorld(const std::wstring& folder) : RegistryWorld(Narrow(folder) + "\\Tarnwick.exe", files) {}
    // The process functions and the enumerator of one listing, with their own opens.
    struct Listing {
        explicit Listing(WatchListing kind) { api.listing = kind; }
        RealApi api;
        CProcessEnumerator enumerator{api};
    };
    WatchCycle Cycle(Listing& listing) {
        return WatchCycle(registry, history, listing.api, clock, settings, listing.enumerator);
    }
    MemoryHistory history;
    SystemClock clock;
};

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

int CountListed(CProcessEnumerator& enumerator) {
    int listed = 0;
    enumerator.EnumBaseNames([](Dword, Dword, const char*, void* count) -> WinBool {
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
    WatchWorld world(folder.Path());
    WatchWorld::Listing query(WatchListing::Query), snapshot(WatchListing::Snapshot),
        processByProcess(WatchListing::ProcessByProcess);
    std::vector<wine::Started> targets;
    for (int i = 0; CountListed(query.enumerator) < kListed; ++i) {
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
            form.m_more = {IoPriority::Low, MemoryPriority::NotSet, 1, {}};  // applied once, then left alone
            world.registry.Add(form);
        }
    }
    WatchCycle cycle = world.Cycle(query), fromSnapshot = world.Cycle(snapshot),
               byProcess = world.Cycle(processByProcess);
    BareQuery bare;
    if (cycle.Listing() != WatchListing::Query || fromSnapshot.Listing() != WatchListing::Snapshot ||
        byProcess.Listing() != WatchListing::ProcessByProcess || !bare.Run()) {
        std::printf("the listings are not the ones to compare\n");
        return 1;
    }

    const std::vector<std::function<void()>> runs = {[&] { cycle.Tick(); }, [&] { fromSnapshot.Tick(); },
                                                     [&] { byProcess.Tick(); }, [&] { bare.Run(); }};
    for (const auto& run : runs) run();  // each listing's buffers and libraries in place before the counts
    world.history.Clear();                // and the settings applied, the I/O priority that Wine lacks told
    const wine::ResourceCounts before = wine::CountResources(GetCurrentProcess(), GetCurrentProcessId());
    std::vector<double> seconds(runs.size(), 0.0);
    const int listed = CountListed(query.enumerator);
    query.api.opens = snapshot.api.opens = processByProcess.api.opens = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Rotate which goes first, so that none always runs on a warm cache.
        for (std::size_t k = 0; k < runs.size(); ++k) {
            const std::size_t which = (round + k) % runs.size();
            seconds[which] += Seconds(runs[which]);
        }
    }
    const wine::ResourceCounts after = wine::CountResources(GetCurrentProcess(), GetCurrentProcessId());
    auto perTick = [](double total) { return total / kRounds * 1e6; };
    auto opensPerTick = [](const WatchWorld::Listing& listing) { return double(listing.api.opens) / kRounds; };
    std::printf("processes listed: %d, watched and running: %d, rounds: %d\n", listed, kWatched, kRounds);
    std::printf("query tick:             %8.1f us, %.2f opens a tick\n", perTick(seconds[0]), opensPerTick(query));
    std::printf("snapshot tick:          %8.1f us, %.2f opens a tick\n", perTick(seconds[1]), opensPerTick(snapshot));
    std::printf("process-by-process tick:%8.1f us, %.2f opens a tick\n", perTick(seconds[2]),
                opensPerTick(processByProcess));
    std::printf("bare query:             %8.1f us\n", perTick(seconds[3]));
    std::printf("query tick / bare query:    %.3f (at most 1.2 wanted)\n", seconds[0] / seconds[3]);
    std::printf("snapshot tick / query tick: %.2f (at least 4 wanted)\n", seconds[1] / seconds[0]);
    std::printf("history lines written: %d (0 expected in the steady state)\n", world.history.Count());
    // The same bounds as the real program's soak: one object kept a tick exceeds them.
    wine::CheckNoGrowth(before, after, "the rounds");
    return world.history.Count() == 0 && query.api.opens == 0 && wine::FinishChecks() == 0 ? 0 : 1;
}
