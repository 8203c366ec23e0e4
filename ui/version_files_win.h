// Version information of program files through the system's version functions.
#pragma once

#include <windows.h>

#include "watch/running_programs.h"

namespace tarnwick {

// version.dll is not among the libraries that Windows always takes from the system
// folder, so it is not imported: it is loaded from there at the first use and kept
// until this object goes.
class Win32VersionFiles final : public VersionFiles {
public:
    Win32VersionFiles() = default;
    ~Win32VersionFiles() override;
    Win32VersionFiles(const Win32VersionFiles&) = delete;
    Win32VersionFiles& operator=(const Win32VersionFiles&) = delete;

    std::uint32_t InfoSize(const std::string& path) override;
    std::unique_ptr<VersionInfo> Read(const std::string& path, std::uint32_t size) override;

    using GetSizeFn = DWORD(WINAPI*)(LPCWSTR path, LPDWORD ignored);
    using GetInfoFn = BOOL(WINAPI*)(LPCWSTR path, DWORD ignored, DWORD size, LPVOID block);
    using QueryValueFn = BOOL(WINAPI*)(LPCVOID block, LPCWSTR query, LPVOID* value, PUINT length);

private:
    // Whether the library and its three functions are there; tried once.
    bool Loaded();

    bool m_tried = false;
    HMODULE m_library = nullptr;
    GetSizeFn m_getSize = nullptr;
    GetInfoFn m_getInfo = nullptr;
    QueryValueFn m_queryValue = nullptr;
};

}  // namespace tarnwick
