// Message boxes as the core needs them: a text, a caption and the Windows flags,
// answered with the id of the button pressed. The window layer shows real ones;
// tests script the answers.
#pragma once

#include <string>

namespace tarnwick {

// Windows' values, so that callers state exactly the box they mean.
enum : unsigned {
    kMbOk = 0x0,
    kMbYesNoCancel = 0x3,
    kMbYesNo = 0x4,
    kMbIconHand = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconExclamation = 0x30,
    kMbIconInformation = 0x40,
    kMbDefButton2 = 0x100,
    kMbDefButton3 = 0x200,
};
enum : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual int Show(const std::string& text, const std::string& caption, unsigned flags) = 0;
};

}  // namespace tarnwick
