#include <cstdio>

#include "core/platform_files.h"

namespace tarnwick {

std::FILE* OpenPlatformFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

bool ReplacePlatformFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool RemovePlatformFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

}  // namespace tarnwick
