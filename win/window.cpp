#include "win/window.h"

#include <uxtheme.h>

#include "win/system_library.h"

namespace tarnwick {

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

void CenterInWorkArea(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& area = monitor.rcWork;
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    const int x = area.left + (area.right - area.left - width) / 2;
    const int y = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT DpiOf(HWND window) {
    static const auto getDpiForWindow =
        LoadedSystemFunction<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
    return getDpiForWindow && window ? getDpiForWindow(window) : 0;
}

int MetricAt(int index, UINT dpi) {
    static const auto forDpi =
        LoadedSystemFunction<int(WINAPI*)(int, UINT)>(L"user32.dll", "GetSystemMetricsForDpi");
    return forDpi && dpi ? forDpi(index, dpi) : GetSystemMetrics(index);
}

void UseTabBackground(HWND page) {
    // Loaded at run time and kept: the program imports only libraries that every
    // Windows has in its system folder, and the page paints through it while it lives.
    static const HMODULE uxtheme = LoadSystemLibrary(L"uxtheme.dll");
    static const auto enable =
        LibraryFunction<HRESULT(WINAPI*)(HWND, DWORD)>(uxtheme, "EnableThemeDialogTexture");
    if (enable) enable(page, ETDT_ENABLETAB);
}

void NestedLayout::Record(HWND dialog) {
    m_dialog = dialog;
    m_dpi = DpiOf(dialog);
    RECT bounds{};
    GetWindowRect(dialog, &bounds);
    m_size = {bounds.right - bounds.left, bounds.bottom - bounds.top};
    m_places.clear();
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        GetWindowRect(control, &bounds);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
        m_places.push_back({control, bounds});
    }
}

void NestedLayout::Apply(UINT dpi, HFONT font) const {
    if (!m_dialog || m_dpi == 0 || dpi == 0) return;
    // Always from the recorded layout, so that repeated changes do not add up rounding.
    const auto scale = [&](LONG value) { return MulDiv(value, static_cast<int>(dpi), static_cast<int>(m_dpi)); };
    SetWindowPos(m_dialog, nullptr, 0, 0, scale(m_size.cx), scale(m_size.cy),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const Place& place : m_places) {
        const RECT& r = place.bounds;
        SetWindowPos(place.control, nullptr, scale(r.left), scale(r.top), scale(r.right) - scale(r.left),
                     scale(r.bottom) - scale(r.top), SWP_NOZORDER | SWP_NOACTIVATE);
        if (font) SendMessageW(place.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}

}  // namespace tarnwick
