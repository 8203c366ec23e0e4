// The index of the registered programs: for each upper-cased program name the
// numbers that the watch cycle works with.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace tarnwick {

struct ProgramState {
    std::int32_t specifiedClass = 0;
    std::int32_t activeClass = 0;  // 0: no active priority
    std::int32_t watched = 0;
    std::int32_t runCount = 0;
    std::int32_t retriesLeft = -1;  // -1: no refused change pending

    friend bool operator==(const ProgramState&, const ProgramState&) = default;
};

// The key of a program name: upper-cased with the code page 932 rules. Keys are
// compared byte for byte; a directory in front of a name makes another key.
std::string MakeKey(std::string_view name);
// The same into a buffer that the caller keeps.
void MakeKeyInto(std::string_view name, std::string& key);

class ProgramTable {
public:
    ProgramState* Find(std::string_view key);
    // Inserts when the key is absent; otherwise returns the present entry unchanged
    // together with false.
    std::pair<ProgramState*, bool> Insert(const std::string& key, const ProgramState& state);
    ProgramState& FindOrAdd(const std::string& key);
    std::size_t Erase(std::string_view key);
    void Clear() { m_entries.clear(); }
    std::size_t Size() const { return m_entries.size(); }
    // Whether a watched program has an active priority: only then does the
    // foreground matter to the watch.
    bool AnyWatchedWithActivePriority() const;

private:
    // Looked up by a string_view without making a string.
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const noexcept { return std::hash<std::string_view>{}(key); }
    };
    // Node-based: the entries do not move, so pointers to them stay valid.
    std::unordered_map<std::string, ProgramState, KeyHash, std::equal_to<>> m_entries;
};

}  // namespace tarnwick
