// The shortcuts "Tarnwick.lnk" on the desktop and in the Startup folder, kept in
// step with the two options when the options dialog is accepted. A shortcut that
// exists is never replaced; only a cleared option removes it.
#pragma once

#include <optional>
#include <string>

#include "core/message_box.h"

namespace tarnwick {

// The shell's special folders, by their CSIDL values.
enum class ShortcutFolder : int { Desktop = 0, Startup = 7 };

class ShellLinks {
public:
    virtual ~ShellLinks() = default;
    // The folder's file system path; nothing when the shell cannot tell it.
    virtual std::optional<std::string> FolderPath(ShortcutFolder folder) = 0;
    virtual bool Exists(const std::string& path) = 0;
    virtual bool Remove(const std::string& path) = 0;
    // Writes a shortcut file through the shell link object; false on any failure.
    virtual bool Create(const std::string& link, const std::string& target, const std::string& workingDirectory) = 0;
};

inline constexpr const char* kShortcutName = "Tarnwick.lnk";

// Creates (when wanted and missing) or removes the folder's shortcut to `target`.
// A failed creation is reported with a message box; a failed removal is not. A
// target in a temporary folder gets no shortcut: the folder is emptied later.
void UpdateShortcut(ShellLinks& links, MessageBoxes& boxes, ShortcutFolder folder, bool wanted,
                    const std::string& target, bool targetIsTemporary = false);

}  // namespace tarnwick
