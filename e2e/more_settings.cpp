// A registration's further settings with the real program: set through the entry
// dialog's "More...", kept in the companion file beside a save file that stays as it
// was, and applied again after an end and a start with auto-load. Wine applies the
// processors to a process's real threads and lacks the I/O priority, which is told once.
#include "tests/wine/wine_support.h"

namespace tarnwick::wine {

namespace {
DWORD_PTR ProcessorsOf(const Started& process) {
    DWORD_PTR own = 0;
    DWORD_PTR machine = 0;
    return GetProcessAffinityMask(process.Process(), &own, &machine) ? own : 0;
}

int LinesWith(TarnwickRun& run, const std::string& part) {
    int count = 0;
    for (int i = 0; i < run.HistoryCount(); ++i) count += run.HistoryLine(i).find(part) != std::string::npos;
    return count;
}
}  // namespace

void MoreSettingsKeptAndApplied() {
    Installation install;  // a new user: every change saved, the save file loaded at start
    Started first = install.Target(L"TwMore.exe");
    const std::string missing = "の I/O 低 は、この Windows では設定できないため";
    {
        TarnwickRun run(install);
        WINE_CHECK(run.Ready());
        const Dialog entry = run.NewEntry("TwMore.exe", "低");
        entry.Press(1051);
        const Dialog more = run.WaitForDialog("詳細設定");
        more.Select(1052, "低");
        more.SetText(1055, "0");
        WINE_CHECK(more.Close(IDOK) && entry.Close(IDOK) && run.Settle() && run.Text(0, 6) == "I/O 低, CPU 0");
        WINE_CHECK(install.Save() == "Version:4.0.0\r\n1,TwMore.exe,低,指定なし,\r\n" &&
                   install.Bytes(L"Tarnwick.more") == "TarnwickMore:1\r\nTwMore.exe,low,,,0\r\n");
        WINE_CHECK(WaitFor([&] { return first.PriorityClass() == IDLE_PRIORITY_CLASS && ProcessorsOf(first) == 1; }));
        WINE_CHECK(LinesWith(run, missing) == 1 && run.Quit());
    }
    Started later = install.Target(L"TwMore.exe");
    TarnwickRun run(install);
    WINE_CHECK(run.Ready(1) && run.Text(0, 6) == "I/O 低, CPU 0");
    WINE_CHECK(WaitFor([&] { return later.PriorityClass() == IDLE_PRIORITY_CLASS && ProcessorsOf(later) == 1; }));
    Sleep(1500);  // ticks pass: the lack is not told again, nor the settings applied again
    WINE_CHECK(LinesWith(run, missing) == 1 && LinesWith(run, "CPU 0 TwMore.exe") == 2 && run.Quit());
}

}  // namespace tarnwick::wine
