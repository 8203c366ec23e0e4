#include "core/program_settings.h"

#include <array>
#include <utility>

#include "core/files.h"
#include "core/mbcs.h"
#include "core/program_table.h"
#include "core/save_file.h"
#include "core/texts.h"

namespace tarnwick {

namespace {

constexpr int kMaxProcessors = 64;  // one processor group

// The words that the companion file keeps for each value, indexed as the enums count
// from their first set value; "" is not set.
constexpr std::array<const char*, 3> kIoWords = {"verylow", "low", "normal"};
constexpr std::array<const char*, 5> kMemoryWords = {"verylow", "low", "medium", "belownormal", "normal"};
constexpr std::array<const char*, 2> kEfficiencyWords = {"off", "on"};

// The index of the word among the words: -1 for the empty text, nothing for an unknown word.
template <std::size_t count>
std::optional<int> WordIndex(const std::array<const char*, count>& words, std::string_view word) {
    if (word.empty()) return -1;
    for (std::size_t i = 0; i < count; ++i) {
        if (word == words[i]) return static_cast<int>(i);
    }
    return std::nullopt;
}

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// A processor number of one or two digits below 64.
std::optional<int> ProcessorNumber(std::string_view text) {
    text = TrimSpaces(text);
    if (text.empty() || text.size() > 2) return std::nullopt;
    int number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return number < kMaxProcessors ? std::optional(number) : std::nullopt;
}

}  // namespace

std::optional<std::uint64_t> ParseProcessors(std::string_view text) {
    std::uint64_t set = 0;
    if (TrimSpaces(text).empty()) return set;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const std::size_t dash = item.find('-');
        const std::optional<int> first = ProcessorNumber(item.substr(0, dash));
        const std::optional<int> last = dash == std::string_view::npos ? first : ProcessorNumber(item.substr(dash + 1));
        if (!first || !last || *first > *last) return std::nullopt;
        for (int n = *first; n <= *last; ++n) set |= std::uint64_t{1} << n;
        if (comma == std::string_view::npos) return set;
        text.remove_prefix(comma + 1);
    }
}

std::string FormatProcessors(std::uint64_t processors) {
    std::string text;
    for (int n = 0; n < kMaxProcessors; ++n) {
        if (!(processors >> n & 1)) continue;
        int last = n;
        while (last + 1 < kMaxProcessors && (processors >> (last + 1) & 1)) ++last;
        if (!text.empty()) text += ',';
        text += std::to_string(n);
        if (last > n) {
            text += '-';
            text += std::to_string(last);
        }
        n = last;
    }
    return text;
}

std::string SettingsSummary(const ProgramSettings& settings) {
    std::string summary;
    const auto add = [&summary](const std::string& part) {
        if (!summary.empty()) summary += ", ";
        summary += part;
    };
    if (settings.io != IoPriority::NotSet) {
        add(TextWith(Text::SettingIo, {TextOf(static_cast<Text>(static_cast<int>(Text::IoVeryLow) +
                                                                 static_cast<int>(settings.io)))}));
    }
    if (settings.memory != MemoryPriority::NotSet) {
        add(TextWith(Text::SettingMemory, {TextOf(static_cast<Text>(static_cast<int>(Text::MemoryVeryLow) +
                                                                     static_cast<int>(settings.memory) - 1))}));
    }
    if (settings.processors) add(TextWith(Text::SettingProcessors, {FormatProcessors(settings.processors)}));
    if (settings.efficiency == EfficiencyMode::AlwaysOff) add(TextOf(Text::EfficiencyOff));
    if (settings.efficiency == EfficiencyMode::AlwaysOn) add(TextOf(Text::EfficiencyOn));
    return summary;
}

std::string CompanionPath(const std::string& savePath) {
    const std::string name = BaseName(savePath);
    const std::size_t dot = name.rfind('.');
    const std::string stem = savePath.substr(0, savePath.size() - (dot == std::string::npos ? 0 : name.size() - dot));
    const std::string companion = stem + ".more";
    return companion == savePath ? savePath + ".more" : companion;
}

std::string FormatCompanionFile(const NamedSettings& settings) {
    std::string out = std::string(kCompanionVersion) + "\r\n";
    for (const auto& [name, set] : settings) {
        if (!set.AnySet()) continue;
        out += name;
        out += ',';
        if (set.io != IoPriority::NotSet) out += kIoWords[static_cast<std::size_t>(set.io)];
        out += ',';
        if (set.memory != MemoryPriority::NotSet) out += kMemoryWords[static_cast<std::size_t>(set.memory) - 1];
        out += ',';
        if (set.efficiency != EfficiencyMode::LeftToWindows) {
            out += kEfficiencyWords[static_cast<std::size_t>(set.efficiency) - 1];
        }
        out += ',';
        out += FormatProcessors(set.processors);
        out += "\r\n";
    }
    return out;
}

CompanionContents ParseCompanionFile(const std::optional<std::string>& text) {
    CompanionContents contents;
    if (!text) return contents;
    bool header = true;
    ForEachLine(*text, [&](std::string_view line) {
        if (std::exchange(header, false)) {
            // Another version's file may mean anything by its fields: none is taken.
            if (line == kCompanionVersion) return true;
            contents.damagedLines = 1;
            return false;
        }
        const auto fields = SplitFields<4>(line);
        const std::optional<int> io = WordIndex(kIoWords, fields[1]);
        const std::optional<int> memory = WordIndex(kMemoryWords, fields[2]);
        const std::optional<int> efficiency = WordIndex(kEfficiencyWords, fields[3]);
        const std::optional<std::uint64_t> processors = ParseProcessors(fields[4]);
        ProgramSettings settings;
        if (io && memory && efficiency && processors) {
            settings = {static_cast<IoPriority>(*io), static_cast<MemoryPriority>(*memory < 0 ? -1 : *memory + 1),
                        *processors, static_cast<EfficiencyMode>(*efficiency + 1)};
        }
        if (fields[0].empty() || !settings.AnySet()) {
            ++contents.damagedLines;
        } else {
            contents.settings[MakeKey(fields[0])] = settings;
        }
        return true;
    });
    return contents;
}

}  // namespace tarnwick
