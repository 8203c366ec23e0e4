// The debug privilege behind the option "すべてのアプリケーションの優先度を変更可能に
// します。": with it the watch may open the programs of other users and services.
// Only an elevated administrator holds it, so a refusal is told to the user, once
// each time the option is switched on (at start too), rather than passed over.
#pragma once

#include "core/message_box.h"

namespace tarnwick {

class PrivilegeToken {
public:
    virtual ~PrivilegeToken() = default;
    // Enables or disables the privilege in this process's token; false when the
    // system refuses, also when the account does not hold the privilege at all.
    virtual bool Switch(bool enable) = 0;
};

class DebugPrivilege {
public:
    DebugPrivilege(PrivilegeToken& token, MessageBoxes& boxes) : m_token(token), m_boxes(boxes) {}
    // Brings the privilege to the option's state; true when that gained it (the
    // option switched on, and the system granted it).
    bool Apply(bool wanted);

private:
    PrivilegeToken& m_token;
    MessageBoxes& m_boxes;
    bool m_wanted = false;
};

}  // namespace tarnwick
