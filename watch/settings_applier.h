// A registration's further settings (I/O priority, memory priority, processors,
// efficiency mode), applied to each process of the program once, when the process is
// first seen and again after the settings change: never read back, so a steady tick
// opens no process for them. A setting that this Windows lacks is told once per run
// and never tried again; one that a process refuses is told once for that process,
// spends no retry and keeps nothing else from being set.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>

#include "core/program_settings.h"
#include "core/texts.h"
#include "watch/clock.h"
#include "watch/history.h"
#include "watch/process_api.h"
#include "watch/watched_listing.h"

namespace tarnwick {

class SettingsApplier {
public:
    SettingsApplier(ProcessApi& api, HistoryList& history, Clock& clock)
        : m_api(api), m_history(history), m_clock(clock) {}

    // Whether the process has settings still to take, so that it must be opened;
    // marks it seen in the tick.
    bool Pending(const ProcessKey& process, const ProgramSettings* settings, std::uint64_t tick);
    // Sets what the process has still to take; `name` is the program's as the list shows it.
    void Apply(Handle process, const ProcessKey& key, const ProgramSettings& settings, const std::string& name);
    // Forgets the processes that the tick did not see.
    void ForgetUnseenSince(std::uint64_t tick);

private:
    struct Record {
        ProgramSettings applied;
        std::uint64_t seenInTick = 0;
        bool refusedTold = false;
    };
    // One setting, with the summary part that names it in the history.
    bool ApplyOne(Handle process, Record& record, ProcessSetting setting, std::uint64_t value,
                  const ProgramSettings& named, const std::string& name);
    void Tell(Text text, const std::string& name, const std::string& what);

    ProcessApi& m_api;
    HistoryList& m_history;
    Clock& m_clock;
    std::unordered_map<ProcessKey, Record, ProcessKeyHash> m_records;
    std::array<bool, 4> m_missing{};         // by ProcessSetting: told, never tried again
    std::set<std::string> m_noProcessorsTold;  // programs whose processors none of this machine's are
};

}  // namespace tarnwick
