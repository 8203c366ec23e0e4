// The system's process information query (NtQuerySystemInformation, found in ntdll
// at run time): one call gives every process's id, image name and base priority, so
// the watch cycle knows each process's class without opening any. Windows reports
// the base priority of the class (idle 4 ... realtime 24); Wine 8 reports its own
// index of the class instead. The two are told apart by this program's own process,
// whose class it reads (whatever the class it was started at: below normal from the
// Task Scheduler, idle from a parent at idle); where the base priority reported for
// it fits neither table, the query is not used.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "watch/process_api.h"
#include "watch/process_snapshot.h"

namespace tarnwick {

class ProcessQuery {
public:
    explicit ProcessQuery(ProcessApi& api);
    ~ProcessQuery();
    ProcessQuery(const ProcessQuery&) = delete;
    ProcessQuery& operator=(const ProcessQuery&) = delete;

    bool Available() const { return m_classes != nullptr; }

    // One process of a query, as a visit sees it.
    struct Process {
        Dword id;
        const char* name;     // see ListedName; valid during the visit only
        Dword priorityClass;  // 0 where the base priority names none of the six
        Dword session;
        std::int64_t created;  // creation time: with the id, it tells a process from a later one of that id
    };

    // Calls visit(process) for every process of one query that has a name until it
    // returns false. False when the query fails. The records lie in one buffer that
    // the next query overwrites: a visit that lists again must stop this walk by
    // returning false.
    template <typename Visit>
    bool ForEach(Visit&& visit) {
        if (!Query()) return false;
        std::string name;
        const auto* at = reinterpret_cast<const unsigned char*>(m_buffer.data());
        for (;;) {
            const auto& record = *reinterpret_cast<const SystemProcessRecord*>(at);
            const Dword next = record.NextEntryOffset;
            ListedName(m_api, std::u16string_view(record.ImageName, record.ImageName ? record.ImageNameLength / 2 : 0),
                       name);
            if (!name.empty() && !visit(Process{static_cast<Dword>(record.UniqueProcessId), name.c_str(),
                                                ClassOf(record.BasePriority), record.SessionId, record.CreateTime})) {
                return true;
            }
            if (next == 0) return true;
            at += next;
        }
    }

    // The class of each base priority up to realtime's 24; 0 for the others.
    using ClassTable = std::array<Dword, 25>;

private:
    // Fills the buffer, growing it while the system says that it is too small.
    bool Query();
    // The base priority that the query reports for a process; -1 when it lists none.
    std::int32_t BasePriorityOf(Dword processId) const;
    Dword ClassOf(std::int32_t basePriority) const { return ClassIn(*m_classes, basePriority); }
    static Dword ClassIn(const ClassTable& table, std::int32_t basePriority) {
        return basePriority >= 0 && static_cast<std::size_t>(basePriority) < table.size()
                   ? table[static_cast<std::size_t>(basePriority)]
                   : 0;
    }

    ProcessApi& m_api;
    ModuleHandle m_ntdll = nullptr;
    NtQuerySystemInformationFn m_query = nullptr;
    const ClassTable* m_classes = nullptr;  // Windows' or Wine's
    std::vector<std::uint64_t> m_buffer;   // kept between queries; 8-byte aligned as the records are
};

}  // namespace tarnwick
