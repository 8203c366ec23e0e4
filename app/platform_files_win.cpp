#include <windows.h>

#include <cstdio>

#include "core/platform_files.h"
#include "win/text.h"

namespace tarnwick {

std::FILE* OpenPlatformFile(const std::string& path, const char* mode) {
    return _wfopen(Wide(path).c_str(), Wide(mode).c_str());
}

bool ReplacePlatformFile(const std::string& from, const std::string& to) {
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemovePlatformFile(const std::string& path) { return DeleteFileW(Wide(path).c_str()) != 0; }

}  // namespace tarnwick
