#include "ui/tray_icon_keeper.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tarnwick {
namespace {

struct ScriptedShell final : TrayIconShell {
    int failures = 0;  // adds that fail before one succeeds
    int adds = 0, timerStarts = 0, timerStops = 0;
    bool AddIcon() override { return ++adds > failures; }
    void StartRetryTimer(unsigned intervalMs) override { timerStarts += intervalMs == 2000; }
    void StopRetryTimer() override { ++timerStops; }
};

TEST(TrayIconKeeper, AFailedAddIsTriedEveryTwoSecondsForAMinuteAndANewTaskbarStartsOver) {
    // Failures before the shell takes the icon; whether the taskbar is created anew
    // after ten retries: adds made (the icon is there in the end if more than failed).
    const std::tuple<int, bool, int> cases[] = {
        {0, false, 1}, {3, false, 4}, {30, false, 31}, {31, false, 31}, {1000, true, 1 + 10 + 1 + 30},
    };
    for (const auto& [failures, taskbarCreated, adds] : cases) {
        SCOPED_TRACE(failures);
        ScriptedShell shell;
        shell.failures = failures;
        TrayIconKeeper keeper(shell);
        keeper.Add();
        for (int second = 2; second <= 120; second += 2) {
            if (taskbarCreated && second == 22) keeper.Add();
            keeper.RetryTimerFired();
        }
        EXPECT_EQ(shell.adds, adds);
        EXPECT_EQ(shell.timerStarts, failures > 0 ? 1 : 0);  // one timer, started once
        EXPECT_EQ(shell.timerStops, failures > 0 ? 1 : 0);
    }
}

}  // namespace
}  // namespace tarnwick
