// Small helpers for any window of the program.
#pragma once

#include <windows.h>

#include <vector>

namespace tarnwick {

// The program's own module, where its resources lie.
HINSTANCE ModuleInstance();

// Centres a window in the work area of the monitor it is on (the nearest one when
// it is off every screen), without changing its size, z-order or activation.
void CenterInWorkArea(HWND window);

// The DPI of a window (Windows 10 1607 and later), or 0 where it cannot be known.
UINT DpiOf(HWND window);
// A system metric at a DPI; at the system's DPI where that cannot be asked for (0).
int MetricAt(int index, UINT dpi);

// Gives a dialog shown as a tab control's page the tab's themed background, so that
// it looks like part of the tab rather than a grey block on it. Where themes are
// off or uxtheme is missing the page keeps the dialog colour, which then matches.
void UseTabBackground(HWND page);

// The size of a dialog nested in a control (a tab's page) and its controls' places
// at the DPI it was made at. The dialog manager scales a dialog and its own controls
// for a new DPI, not a dialog inside one of them: this lays such a dialog out again.
class NestedLayout {
public:
    // Notes the dialog's layout as it stands, after its initialisation.
    void Record(HWND dialog);
    // Sizes the dialog and places its controls for `dpi`, in `font` (the outer
    // dialog's, which has the same face and size; null keeps the controls' fonts).
    // Nothing before Record, or where the DPI of a window cannot be known.
    void Apply(UINT dpi, HFONT font) const;

private:
    struct Place {
        HWND control;
        RECT bounds;  // in the dialog's client coordinates
    };
    HWND m_dialog = nullptr;
    UINT m_dpi = 0;
    SIZE m_size{};
    std::vector<Place> m_places;
};

}  // namespace tarnwick
