#include "watch/process_query.h"

#include <algorithm>

namespace tarnwick {

namespace {

constexpr ProcessQuery::ClassTable Table(int idle, int belowNormal, int normal, int aboveNormal, int high,
                                         int realtime) {
    ProcessQuery::ClassTable table{};
    table[idle] = kIdle;
    table[belowNormal] = kBelowNormal;
    table[normal] = kNormal;
    table[aboveNormal] = kAboveNormal;
    table[high] = kHigh;
    table[realtime] = kRealtime;
    return table;
}
constexpr ProcessQuery::ClassTable kWindowsClasses = Table(4, 6, 8, 10, 13, 24);
constexpr ProcessQuery::ClassTable kWineClasses = Table(1, 5, 2, 6, 3, 4);

constexpr std::size_t kFirstBytes = 64 << 10;

}  // namespace

ProcessQuery::ProcessQuery(ProcessApi& api) : m_api(api) {
    OsVersion version;
    if (!api.GetVersion(version) || version.platformId != kPlatformNt) return;
    m_ntdll = api.LoadModule("ntdll.dll");
    if (!m_ntdll) return;
    m_query = reinterpret_cast<NtQuerySystemInformationFn>(api.FindFunction(m_ntdll, "NtQuerySystemInformation"));
    if (m_query && Query()) {
        // The base priority reported for this program's own process, read against its
        // class, names the table: no base priority has the same class in both.
        const std::int32_t own = BasePriorityOf(api.CurrentProcessId());
        const Dword ownClass = api.OwnPriorityClass();
        for (const ClassTable* table : {&kWindowsClasses, &kWineClasses}) {
            if (ownClass != 0 && ClassIn(*table, own) == ownClass) m_classes = table;
        }
    }
    if (!m_classes) {
        api.ReleaseModule(m_ntdll);
        m_ntdll = nullptr;
        m_buffer = {};
    }
}

ProcessQuery::~ProcessQuery() {
    if (m_ntdll) m_api.ReleaseModule(m_ntdll);
}

bool ProcessQuery::Query() {
    if (m_buffer.empty()) m_buffer.resize(kFirstBytes / sizeof m_buffer[0]);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const auto bytes = static_cast<Dword>(m_buffer.size() * sizeof m_buffer[0]);
        Dword needed = 0;
        const std::int32_t status = m_query(kSystemProcessInformation, m_buffer.data(), bytes, &needed);
        if (status != kStatusInfoLengthMismatch) return status >= 0;
        // Room for the processes that may start before the next call, too.
        m_buffer.resize((std::max(needed, bytes) + bytes / 2) / sizeof m_buffer[0] + 1);
    }
    return false;
}

std::int32_t ProcessQuery::BasePriorityOf(Dword processId) const {
    const auto* at = reinterpret_cast<const unsigned char*>(m_buffer.data());
    for (;;) {
        const auto& record = *reinterpret_cast<const SystemProcessRecord*>(at);
        if (record.UniqueProcessId == processId) return record.BasePriority;
        if (record.NextEntryOffset == 0) return -1;
        at += record.NextEntryOffset;
    }
}

}  // namespace tarnwick
