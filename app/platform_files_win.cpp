#include <windows.h>
#include <io.h>

#include <cstdio>

#include "core/platform_files.h"
#include "win/text.h"

namespace tarnwick {

namespace {

// What a scanner, an indexer or a sync client holding the file for a moment looks like.
bool HeldByAnother(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

constexpr int kReplaceAttempts = 10;
constexpr DWORD kReplaceWaitMs = 50;

}  // namespace

std::FILE* OpenPlatformFile(const std::string& path, const char* mode) {
    return _wfopen(Wide(path).c_str(), Wide(mode).c_str());
}

bool FlushPlatformFile(std::FILE* file) {
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
}

bool ReplacePlatformFile(const std::string& from, const std::string& to) {
    const std::wstring source = Wide(from), target = Wide(to);
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        if (attempt == kReplaceAttempts || !HeldByAnother(GetLastError())) return false;
        Sleep(kReplaceWaitMs);
    }
}

bool RemovePlatformFile(const std::string& path) { return DeleteFileW(Wide(path).c_str()) != 0; }

std::optional<FileStamp> StampPlatformFile(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return std::nullopt;
    }
    return FileStamp{(static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                     (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                         data.ftLastWriteTime.dwLowDateTime};
}

}  // namespace tarnwick
