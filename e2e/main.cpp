// End-to-end tests of the real Tarnwick.exe under Wine, driven from outside; one
// scenario a run, each in a folder of its own:  tarnwick_e2e SCENARIO
#include <cstring>

#include "tests/wine/wine_support.h"


namespace tarnwick::wine {
#define SCENARIO(function, name, label) void function();
#include "e2e/scenarios.h"
#undef SCENARIO
}  // namespace tarnwick::wine

int main(int argc, char** argv) {
    CoInitialize(nullptr);  // for reading shortcut files
#define SCENARIO(function, name, label) \
    if (argc == 2 && std::strcmp(argv[1], name) == 0) return tarnwick::wine::function(), tarnwick::wine::FinishChecks();
#include "e2e/scenarios.h"
#undef SCENARIO
    std::printf("usage: tarnwick_e2e SCENARIO (one of e2e/scenarios.h)\n");
    return 2;
}
