#include "app/system_folders_win.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "core/mbcs.h"
#include "win/text.h"

namespace tarnwick {

namespace {

// The folder of the account that the process runs as: with no token the shell asks
// for the process's own user, so an administrator who elevates with another
// account's password gets that account's folder. The APPDATA variable comes second:
// it is inherited from whoever started the process, which for such an elevation
// may be the other user's shell, so it serves only where the shell cannot answer.
std::wstring ApplicationDataFolder() {
    wchar_t path[MAX_PATH];
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) return path;
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

// The filtered token of the same logon when this process runs elevated with one
// (an administrator under UAC); null otherwise: not elevated, or elevated without a
// filtered twin (the built-in Administrator, UAC switched off), whose ordinary
// start is elevated as well.
HANDLE LinkedOrdinaryToken() {
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own)) return nullptr;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    TOKEN_LINKED_TOKEN linked{};
    DWORD size = 0;
    const bool found = GetTokenInformation(own, TokenElevationType, &type, sizeof type, &size) &&
                       type == TokenElevationTypeFull &&
                       GetTokenInformation(own, TokenLinkedToken, &linked, sizeof linked, &size);
    CloseHandle(own);
    return found ? linked.LinkedToken : nullptr;
}

// Whether the token may add a file to the folder, by the folder's security alone;
// nothing when that cannot be read or checked. The linked token comes at the
// identification level, which is enough for the check.
std::optional<bool> MayAddFile(HANDLE token, const std::wstring& folder) {
    constexpr SECURITY_INFORMATION parts =
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD size = 0;
    GetFileSecurityW(folder.c_str(), parts, nullptr, 0, &size);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> descriptor(size);
    if (!GetFileSecurityW(folder.c_str(), parts, descriptor.data(), size, &size)) return std::nullopt;
    GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    alignas(PRIVILEGE_SET) BYTE privileges[256];
    DWORD privilegesSize = sizeof privileges;
    DWORD granted = 0;
    BOOL allowed = FALSE;
    if (!AccessCheck(descriptor.data(), token, FILE_ADD_FILE, &mapping, reinterpret_cast<PRIVILEGE_SET*>(privileges),
                     &privilegesSize, &granted, &allowed)) {
        return std::nullopt;
    }
    return allowed != FALSE;
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

bool Win32SystemFolders::RefusedToOrdinaryStart(const std::string& folder) {
    const HANDLE ordinary = LinkedOrdinaryToken();
    if (!ordinary) return false;
    std::wstring path = Wide(folder);
    if (path.size() > 3 && path.back() == L'\\') path.pop_back();  // the folder itself, not a name inside it
    const std::optional<bool> allowed = MayAddFile(ordinary, path);
    CloseHandle(ordinary);
    return allowed == false;
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
