// Registrations without a window: rows in memory wired to the registrations exactly
// as the list view's change notification wires them, with scripted message boxes,
// over the files the caller gives.
#pragma once

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
            for (int column = 0; column < kColumnCount; ++column) line += "|" + rows.Text(row, column);
            all.push_back(line);
        }
        return all;
    }

    ScriptedMessageBoxes boxes;
    MemoryRows rows;
    AppSettings settings;
    Registrations registry;
};

}  // namespace tarnwick::testing
