// Small helpers for any window of the program.
#pragma once

#include <windows.h>

namespace tarnwick {

// The program's own module, where its resources lie.
HINSTANCE ModuleInstance();

// Centres a window in the work area of the screen, without changing its size,
// z-order or activation.
void CenterInWorkArea(HWND window);

}  // namespace tarnwick
