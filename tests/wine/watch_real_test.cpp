// The real enumerator and watch cycle against real processes under Wine: target
// programs that this test starts, under Japanese names that must match on a system
// of any code page, are brought to their classes, and left alone once off watch.
// The foreground and unregistered programs: the e2e foreground scenario.
#include <windows.h>

#include <string>

#include "tests/wine/watch_world.h"
#include "tests/wine/wine_check.h"
#include "tests/wine/wine_support.h"

using namespace tarnwick;
using namespace tarnwick::wine;

namespace {

bool HistoryHas(const MemoryHistory& history, const std::string& ending) {
    for (int i = 0; i < history.Count(); ++i) {
        const std::string& line = history.Line(i);
        if (line.size() >= ending.size() && line.compare(line.size() - ending.size(), ending.size(), ending) == 0) {
            return true;
        }
    }
    return false;
}

// A process that ends between the listing and the open was never a refusal: the
// snapshot listing passes it by without a line and leaves its program on watch.
void EndingBetweenListingAndOpen(WatchWorld& world, const std::wstring& folder) {
    world.Register("Ending.exe", kHigh);
    const int row = world.rows.Count() - 1;
    Started ending(PlaceTarget(folder, L"ending", L"Ending.exe"), L"");
    WINE_CHECK(ending.Running());
    EndsOnOpen api;
    api.ending = &ending;
    WatchCycle cycle(world.registry, world.history, api, world.clock, world.settings, world.enumerator);
    WINE_CHECK(cycle.ListsFromSnapshot());
    const int lines = world.history.Count();
    cycle.Tick();
    WINE_CHECK(!ending.Running() && api.gone);
    WINE_CHECK(world.history.Count() == lines);
    WINE_CHECK(world.rows.Checked(row));
    WINE_CHECK(world.registry.Programs().Find("ENDING.EXE")->retriesLeft == -1);
}

}  // namespace

int main() {
    TempFolder folder(L"tarnwick-watch");
    WatchWorld world(folder.Path());
    WINE_CHECK(world.enumerator.m_unavailable == 0);
    WINE_CHECK(world.cycle.ListsFromSnapshot());  // Wine's kernel32 has the wide snapshot
    auto tick = [&world] { world.Tick(); };
    MemoryRows& rows = world.rows;
    MemoryHistory& history = world.history;

    // Two copies of one program, under names that differ in the case of a full-width letter.
    world.Register("エディタＡ.exe", kHigh);
    Started editor(PlaceTarget(folder.Path(), L"one", Wide("エディタＡ.exe")), L"");
    Started editorCopy(PlaceTarget(folder.Path(), L"two", Wide("エディタａ.EXE")), L"");
    WINE_CHECK(editor.Running() && editorCopy.Running());
    WINE_CHECK(editor.PriorityClass() == NORMAL_PRIORITY_CLASS);
    WINE_CHECK(WaitFor([&] { return editor.PriorityClass() == HIGH_PRIORITY_CLASS &&
                                    editorCopy.PriorityClass() == HIGH_PRIORITY_CLASS; },
                       15000, tick));
    WINE_CHECK(world.registry.Programs().Find("エディタＡ.EXE")->runCount == 2);
    WINE_CHECK(rows.Text(0, kRunCountColumn) == "2");
    WINE_CHECK(HistoryHas(history, " 通常 → 高 エディタＡ.exe"));

    // Nothing more happens while every class is right.
    const int lines = history.Count();
    for (int i = 0; i < 3; ++i) tick();
    WINE_CHECK(history.Count() == lines);

    // Unticking takes a program off watch: its process is left where it is.
    rows.SetChecked(0, false);
    SetPriorityClass(editor.Process(), BELOW_NORMAL_PRIORITY_CLASS);
    for (int i = 0; i < 3; ++i) tick();
    WINE_CHECK(editor.PriorityClass() == BELOW_NORMAL_PRIORITY_CLASS);
    WINE_CHECK(world.boxes.shown.empty());

    EndingBetweenListingAndOpen(world, folder.Path());
    // The same programs over the process-by-process listing: the same classes.
    ProcessByProcessApi byProcess;
    WatchCycle byProcessCycle(world.registry, history, byProcess, world.clock, world.settings, world.enumerator);
    WINE_CHECK(!byProcessCycle.ListsFromSnapshot());
    rows.SetChecked(0, true);
    WINE_CHECK(WaitFor([&] { return editor.PriorityClass() == HIGH_PRIORITY_CLASS; }, 15000,
                       [&] { byProcessCycle.Tick(); }));
    return FinishChecks();
}
