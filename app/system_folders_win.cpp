#include "app/system_folders_win.h"

#include <windows.h>
#include <shlobj.h>

#include "core/mbcs.h"
#include "win/text.h"

namespace tarnwick {

namespace {

std::wstring ApplicationDataFolder() {
    wchar_t path[MAX_PATH];
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) return path;
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

}  // namespace

std::optional<std::string> Win32SystemFolders::PerUserFolder() {
    const std::wstring appData = ApplicationDataFolder();
    if (appData.empty()) return std::nullopt;
    // The application data folder exists, so it has its short name where one is needed.
    return JoinPath(NarrowPath(appData), "Tarnwick");
}

std::vector<std::string> Win32SystemFolders::TemporaryFolders() {
    wchar_t path[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH) return {};
    // Explorer and the short-name form of %TEMP% name one folder in two ways.
    const std::wstring temporary(path, length);
    return {NarrowPath(LongPathName(temporary)), NarrowPath(ShortPathName(temporary))};
}

bool Win32SystemFolders::MakeFolder(const std::string& path) {
    return CreateDirectoryW(Wide(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::string ProgramFilePath() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    while (length == path.size()) {  // cut: try a longer buffer
        path.resize(path.size() * 2);
        length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    }
    path.resize(length);
    return NarrowPath(LongPathName(path));
}

}  // namespace tarnwick
