// End-to-end tests of the real Tarnwick.exe under Wine, driven from outside; one
// scenario a run, each in a folder of its own:  tarnwick_e2e SCENARIO
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "tests/wine/wine_check.h"

#define SCENARIO(function, name, label) void function();
namespace tarnwick::e2e {
#include "e2e/scenarios.h"
}
#undef SCENARIO

namespace {

struct Scenario {
    const char* name;
    void (*run)();
};

#define SCENARIO(function, name, label) {name, tarnwick::e2e::function},
constexpr Scenario kScenarios[] = {
#include "e2e/scenarios.h"
};
#undef SCENARIO

}  // namespace

int main(int argc, char** argv) {
    CoInitialize(nullptr);  // for reading shortcut files
    for (const Scenario& scenario : kScenarios) {
        if (argc == 2 && std::strcmp(argv[1], scenario.name) == 0) {
            scenario.run();
            return tarnwick::wine::FinishChecks();
        }
    }
    std::printf("usage: tarnwick_e2e SCENARIO; scenarios:");
    for (const Scenario& scenario : kScenarios) std::printf(" %s", scenario.name);
    std::printf("\n");
    return 2;
}
