#include "core/program_table.h"

#include "core/mbcs.h"

namespace tarnwick {

std::string MakeKey(std::string_view name) { return UpperCase(name); }

void MakeKeyInto(std::string_view name, std::string& key) { UpperCaseInto(name, key); }

ProgramState* ProgramTable::Find(std::string_view key) {
    auto found = m_entries.find(key);
    return found == m_entries.end() ? nullptr : &found->second;
}

std::pair<ProgramState*, bool> ProgramTable::Insert(const std::string& key, const ProgramState& state) {
    auto [where, inserted] = m_entries.try_emplace(key, state);
    return {&where->second, inserted};
}

ProgramState& ProgramTable::FindOrAdd(const std::string& key) { return *Insert(key, ProgramState{}).first; }

bool ProgramTable::AnyWatchedWithActivePriority() const {
    for (const auto& [key, state] : m_entries) {
        if (state.watched != 0 && state.activeClass != 0) return true;
    }
    return false;
}

std::size_t ProgramTable::Erase(std::string_view key) {
    auto found = m_entries.find(key);
    if (found == m_entries.end()) return 0;
    m_entries.erase(found);
    return 1;
}

}  // namespace tarnwick
