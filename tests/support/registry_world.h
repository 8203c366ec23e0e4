// Registrations without a window: rows in memory wired to the registrations exactly
// as the list view's change notification wires them, with scripted message boxes,
// over the files the caller gives; and the unit tests' fixture over files in memory.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/registrations.h"
#include "core/settings.h"
#include "tests/support/fakes.h"
#include "tests/support/memory_doubles.h"

namespace tarnwick::testing {

struct RegistryWorld {
    RegistryWorld(const std::string& programFile, FileSystem& files)
        : settings(programFile, files), registry(rows, settings, boxes, files) {
        rows.SetChangeHandler([this](int row) { registry.SetWatched(row); });
    }
    RegistryWorld(const RegistryWorld&) = delete;
    RegistryWorld& operator=(const RegistryWorld&) = delete;

    // Every row as one text, top to bottom: the check box ("[x]" or "[ ]"), then
    // each column's text after a bar.
    std::vector<std::string> RowsAsText() const {
        std::vector<std::string> all;
        for (int row = 0; row < rows.Count(); ++row) {
            std::string line = rows.Checked(row) ? "[x]" : "[ ]";
            for (int column = 0; column < kMoreColumn; ++column) line += "|" + rows.Text(row, column);
            all.push_back(line);
        }
        return all;
    }

    ScriptedMessageBoxes boxes;
    MemoryRows rows;
    AppSettings settings;
    Registrations registry;
};

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

// The fixture, over the test framework's base class (::testing::Test) that the unit
// tests give it; the benchmarks and fuzz targets build without that framework.
template <class TestBase>
class RegistryFixture : public TestBase, protected MemoryFiles, protected RegistryWorld {
protected:
    RegistryFixture() : RegistryWorld("C:\\T\\Tarnwick.exe", files) {}

    static ProgramEntryForm Entry(const std::string& name, PriorityLevel specified = kHigh,
                                  PriorityLevel active = kNoPriority, const std::string& description = "") {
        return {0, name, description, specified, active, nullptr, "", {}};
    }
    // The number of times the save file has been written.
    int Saves() const {
        return static_cast<int>(std::count(files.replaced.begin(), files.replaced.end(),
                                           std::string(kSavePath) + ".new " + kSavePath));
    }
};

}  // namespace tarnwick::testing
