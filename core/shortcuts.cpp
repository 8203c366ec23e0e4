#include "core/shortcuts.h"

#include "core/mbcs.h"
#include "core/texts.h"

namespace tarnwick {

void UpdateShortcut(ShellLinks& links, MessageBoxes& boxes, ShortcutFolder folder, bool wanted,
                    const std::string& target, bool targetIsTemporary) {
    const std::optional<std::string> directory = links.FolderPath(folder);
    if (!directory) return;
    const std::string link = JoinPath(*directory, kShortcutName);
    if (!wanted) {
        links.Remove(link);
        return;
    }
    if (targetIsTemporary || links.Exists(link)) return;
    if (!links.Create(link, target, FolderOf(target))) {
        boxes.Show(TextOf(Text::ShortcutFailed), TextOf(Text::AppName), kMbOk);
    }
}

}  // namespace tarnwick
