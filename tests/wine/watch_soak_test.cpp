// The watch cycle ticking back to back under Wine for 1500 ticks (5000 with
// TARNWICK_LONG_SOAK=1), as it does for months, over the three listings (the query,
// which Wine's own numbers must select; every 25th tick the snapshot and every 25th
// process by process): target processes keep starting and ending (some between the
// listing and the open, which is no refusal), some refuse the change until they are
// taken off watch and ticked again, one program is registered twice and set back by
// the test behind the cycle's back, which the next tick corrects, and the history
// sits at its 30001-line cap on a real list box. From the end of the warm-up to the
// end, the handles, windows and committed memory of this process may not grow beyond
// bounds that one object leaked a tick exceeds.
#include <set>

#include "tests/wine/watch_world.h"
#include "ui/control_adapters.h"

using namespace tarnwick;
using namespace tarnwick::wine;

namespace {

// Opening the process marked to end first ends it (Wine keeps it openable for half a
// second more), and the chosen processes refuse every change.
class SoakApi final : public RealApi {
public:
    Started* ending = nullptr;
    std::set<DWORD> refusing;
    Handle OpenProcess(Dword access, Dword processId) override {
        if (ending && ending->Id() == processId) ending->End();
        return RealApi::OpenProcess(access, processId);
    }
    bool SetPriorityClass(Handle process, Dword priorityClass) override {
        return !refusing.count(::GetProcessId(process)) && Win32ProcessApi::SetPriorityClass(process, priorityClass);
    }
};

}  // namespace

int main() {
    TempFolder folder(L"tarnwick-soak");
    WatchWorld world(folder.Path());
    // A hidden window with a real list box for the history.
    HWND frame = CreateWindowExW(0, L"STATIC", L"soak", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                                 nullptr);
    CListBox box;
    box.Attach(CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD, 0, 0, 380, 280, frame, nullptr, nullptr, nullptr));
    ListBoxHistory history(box);
    SoakApi api;
    api.listing = WatchListing::ProcessByProcess;
    WatchCycle byProcess(world.registry, history, api, world.clock, world.settings, world.enumerator);
    api.listing = WatchListing::Snapshot;
    WatchCycle fromSnapshot(world.registry, history, api, world.clock, world.settings, world.enumerator);
    api.listing = WatchListing::Query;
    WatchCycle cycle(world.registry, history, api, world.clock, world.settings, world.enumerator);
    WINE_CHECK(box.GetSafeHwnd() && cycle.Listing() == WatchListing::Query &&
               fromSnapshot.Listing() == WatchListing::Snapshot && byProcess.Listing() == WatchListing::ProcessByProcess);
    world.settings.m_retryCount = 2;
    // One program registered twice: two rows, one entry with the later record's values.
    WINE_CHECK(WriteBytes(folder.Path() + L"\\Tarnwick.sav", "Version:4.0.0\r\n1,Churn.exe,高,指定なし,\r\n"
                                                            "1,Refuse.exe,高,指定なし,\r\n1,Twice.exe,通常以下,指定なし,\r\n"
                                                            "1,TWICE.EXE,低,指定なし,\r\n"));
    world.registry.LoadTable();
    for (int i = 0; i < 30001; ++i) AddHistoryLine(history, "line " + std::to_string(i));

    Churn churn(folder.Path(), L"Churn.exe", 6);
    for (int i = 0; i < 6; ++i) churn.Next();
    Started refusing(PlaceTarget(folder.Path(), L"r", L"Refuse.exe"), L"");
    Started twice(PlaceTarget(folder.Path(), L"t", L"twice.exe"), L"");
    WINE_CHECK(refusing.Running() && twice.Running());
    api.refusing.insert(refusing.Id());

    const int ticks = LongSoak() ? 5000 : 1500, warmUp = 300;
    ResourceCounts before;
    int endedAtOpen = 0, setBack = 0, corrected = 0;
    for (int tick = 1; tick <= ticks; ++tick) {
        if (tick % 10 == 0) {  // one ends, another starts at the normal class
            if (api.ending == &churn.Oldest()) api.ending = nullptr;
            churn.Next();
        }
        if (tick % 25 == 0 && !api.ending) api.ending = &churn.Newest();
        if (tick % 20 == 0) world.rows.SetChecked(1, true);  // back on watch after being taken off
        const bool backChanged = tick % 7 == 0 && SetPriorityClass(twice.Process(), NORMAL_PRIORITY_CLASS);
        (tick % 25 == 5 ? byProcess : tick % 25 == 15 ? fromSnapshot : cycle).Tick();
        setBack += backChanged;
        corrected += backChanged && twice.PriorityClass() == IDLE_PRIORITY_CLASS;
        if (api.ending && !api.ending->Running()) {
            ++endedAtOpen;
            churn.Next(api.ending);
            api.ending = nullptr;
        }
        if (tick == warmUp) before = CountResources(GetCurrentProcess(), GetCurrentProcessId());
    }
    api.ending = nullptr;
    const ResourceCounts after = CountResources(GetCurrentProcess(), GetCurrentProcessId());
    std::printf("%d ticks, %d processes started, %d ended between listing and open\n", ticks, churn.StartedCount(),
                endedAtOpen);

    WINE_CHECK(history.Count() == 30001);
    WINE_CHECK(world.rows.Count() == 4 && world.registry.Programs().Size() == 3);
    // Set back behind the cycle's back, the twice-registered program is right again
    // after each next tick, whichever listing ran it.
    WINE_CHECK(setBack == ticks / 7 && corrected == setBack);
    // Processes that ended at the open left their program on watch.
    WINE_CHECK(endedAtOpen > 0 && world.rows.Checked(0));
    WINE_CHECK(world.registry.Programs().Find("CHURN.EXE")->runCount > churn.StartedCount() / 2);
    CheckNoGrowth(before, after, "the ticks after the warm-up");
    DestroyWindow(frame);
    return FinishChecks();
}
