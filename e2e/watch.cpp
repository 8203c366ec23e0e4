// Watching with the real program: auto-load, the first tick and its history line,
// saving, the end's question about a change; the foreground followed at once.
#include "tests/wine/wine_support.h"

namespace tarnwick::wine {

void AutoLoadWatchAndSave() {
    const std::string save =
        "Version:4.0.0\r\n"
        "1,TwTarget.exe,高,指定なし,watched, with commas\r\n"
        "0,ＦｕｌｌＷｉｄｔｈ.exe,低,通常,全角の名前, 説明\r\n";
    Installation install("AUTOLOADMODE=1\r\nWATCHINGCYCLETIME=500\r\n", save);
    Started target = install.Target(L"TwTarget.exe");
    TarnwickRun run(install);
    WINE_CHECK(target.PriorityClass() == NORMAL_PRIORITY_CLASS && run.Ready(2) && run.SelectedRow() == 0);
    WINE_CHECK(run.StateImage(1) == 1 && run.Text(1, 1) == "ＦｕｌｌＷｉｄｔｈ.exe" && run.Text(1, 2) == "全角の名前, 説明");

    WINE_CHECK(WaitFor([&] {
        return target.PriorityClass() == HIGH_PRIORITY_CLASS && run.HistoryCount() == 1 && run.Text(0, 5) == "1";
    }));
    WINE_CHECK(run.HistoryLine(0).substr(17) == " 通常 → 高 TwTarget.exe" && run.Text(1, 5).empty());  // after a 17-character time

    DeleteFileW(install.Path(L"Tarnwick.sav").c_str());
    WINE_CHECK(run.ClickDone(1006) && install.Save() == save);
    run.Click(1002);  // clear the history
    // Without auto-save Escape asks about a change: Cancel keeps running, No ends and saves nothing.
    run.SetChecked(1, true);
    WINE_CHECK(WaitFor([&] { return run.HistoryCount() == 0 && run.Text(1, 0) == "する"; }));
    for (int answer : {IDCANCEL, IDNO}) {
        PostMessageW(run.List(), WM_KEYDOWN, VK_ESCAPE, 0);
        WINE_CHECK(run.AnswerMessageBox(kEndTitle, answer));
    }
    WINE_CHECK(run.Ended() && install.Save() == save);
}

// With a 5000 ms cycle, every switch of the foreground between the target and the
// other program is applied long before the next timer tick; the other program,
// registered but not watched, is left at its class throughout.
void ForegroundFollowedAtOnce() {
    ForegroundStage stage;
    WINE_CHECK(stage.ready);
    for (int i = 0; i < 6; ++i) {
        const bool toTarget = i % 2 == 0;
        WINE_CHECK(BringToForeground(toTarget ? stage.targetWindow : stage.otherWindow));
        WINE_CHECK(WaitFor([&] {
            return stage.target.PriorityClass() == (toTarget ? HIGH_PRIORITY_CLASS : IDLE_PRIORITY_CLASS);
        }, 1000, nullptr, 10));
    }
    WINE_CHECK(stage.other.PriorityClass() == NORMAL_PRIORITY_CLASS);
    WINE_CHECK(stage.run->Quit());
}

}  // namespace tarnwick::wine
