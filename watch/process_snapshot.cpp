#include "watch/process_snapshot.h"

namespace tarnwick {

namespace {

template <typename Function>
Function Lookup(ProcessApi& api, ModuleHandle library, const char* name) {
    return reinterpret_cast<Function>(api.FindFunction(library, name));
}

}  // namespace

ProcessSnapshot::ProcessSnapshot(ProcessApi& api) : m_api(api) {
    OsVersion version;
    if (!api.GetVersion(version) || version.platformId != kPlatformNt) return;
    m_kernel = api.LoadModule("Kernel32.DLL");
    if (!m_kernel) return;
    m_create = Lookup<CreateToolhelp32SnapshotFn>(api, m_kernel, "CreateToolhelp32Snapshot");
    m_first = Lookup<Process32WFn>(api, m_kernel, "Process32FirstW");
    m_next = Lookup<Process32WFn>(api, m_kernel, "Process32NextW");
    m_imagePath = Lookup<QueryFullProcessImageNameFn>(api, m_kernel, "QueryFullProcessImageNameW");
    if (!m_create || !m_first || !m_next) {
        m_create = nullptr;
        m_imagePath = nullptr;
        api.ReleaseModule(m_kernel);
        m_kernel = nullptr;
    }
}

ProcessSnapshot::~ProcessSnapshot() {
    if (m_kernel) m_api.ReleaseModule(m_kernel);
}

std::size_t ProcessSnapshot::Length(const ProcessEntry32W& entry) {
    std::size_t length = 0;
    while (length < kMaxPathBytes && entry.szExeFile[length] != 0) ++length;
    return length;
}

void ListedName(ProcessApi& api, std::u16string_view image, std::string& name) {
    for (std::size_t i = image.size(); i-- > 0;) {
        if (image[i] == u'\\' || image[i] == u'/') {
            image.remove_prefix(i + 1);
            break;
        }
    }
    api.ToShiftJis(image.substr(0, kMaxPathBytes - 1), name);
    if (name.size() >= kMaxPathBytes) name.resize(CutToFit(name, kMaxPathBytes - 1).size());
}

}  // namespace tarnwick
