// The watch cycle ticking back to back for 1500 ticks under Wine (5000 with
// TARNWICK_LONG_SOAK=1), as it does for months: target processes keep starting and ending (some between the listing
// and the open), some refuse the change until they are taken off watch and ticked
// again, one program is registered twice, and the history sits at its 30001-line cap
// on a real list box. From the end of the warm-up to the end, the handles, windows
// and committed memory of this process may not grow beyond small bounds.
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "tests/wine/watch_world.h"
#include "tests/wine/wine_check.h"
#include "tests/wine/wine_support.h"
#include "ui/control_adapters.h"

using namespace tarnwick;
using namespace tarnwick::wine;

namespace {

constexpr int kWarmUp = 300;
constexpr DWORD kHandleGrowth = 8;
constexpr DWORD kWindowGrowth = 0;
constexpr SIZE_T kCommittedGrowth = 512u << 10;  // 1 KB kept per tick passes it at 1500 ticks

// Ends the process marked to end when it is opened (without waiting: the soak keeps
// its pace), and the chosen processes refuse every change.
class SoakApi final : public EndsOnOpen {
public:
    SoakApi() { waitUntilGone = false; }
    std::set<DWORD> refusing;
    bool SetPriorityClass(Handle process, Dword priorityClass) override {
        return !refusing.count(::GetProcessId(process)) && Win32ProcessApi::SetPriorityClass(process, priorityClass);
    }
};

// A hidden window with a real list box for the history.
class HistoryWindow {
public:
    HistoryWindow() {
        m_frame = CreateWindowExW(0, L"STATIC", L"soak", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                  nullptr, nullptr);
        m_box.Attach(CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_NOINTEGRALHEIGHT, 0, 0, 380, 280, m_frame,
                                     nullptr, nullptr, nullptr));
    }
    ~HistoryWindow() { DestroyWindow(m_frame); }
    bool Created() const { return m_box.GetSafeHwnd() != nullptr; }
    CListBox& Box() { return m_box; }

private:
    HWND m_frame = nullptr;
    CListBox m_box;
};

void Report(const char* when, const ResourceCounts& counts) {
    std::printf("%s: %lu handles, %lu windows, %zu committed bytes\n", when, counts.handles, counts.windows,
                counts.committedBytes);
}

}  // namespace

int main() {
    TempFolder folder(L"tarnwick-soak");
    WatchWorld world(folder.Path());
    HistoryWindow window;
    WINE_CHECK(window.Created());
    ListBoxHistory history(window.Box());
    SoakApi api;
    WatchCycle cycle(world.registry, history, api, world.clock, world.settings, world.enumerator);
    WINE_CHECK(cycle.ListsFromSnapshot());
    world.settings.m_retryCount = 2;
    // One program registered twice: two rows, one entry with the later record's values.
    WINE_CHECK(WriteBytes(folder.Path() + L"\\Tarnwick.sav", "Version:4.0.0\r\n1,Churn.exe,高,指定なし,\r\n"
                                                            "1,Refuse.exe,高,指定なし,\r\n1,Twice.exe,通常以下,指定なし,\r\n"
                                                            "1,TWICE.EXE,低,指定なし,\r\n"));
    world.registry.LoadTable();
    for (int i = 0; i < 30001; ++i) AddHistoryLine(history, "line " + std::to_string(i));
    WINE_CHECK(history.Count() == 30001);

    Churn churn(folder.Path(), L"Churn.exe", 6);
    for (int i = 0; i < 6; ++i) churn.Next();
    Started refusing(PlaceTarget(folder.Path(), L"r", L"Refuse.exe"), L"");
    Started twice(PlaceTarget(folder.Path(), L"t", L"twice.exe"), L"");
    WINE_CHECK(refusing.Running() && twice.Running());
    api.refusing.insert(refusing.Id());

    const int ticks = LongSoak() ? 5000 : 1500;
    ResourceCounts before;
    int endedAtOpen = 0;
    for (int tick = 1; tick <= ticks; ++tick) {
        if (tick % 10 == 0) {  // one ends, another starts at the normal class
            if (api.ending == &churn.Oldest()) api.ending = nullptr;
            churn.Next();
        }
        if (tick % 25 == 0 && !api.ending) api.ending = &churn.Newest();
        if (tick % 20 == 0) world.rows.SetChecked(1, true);  // back on watch after being taken off
        if (tick % 7 == 0) SetPriorityClass(twice.Process(), NORMAL_PRIORITY_CLASS);
        cycle.Tick();
        if (api.ending && !api.ending->Running()) {
            ++endedAtOpen;
            churn.Next(api.ending);
            api.ending = nullptr;
        }
        if (tick == kWarmUp) before = CountResources(GetCurrentProcess(), GetCurrentProcessId());
    }
    api.ending = nullptr;
    const ResourceCounts after = CountResources(GetCurrentProcess(), GetCurrentProcessId());
    Report("after the warm-up", before);
    Report("at the end", after);
    std::printf("%d ticks, %d processes started, %d ended between listing and open\n", ticks, churn.StartedCount(),
                endedAtOpen);

    WINE_CHECK(history.Count() == 30001);
    WINE_CHECK(world.rows.Count() == 4 && world.registry.Programs().Size() == 3);
    WINE_CHECK(twice.PriorityClass() == IDLE_PRIORITY_CLASS);
    WINE_CHECK(world.registry.Programs().Find("CHURN.EXE")->runCount > churn.StartedCount() / 2);
    WINE_CHECK(endedAtOpen > 0);
    WINE_CHECK(after.handles <= before.handles + kHandleGrowth);
    WINE_CHECK(after.windows <= before.windows + kWindowGrowth);
    WINE_CHECK(after.committedBytes <= before.committedBytes + kCommittedGrowth);
    return FinishChecks();
}
