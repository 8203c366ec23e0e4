#include "core/debug_privilege.h"

#include "core/texts.h"

namespace tarnwick {

bool DebugPrivilege::Apply(bool wanted) {
    const bool switchedOn = wanted && !m_wanted;
    m_wanted = wanted;
    // A failed switch-off matters to no one: the privilege was not held then either.
    const bool switched = m_token.Switch(wanted);
    if (!switched && switchedOn) {
        m_boxes.Show(TextOf(Text::DebugPrivilegeRefused), TextOf(Text::AppName), kMbOk | kMbIconExclamation);
    }
    return switched && switchedOn;
}

}  // namespace tarnwick
