// Fuzz targets for every reader of outside data, one per argument, each reading one
// input from standard input (AFL++'s classic mode: scripts/fuzz.sh). Each checks
// properties, not only the absence of a crash: a failed property aborts, so that
// the fuzzer keeps the input.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/mbcs.h"
#include "core/program_settings.h"
#include "core/save_file.h"
#include "tests/support/registry_world.h"

using namespace tarnwick;
using testing::kSavePath;
using testing::kTempPath;
using testing::MemoryFileSystem;

namespace {

void Check(bool holds, const char* condition, int line) {
    if (holds) return;
    std::fprintf(stderr, "property failed: %s (%s:%d)\n", condition, __FILE__, line);
    std::abort();
}
#define PROPERTY(condition) Check(condition, #condition, __LINE__)

const std::string kProgram = "C:\\T\\Tarnwick.exe";

// A monitor window without a window, over files in memory, loaded from them: every
// row has its entry, the table holds nothing else, the texts match the boxes.
struct Registry : testing::RegistryWorld {
    explicit Registry(MemoryFileSystem& files) : RegistryWorld(kProgram, files) {
        registry.LoadTable();
        for (int row = 0; row < rows.Count(); ++row) {
            PROPERTY(registry.Programs().Find(MakeKey(rows.Text(row, kNameColumn))) != nullptr);
            PROPERTY(rows.Text(row, kWatchColumn) == (rows.Checked(row) ? "する" : "しない"));
        }
        PROPERTY(registry.Programs().Size() <= static_cast<std::size_t>(rows.Count()));
    }
};

// Load, save, load again: the second load equals the first, the second save the first.
void SaveFile(const std::string& input) {
    MemoryFileSystem files;
    files.files[kSavePath] = input;
    Registry first(files);
    first.registry.SaveTable();
    PROPERTY(first.boxes.shown.empty());
    const std::string saved = files.files[kSavePath];
    Registry second(files);
    PROPERTY(second.RowsAsText() == first.RowsAsText());
    second.registry.SaveTable();
    PROPERTY(files.files[kSavePath] == saved);
}

// The old layout's conversion never loses the file, and a converted file stays as it is.
void OldLayout(const std::string& input) {
    MemoryFileSystem files;
    files.files[kSavePath] = input;
    ConvertOldSaveFile(files, kSavePath, kTempPath);
    PROPERTY(files.files.count(kSavePath) == 1 && files.files.count(kTempPath) == 0);
    const std::string converted = files.files[kSavePath];
    ConvertOldSaveFile(files, kSavePath, kTempPath);
    PROPERTY(files.files[kSavePath] == converted);
    const Registry loaded(files);  // which then loads as any save file does
}

// Read, write, read again: the second file is the first, byte for byte.
void Settings(const std::string& input) {
    MemoryFileSystem files;
    const std::string settingsPath = "C:\\T\\Tarnwick.ini";
    files.files[settingsPath] = input;
    AppSettings first(kProgram, files);
    first.Load();
    PROPERTY(first.Save());
    const std::string written = files.files[settingsPath];
    AppSettings second(kProgram, files);
    second.Load();
    PROPERTY(second.Save());
    PROPERTY(files.files[settingsPath] == written);
    PROPERTY(second.GetSaveFilePath() == first.GetSaveFilePath());
}

// The further settings' companion file: what is read writes back to a file that reads
// the same, without a damaged line; processors read from a text write back to a text
// that reads the same.
void Companion(const std::string& input) {
    const CompanionContents read = ParseCompanionFile(input);
    NamedSettings named(read.settings.begin(), read.settings.end());
    const CompanionContents again = ParseCompanionFile(FormatCompanionFile(named));
    PROPERTY(again.settings == read.settings && again.damagedLines == 0);
    if (const std::optional<std::uint64_t> processors = ParseProcessors(input)) {
        PROPERTY(ParseProcessors(FormatProcessors(*processors)) == processors);
    }
}

// Upper-casing, cutting and path splitting of arbitrary bytes.
void Cp932(const std::string& input) {
    const std::size_t limit = input.empty() ? 0 : static_cast<unsigned char>(input[0]);
    const std::string text = input.empty() ? "" : input.substr(1);
    const std::string upper = UpperCase(text);
    PROPERTY(upper.size() == text.size());
    PROPERTY(UpperCase(upper) == upper);
    const std::string_view cut = CutToFit(text, limit);
    PROPERTY(cut.size() <= limit && text.compare(0, cut.size(), cut) == 0);
    // Cut at a character's end: walking the characters meets the cut exactly.
    std::size_t boundary = 0;
    while (boundary < cut.size()) boundary += CharLength(text, boundary);
    PROPERTY(boundary == cut.size());
    const PathParts parts = SplitPath(text);
    PROPERTY(parts.drive + parts.directory + parts.name + parts.extension == text);
    PROPERTY(BaseName(text) == parts.name + parts.extension);
    char buffer[16];
    CopyToBuffer(text, buffer, sizeof buffer);
    PROPERTY(std::string(buffer) == std::string(CutToFit(text, sizeof buffer - 1)).c_str());
}

const std::map<std::string, std::function<void(const std::string&)>> kTargets = {
    {"save-file", SaveFile}, {"old-layout", OldLayout}, {"settings", Settings}, {"cp932", Cp932},
    {"companion", Companion},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !kTargets.count(argv[1])) {
        std::fprintf(stderr, "usage: fuzz_harness TARGET < INPUT; targets:");
        for (const auto& [name, target] : kTargets) std::fprintf(stderr, " %s", name.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    const std::string input((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    kTargets.at(argv[1])(input);
    return 0;
}
