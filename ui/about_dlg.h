// The version box, opened from the monitor window's system menu.
#pragma once

#include "res/resource.h"
#include "win/dialog.h"

namespace tarnwick {

class CAboutDlg final : public CDialog {
public:
    CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}
};

}  // namespace tarnwick
