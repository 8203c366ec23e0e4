// The real program for 40 seconds (two minutes with TARNWICK_LONG_SOAK=1) at a
// 500 ms cycle over churning targets, while the driver shows and hides it and opens
// and closes its dialogs: measured from outside, its handles, windows and committed
// memory do not grow.
#include <deque>

#include "tests/wine/wine_support.h"

namespace tarnwick::wine {

namespace {

// One round of a user's work: show and hide the window, or open and cancel the
// options while it is hidden, or the entry dialog and from it the running programs.
void Round(TarnwickRun& run, int round) {
    if (round % 3 == 1) {
        WINE_CHECK(run.Open(32772, kOptionsTitle).Close(IDCANCEL));
        return;
    }
    run.PostCommand(32771);  // the icon menu's first item shows the window
    WINE_CHECK(WaitFor([&] { return run.Visible(); }));
    if (round % 3 == 2) {
        const Dialog entry = run.Open(1003, kEntryTitle);
        WINE_CHECK(run.RunningList(entry).Close(IDCANCEL) && entry.Close(IDCANCEL));
    }
    run.Click(1043);  // hide it again
    WINE_CHECK(WaitFor([&] { return !run.Visible(); }));
}

}  // namespace

void SoakOfTheRealProgram() {
    Installation install("AUTOLOADMODE=1\r\nWATCHINGCYCLETIME=500\r\nRUNPANELVIEW=0\r\n",
                         "Version:4.0.0\r\n1,TwChurn.exe,高,指定なし,\r\n");
    TarnwickRun run(install);
    WINE_CHECK(run.Ready(1, false));
    // Targets of one name keep starting and ending, as programs do: four run at a time,
    // and each round ends the oldest and starts another, from eight folders in turn.
    std::deque<Started> churn;
    const auto next = [&](int round) {
        if (churn.size() == 4) churn.pop_front();
        churn.emplace_back(PlaceTarget(install.folder.Path(), L"churn" + std::to_wstring(round % 8), L"TwChurn.exe"), L"");
        Round(run, round);
    };
    int round = 0;
    for (; round < 6; ++round) next(round);  // the warm-up: every dialog once or more
    WINE_CHECK(WaitForCorrection(churn.back(), HIGH_PRIORITY_CLASS));
    const ResourceCounts before = CountResources(run.Process(), run.Id());
    // TARNWICK_LONG_SOAK=1 (scripts/soak.sh) selects the long run of the figures in docs/reliability.md.
    const wchar_t* chosen = _wgetenv(L"TARNWICK_LONG_SOAK");
    const ULONGLONG end = GetTickCount64() + (chosen && std::wstring(chosen) == L"1" ? 120000 : 40000);
    while (GetTickCount64() < end) next(round++);
    // Still watching, a tick after the last round: the newest target is raised.
    WINE_CHECK(WaitForCorrection(churn.back(), HIGH_PRIORITY_CLASS));
    const ResourceCounts after = CountResources(run.Process(), run.Id());
    CheckNoGrowth(before, after, "the rounds after the warm-up (" + std::to_string(round) + " in all)");
    WINE_CHECK(run.Quit());
}

}  // namespace tarnwick::wine
