// Checks for the test programs that run under Wine, where GoogleTest is not at
// hand: each check prints its outcome, and the program ends with the plain
// "N passed, N failed" line and a non-zero exit code when anything failed.
#pragma once

#include <cstdio>

namespace tarnwick::wine {

inline int g_passed = 0, g_failed = 0;

inline bool Check(bool ok, const char* what, const char* file, int line) {
    ++(ok ? g_passed : g_failed);
    std::printf(ok ? "ok   %s\n" : "FAIL %s (%s:%d)\n", what, file, line);
    std::fflush(stdout);
    return ok;
}

inline int FinishChecks() {
    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 && g_passed > 0 ? 0 : 1;
}

}  // namespace tarnwick::wine

#define WINE_CHECK(condition) ::tarnwick::wine::Check((condition), #condition, __FILE__, __LINE__)
