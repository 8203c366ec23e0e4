// Shortcut files through the shell: the special folders and the shell link object,
// reached through their wide interfaces with the paths converted explicitly.
#pragma once

#include "core/shortcuts.h"

namespace tarnwick {

class Win32ShellLinks final : public ShellLinks {
public:
    std::optional<std::string> FolderPath(ShortcutFolder folder) override;
    bool Exists(const std::string& path) override;
    bool Remove(const std::string& path) override;
    bool Create(const std::string& link, const std::string& target, const std::string& workingDirectory) override;
};

}  // namespace tarnwick
