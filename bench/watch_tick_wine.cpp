// Under Wine: one real watch tick against the bare platform calls that such a tick
// cannot avoid (the process listing; for each process the open and the naming; for
// each watched process the second open and the read of its class), run alternately
// in one process. Prints both and their ratio.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

#include "tests/wine/watch_world.h"
#include "tests/wine/wine_support.h"

using namespace tarnwick;

namespace {

constexpr int kWatched = 8;
constexpr int kBystanders = 16;
constexpr int kRounds = 300;

using EnumProcessesPtr = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using EnumModulesPtr = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using BaseNamePtr = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);

struct BareCalls {
    EnumProcessesPtr enumProcesses;
    EnumModulesPtr enumModules;
    BaseNamePtr baseName;
    std::set<DWORD> watched;

    void Run() const {
        DWORD ids[1000];
        DWORD bytes = 0;
        if (!enumProcesses(ids, sizeof ids, &bytes)) return;
        for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
            wchar_t wide[MAX_PATH] = L"";
            char name[2 * MAX_PATH] = "";
            if (HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, ids[i])) {
                HMODULE module = nullptr;
                DWORD needed = 0;
                if (enumModules(process, &module, sizeof module, &needed)) {
                    // The name in code page 932, whatever the system's own code page.
                    const DWORD length = baseName(process, module, wide, MAX_PATH);
                    WideCharToMultiByte(932, 0, wide, static_cast<int>(length), name, sizeof name, nullptr, nullptr);
                }
                CloseHandle(process);
            }
            if (watched.count(ids[i])) {
                if (HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, ids[i])) {
                    GetPriorityClass(process);
                    CloseHandle(process);
                }
            }
        }
    }
};

template <typename Function>
Function Lookup(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
    wine::TempFolder folder(L"tarnwick-bench");
    wine::WatchWorld world(folder.Path());

    std::vector<wine::Started> targets;
    BareCalls bare{};
    for (int i = 0; i < kWatched + kBystanders; ++i) {
        const bool watched = i < kWatched;
        const std::wstring name = (watched ? L"Watched" : L"Bystander") + std::to_wstring(i) + L".exe";
        targets.emplace_back(wine::PlaceTarget(folder.Path(), L"t" + std::to_wstring(i), name), L"");
        if (!targets.back().Running()) {
            std::printf("could not start the target program %d\n", i);
            return 1;
        }
        if (watched) {
            world.Register(Narrow(name), kNormal);  // the class they start with: the steady state
            bare.watched.insert(targets.back().Id());
        }
    }

    HMODULE psapi = LoadLibraryW(L"PSAPI.DLL");
    bare.enumProcesses = Lookup<EnumProcessesPtr>(psapi, "EnumProcesses");
    bare.enumModules = Lookup<EnumModulesPtr>(psapi, "EnumProcessModules");
    bare.baseName = Lookup<BaseNamePtr>(psapi, "GetModuleBaseNameW");

    int listed = 0;
    world.enumerator.EnumBaseNames([](Dword, Dword, const char*, void* count) -> WinBool {
        ++*static_cast<int*>(count);
        return 1;
    }, &listed);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    auto timed = [&frequency](const auto& work) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        return Seconds(start, end, frequency);
    };
    auto runBare = [&bare] { bare.Run(); };
    auto runTick = [&world] { world.Tick(); };
    double bareSeconds = 0, tickSeconds = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Alternate which goes first, so that neither always runs on a warm cache.
        if (round % 2 == 0) {
            bareSeconds += timed(runBare);
            tickSeconds += timed(runTick);
        } else {
            tickSeconds += timed(runTick);
            bareSeconds += timed(runBare);
        }
    }
    FreeLibrary(psapi);
    std::printf("processes listed: %d, watched and running: %d, rounds: %d\n", listed, kWatched, kRounds);
    std::printf("bare platform calls: %.1f us per tick\n", bareSeconds / kRounds * 1e6);
    std::printf("watch tick:          %.1f us per tick\n", tickSeconds / kRounds * 1e6);
    std::printf("ratio tick / bare:   %.3f\n", tickSeconds / bareSeconds);
    std::printf("history lines written: %d (0 expected in the steady state)\n", world.history.Count());
    return world.history.Count() == 0 ? 0 : 1;
}
