// The folders that Windows names for the program: the user's application data
// folder and the temporary folder, as code page 932 paths (short names where the
// long ones hold characters outside it).
#pragma once

#include <string>

#include "core/file_places.h"

namespace tarnwick {

class Win32SystemFolders final : public SystemFolders {
public:
    std::optional<std::string> PerUserFolder() override;
    std::vector<std::string> TemporaryFolders() override;
    bool MakeFolder(const std::string& path) override;
    bool RefusedToOrdinaryStart(const std::string& folder) override;
};

// The running program file's full path, long names first.
std::string ProgramFilePath();

}  // namespace tarnwick
