// The few file calls whose form differs by platform: a code page 932 path must
// reach Windows through its wide functions, while POSIX takes the bytes as they are.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "core/files.h"

namespace tarnwick {

std::FILE* OpenPlatformFile(const std::string& path, const char* mode);
// Sends what the system still holds of an open file's data to the disk.
bool FlushPlatformFile(std::FILE* file);
// Renames `from` to `to`, replacing an existing `to`.
bool ReplacePlatformFile(const std::string& from, const std::string& to);
bool RemovePlatformFile(const std::string& path);
std::optional<FileStamp> StampPlatformFile(const std::string& path);

}  // namespace tarnwick
