// Checks for the test programs that run under Wine, where GoogleTest is not at
// hand: each check prints its outcome, and the program ends with the plain
// "N passed, N failed" line and a non-zero exit code when anything failed.
#pragma once

#include <cstdio>

namespace tarnwick::wine {

struct CheckCount {
    int passed = 0;
    int failed = 0;
};
inline CheckCount g_checks;

inline bool Check(bool ok, const char* what, const char* file, int line) {
    if (ok) {
        ++g_checks.passed;
        std::printf("ok   %s\n", what);
    } else {
        ++g_checks.failed;
        std::printf("FAIL %s (%s:%d)\n", what, file, line);
    }
    std::fflush(stdout);
    return ok;
}

inline int FinishChecks() {
    std::printf("%d passed, %d failed\n", g_checks.passed, g_checks.failed);
    return g_checks.failed == 0 && g_checks.passed > 0 ? 0 : 1;
}

}  // namespace tarnwick::wine

#define WINE_CHECK(condition) ::tarnwick::wine::Check((condition), #condition, __FILE__, __LINE__)
