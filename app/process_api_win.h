// The process functions of Windows itself, for the program and the Wine tests.
#pragma once

#include "watch/process_api.h"

namespace tarnwick {

class Win32ProcessApi : public ProcessApi {
public:
    bool GetVersion(OsVersion& version) override;
    bool Is64BitWindows() override;
    ModuleHandle LoadModule(const char* name) override;
    void ReleaseModule(ModuleHandle library) override;
    void* FindFunction(ModuleHandle library, const char* name) override;
    Handle OpenProcess(Dword access, Dword processId) override;
    bool LastCallWasDenied() override;
    Dword GetPriorityClass(Handle process) override;
    bool SetPriorityClass(Handle process, Dword priorityClass) override;
    SettingOutcome SetProcessSetting(Handle process, ProcessSetting setting, std::uint64_t value) override;
    std::uint64_t MachineProcessors() override;
    void CloseHandle(Handle handle) override;
    bool ProcessSession(Dword processId, Dword& session) override;
    bool InEfficiencyMode(Handle process) override;
    Dword ForegroundProcessId() override;
    Dword CurrentProcessId() override;
    Dword OwnPriorityClass() override;
    void ToShiftJis(std::u16string_view name, std::string& out) override;
};

}  // namespace tarnwick
