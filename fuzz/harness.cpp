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
#include <memory>
#include <string>
#include <vector>

#include "core/mbcs.h"
#include "core/save_file.h"
#include "tests/support/registry_world.h"
#include "watch/running_programs.h"

using namespace tarnwick;
using testing::MemoryFileSystem;

namespace {

#define PROPERTY(condition)                                                                      \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                        \
        }                                                                                        \
    } while (0)

const std::string kProgram = "C:\\T\\Tarnwick.exe";
const std::string kSavePath = "C:\\T\\Tarnwick.sav";

// A monitor window without a window, over files in memory.
struct Registry : testing::RegistryWorld {
    explicit Registry(MemoryFileSystem& files) : RegistryWorld(kProgram, files) {}
    // Every row has its entry, the table holds nothing else, the texts match the boxes.
    void CheckConsistent() {
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
    first.registry.LoadTable();
    first.CheckConsistent();
    first.registry.SaveTable();
    PROPERTY(first.boxes.shown.empty());
    const std::string saved = files.files[kSavePath];
    Registry second(files);
    second.registry.LoadTable();
    second.CheckConsistent();
    PROPERTY(second.RowsAsText() == first.RowsAsText());
    second.registry.SaveTable();
    PROPERTY(files.files[kSavePath] == saved);
}

// The old layout's conversion never loses the file, and a converted file stays as it is.
void OldLayout(const std::string& input) {
    MemoryFileSystem files;
    files.files[kSavePath] = input;
    const std::string tempPath = "C:\\T\\Tarnwick.tmp";
    ConvertOldSaveFile(files, kSavePath, tempPath);
    PROPERTY(files.files.count(kSavePath) == 1);
    PROPERTY(files.files.count(tempPath) == 0);
    const std::string converted = files.files[kSavePath];
    ConvertOldSaveFile(files, kSavePath, tempPath);
    PROPERTY(files.files[kSavePath] == converted);
    Registry registry(files);
    registry.registry.LoadTable();
    registry.CheckConsistent();
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

// Version information as the input spells it: a count of translations, four bytes
// each, then the values, separated by NUL bytes, in the translations' order.
class InputVersionInfo final : public VersionInfo {
public:
    explicit InputVersionInfo(const std::string& input) {
        const std::size_t count = input.empty() ? 0 : static_cast<unsigned char>(input[0]) % 8;
        std::size_t at = 1;
        for (std::size_t i = 0; i < count && at + 4 <= input.size(); ++i, at += 4) {
            auto word = [&](std::size_t k) {
                return static_cast<std::uint16_t>(static_cast<unsigned char>(input[k]) |
                                                  static_cast<unsigned char>(input[k + 1]) << 8);
            };
            m_translations.emplace_back(word(at), word(at + 2));
        }
        std::string rest = at < input.size() ? input.substr(at) : "";
        for (std::size_t i = 0; i < m_translations.size(); ++i) {
            const std::size_t end = std::min(rest.find('\0'), rest.size());
            char query[64];
            std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\FileDescription",
                          m_translations[i].first, m_translations[i].second);
            if (!m_values.count(query)) m_values[query] = rest.substr(0, end);
            m_order.push_back(query);
            rest = end < rest.size() ? rest.substr(end + 1) : "";
        }
        m_hasTranslations = !(input.size() > 1 && input[1] == 'X');  // the query itself may fail
    }
    std::optional<std::vector<Translation>> Translations() const override {
        if (!m_hasTranslations) return std::nullopt;
        return m_translations;
    }
    std::string Value(const std::string& query) const override {
        auto found = m_values.find(query);
        return found == m_values.end() ? "" : found->second;
    }
    // The last non-empty description in the translations' order.
    std::string Expected() const {
        std::string expected;
        if (!m_hasTranslations) return expected;
        for (const std::string& query : m_order) {
            if (!Value(query).empty()) expected = Value(query);
        }
        return expected;
    }

private:
    std::vector<Translation> m_translations;
    std::map<std::string, std::string> m_values;
    std::vector<std::string> m_order;
    bool m_hasTranslations = true;
};

class InputVersionFiles final : public VersionFiles {
public:
    explicit InputVersionFiles(const std::string& input) : m_input(input) {}
    std::uint32_t InfoSize(const std::string&) override { return static_cast<std::uint32_t>(m_input.size()); }
    std::unique_ptr<VersionInfo> Read(const std::string&, std::uint32_t) override {
        return std::make_unique<InputVersionInfo>(m_input);
    }

private:
    const std::string& m_input;
};

void VersionDescription(const std::string& input) {
    InputVersionFiles files(input);
    bool noInfo = false;
    const std::string description = GetFileDescription(files, "C:\\a.exe", &noInfo);
    PROPERTY(noInfo == input.empty());
    PROPERTY(description == (input.empty() ? "" : InputVersionInfo(input).Expected()));
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
    {"save-file", SaveFile}, {"old-layout", OldLayout}, {"settings", Settings},
    {"version-description", VersionDescription}, {"cp932", Cp932},
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
