// Version information of program files through the system's version functions.
#pragma once

#include "watch/running_programs.h"

namespace tarnwick {

class Win32VersionFiles final : public VersionFiles {
public:
    std::uint32_t InfoSize(const std::string& path) override;
    std::unique_ptr<VersionInfo> Read(const std::string& path, std::uint32_t size) override;
};

}  // namespace tarnwick
