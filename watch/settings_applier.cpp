#include "watch/settings_applier.h"

#include <utility>

namespace tarnwick {

bool SettingsApplier::Pending(const ProcessKey& process, const ProgramSettings* settings, std::uint64_t tick) {
    if (!settings) return false;
    Record& record = m_records[process];  // a new process has had nothing applied
    record.seenInTick = tick;
    return record.applied != *settings;
}

void SettingsApplier::Apply(Handle process, const ProcessKey& key, const ProgramSettings& settings,
                            const std::string& name) {
    Record& record = m_records[key];
    ProgramSettings done;
    if (settings.processors) {
        // A set saved on a bigger machine takes the processors that this one has.
        const std::uint64_t machine = m_api.MachineProcessors();
        const std::uint64_t here = machine ? settings.processors & machine : settings.processors;
        if (!here) {
            if (m_noProcessorsTold.insert(name).second) {
                Tell(Text::HistoryNoProcessorsHere, name, FormatProcessors(settings.processors));
            }
        } else if (ApplyOne(process, record, ProcessSetting::Processors, here, {.processors = here}, name)) {
            done.processors = here;
        }
    }
    if (settings.io != IoPriority::NotSet &&
        ApplyOne(process, record, ProcessSetting::Io, static_cast<std::uint64_t>(settings.io), {.io = settings.io}, name)) {
        done.io = settings.io;
    }
    if (settings.memory != MemoryPriority::NotSet &&
        ApplyOne(process, record, ProcessSetting::Memory, static_cast<std::uint64_t>(settings.memory),
                 {.memory = settings.memory}, name)) {
        done.memory = settings.memory;
    }
    if (settings.efficiency != EfficiencyMode::LeftToWindows) {
        const bool on = settings.efficiency == EfficiencyMode::AlwaysOn;
        if (ApplyOne(process, record, ProcessSetting::Efficiency, on ? 1 : 0, {.efficiency = settings.efficiency}, name)) {
            done.efficiency = settings.efficiency;
        }
    }
    if (done.AnySet()) Tell(Text::HistorySettingsApplied, name, SettingsSummary(done));
    record.applied = settings;
}

bool SettingsApplier::ApplyOne(Handle process, Record& record, ProcessSetting setting, std::uint64_t value,
                               const ProgramSettings& named, const std::string& name) {
    bool& missing = m_missing[static_cast<std::size_t>(setting)];
    if (missing) return false;
    switch (m_api.SetProcessSetting(process, setting, value)) {
        case SettingOutcome::Done: return true;
        case SettingOutcome::NotOnThisSystem:
            missing = true;
            Tell(Text::HistorySettingMissing, name, SettingsSummary(named));
            return false;
        case SettingOutcome::Refused:
            if (!std::exchange(record.refusedTold, true)) Tell(Text::HistorySettingRefused, name, SettingsSummary(named));
            return false;
    }
    return false;
}

void SettingsApplier::Tell(Text text, const std::string& name, const std::string& what) {
    AddHistoryLine(m_history, TextWith(text, {TimeStamp(m_clock), name, what}));
}

void SettingsApplier::ForgetUnseenSince(std::uint64_t tick) {
    std::erase_if(m_records, [tick](const auto& record) { return record.second.seenInTick < tick; });
}

}  // namespace tarnwick
