// The save file: a header line "Version:4.0.0" and one line per registration,
// "watch,name,specified,active,description" with CR LF. Files of the older layout
// (no header, no active priority) are rewritten in this one before every load.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/files.h"
#include "core/program_rows.h"

namespace tarnwick {

inline constexpr const char* kSaveFileVersion = "Version:4.0.0";

// The file's bytes for the rows, in display order.
std::string FormatSaveFile(const ProgramRows& rows);

// Cuts `count` comma-ended fields off a line; the rest of the line is the last
// element. Missing fields are empty, so an empty line gives only empty fields.
template <std::size_t count>
std::array<std::string, count + 1> SplitFields(std::string_view line) {
    std::array<std::string, count + 1> fields;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t comma = line.find(',');
        fields[i] = std::string(line.substr(0, comma));
        line = comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
    }
    fields[count] = std::string(line);
    return fields;
}

// The text of one line as a list cell can hold it: up to its first NUL byte.
std::string_view LineText(std::string_view line);

// Whether the file's first line is the header; a file of the older layout has none.
bool HasVersionHeader(std::string_view text);
// The registrations that a load of the file would show: every line but the header.
int RecordsIn(const std::string& text);

// Rewrites a save file of the older layout through the temporary file. The save
// file is replaced only by a complete converted copy; any failure leaves it as it was.
void ConvertOldSaveFile(FileSystem& files, const std::string& savePath, const std::string& tempPath);

}  // namespace tarnwick
