#include "core/debug_privilege.h"

#include "core/texts.h"

namespace tarnwick {

void DebugPrivilege::Apply(bool wanted) {
    const bool switchedOn = wanted && !m_wanted;
    m_wanted = wanted;
    // A failed switch-off matters to no one: the privilege was not held then either.
    if (!m_token.Switch(wanted) && switchedOn) {
        m_boxes.Show(TextOf(Text::DebugPrivilegeRefused), TextOf(Text::AppName), kMbOk | kMbIconExclamation);
    }
}

}  // namespace tarnwick
