// The version box, opened from the monitor window's system menu and owned by it, so
// that the icon brings it forward as it does every other box of the window.
#pragma once

#include "res/resource.h"
#include "win/dialog.h"

namespace tarnwick {

class CAboutDlg final : public CDialog {
public:
    explicit CAboutDlg(HWND owner) : CDialog(IDD_ABOUTBOX, owner) {}
};

}  // namespace tarnwick
