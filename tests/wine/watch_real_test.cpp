// The real enumerator and watch cycle against real processes under Wine: target
// programs that this test starts are brought to their classes, follow the
// foreground, and unregistered or unwatched ones are left alone.
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
    world.settings.m_addWatchMode = 1;
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
    Registrations& registry = world.registry;
    MemoryRows& rows = world.rows;
    MemoryHistory& history = world.history;

    world.Register("Editor.exe", kHigh);
    world.Register("Active.exe", kIdle, kHigh);
    world.settings.m_addWatchMode = 0;
    world.Register("Unwatched.exe", kIdle);

    // Two copies of one program, under names that differ in case, and bystanders.
    Started editor(PlaceTarget(folder.Path(), L"one", L"Editor.exe"), L"");
    Started editorCopy(PlaceTarget(folder.Path(), L"two", L"EDITOR.EXE"), L"");
    Started unwatched(PlaceTarget(folder.Path(), L"three", L"Unwatched.exe"), L"");
    Started other(PlaceTarget(folder.Path(), L"four", L"Other.exe"), L"--window OtherTarget");
    WINE_CHECK(editor.Running() && editorCopy.Running() && unwatched.Running() && other.Running());
    WINE_CHECK(editor.PriorityClass() == NORMAL_PRIORITY_CLASS);

    WINE_CHECK(WaitFor([&] { return editor.PriorityClass() == HIGH_PRIORITY_CLASS &&
                                    editorCopy.PriorityClass() == HIGH_PRIORITY_CLASS; },
                       15000, tick));
    WINE_CHECK(registry.Programs().Find("EDITOR.EXE")->runCount == 2);
    WINE_CHECK(rows.Text(0, kRunCountColumn) == "2");
    WINE_CHECK(HistoryHas(history, " 通常 → 高 Editor.exe"));
    WINE_CHECK(unwatched.PriorityClass() == NORMAL_PRIORITY_CLASS);
    WINE_CHECK(other.PriorityClass() == NORMAL_PRIORITY_CLASS);

    // Nothing more happens while every class is right.
    const int lines = history.Count();
    for (int i = 0; i < 3; ++i) tick();
    WINE_CHECK(history.Count() == lines);

    // The active priority while the program's window is in front, the specified one after.
    Started active(PlaceTarget(folder.Path(), L"five", L"Active.exe"), L"--window ActiveTarget");
    HWND activeWindow = nullptr;
    WINE_CHECK(WaitFor([&] { return (activeWindow = active.Window()) != nullptr; }));
    WINE_CHECK(BringToForeground(activeWindow));
    WINE_CHECK(WaitFor([&] { return active.PriorityClass() == HIGH_PRIORITY_CLASS; }, 15000, tick));
    WINE_CHECK(HistoryHas(history, " 通常 → 高 Active.exe"));

    HWND otherWindow = other.Window();
    WINE_CHECK(otherWindow != nullptr);
    WINE_CHECK(BringToForeground(otherWindow));
    WINE_CHECK(WaitFor([&] { return active.PriorityClass() == IDLE_PRIORITY_CLASS; }, 15000, tick));
    WINE_CHECK(HistoryHas(history, " 高 → 低 Active.exe"));

    WINE_CHECK(BringToForeground(activeWindow));
    WINE_CHECK(WaitFor([&] { return active.PriorityClass() == HIGH_PRIORITY_CLASS; }, 15000, tick));
    WINE_CHECK(registry.Programs().Find("ACTIVE.EXE")->runCount == 3);
    WINE_CHECK(rows.Text(1, kRunCountColumn) == "3");

    // Unticking takes a program off watch: its process is left where it is.
    rows.SetChecked(0, false);
    SetPriorityClass(editor.Process(), BELOW_NORMAL_PRIORITY_CLASS);
    for (int i = 0; i < 3; ++i) tick();
    WINE_CHECK(editor.PriorityClass() == BELOW_NORMAL_PRIORITY_CLASS);
    WINE_CHECK(unwatched.PriorityClass() == NORMAL_PRIORITY_CLASS);
    WINE_CHECK(other.PriorityClass() == NORMAL_PRIORITY_CLASS);
    WINE_CHECK(world.boxes.shown.empty());

    EndingBetweenListingAndOpen(world, folder.Path());
    // The same programs over the process-by-process listing: the same classes.
    ProcessByProcessApi byProcess;
    WatchCycle byProcessCycle(registry, history, byProcess, world.clock, world.settings, world.enumerator);
    WINE_CHECK(!byProcessCycle.ListsFromSnapshot());
    rows.SetChecked(0, true);
    WINE_CHECK(WaitFor([&] { return editor.PriorityClass() == HIGH_PRIORITY_CLASS; }, 15000,
                       [&] { byProcessCycle.Tick(); }));
    return FinishChecks();
}
