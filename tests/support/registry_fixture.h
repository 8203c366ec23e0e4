// The unit tests' monitor window without a window: the registrations over files
// in memory, and what the tests ask of them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/support/registry_world.h"

namespace tarnwick::testing {

inline constexpr const char* kSavePath = "C:\\T\\Tarnwick.sav";
inline constexpr const char* kTempPath = "C:\\T\\Tarnwick.tmp";

class ScriptedEntryDialog final : public ProgramEntryDialog {
public:
    std::function<bool(ProgramEntryForm&)> answer = [](ProgramEntryForm&) { return false; };
    std::vector<ProgramEntryForm> seen;
    bool Run(ProgramEntryForm& form) override { return seen.push_back(form), answer(form); }
};

// The files come first: the registrations are built over them.
struct MemoryFiles {
    MemoryFileSystem files;
};

class RegistryTest : public ::testing::Test, protected MemoryFiles, protected RegistryWorld {
protected:
    RegistryTest() : RegistryWorld("C:\\T\\Tarnwick.exe", files) {}

    static ProgramEntryForm Entry(const std::string& name, PriorityLevel specified = kHigh,
                                  PriorityLevel active = kNoPriority, const std::string& description = "") {
        return {0, name, description, specified, active};
    }
    // The number of times the save file has been written.
    int Saves() const {
        return static_cast<int>(std::count(files.replaced.begin(), files.replaced.end(),
                                           std::string(kSavePath) + ".new " + kSavePath));
    }
};

}  // namespace tarnwick::testing
