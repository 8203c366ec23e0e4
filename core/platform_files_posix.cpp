#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "core/platform_files.h"

namespace tarnwick {

std::FILE* OpenPlatformFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

bool FlushPlatformFile(std::FILE* file) { return fsync(fileno(file)) == 0; }

bool ReplacePlatformFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool RemovePlatformFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

std::optional<FileStamp> StampPlatformFile(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(status.st_size),
                     static_cast<std::uint64_t>(status.st_mtim.tv_sec) * 1'000'000'000u +
                         static_cast<std::uint64_t>(status.st_mtim.tv_nsec)};
}

}  // namespace tarnwick
