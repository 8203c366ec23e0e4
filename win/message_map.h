// How messages reach handlers: every dialog class keeps a constexpr table of
// entries {route, message or control id, notification code (0 = any), handler},
// scanned in order, first match wins. A raw window message is first unpacked into
// a MessageEvent: WM_COMMAND gives the control or command id and the notification
// code, WM_NOTIFY the same from its NMHDR. Both steps need no window.
#pragma once

#include <cstdint>
#include <span>

namespace tarnwick {

inline constexpr unsigned kWmNotify = 0x004E;
inline constexpr unsigned kWmCommand = 0x0111;

struct MessageEvent {
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    unsigned id = 0;    // WM_COMMAND and WM_NOTIFY: the control or command id
    unsigned code = 0;  // WM_COMMAND and WM_NOTIFY: the notification code
};

// The head of every WM_NOTIFY parameter (NMHDR), with Windows' layout.
struct NotifyHeader {
    void* from;
    std::uintptr_t idFrom;
    unsigned code;
};

MessageEvent UnpackMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

enum class Route {
    Message,     // a window message by number
    Registered,  // a registered window message, whose number is known at run time only
    Command,     // WM_COMMAND from a control, menu or accelerator with this id
    Notify,      // WM_NOTIFY from the control with this id
};

template <typename Window>
struct MapEntry {
    using Handler = std::intptr_t (Window::*)(const MessageEvent&);
    Route route;
    unsigned key;                 // message number or control id
    unsigned code;                // notification code; 0 matches any
    Handler handler;
    const unsigned* registered = nullptr;  // Route::Registered: where the number is kept
};

template <typename Window>
bool Matches(const MapEntry<Window>& entry, const MessageEvent& event) {
    switch (entry.route) {
        case Route::Message: return event.message == entry.key;
        case Route::Registered: return entry.registered && *entry.registered != 0 && event.message == *entry.registered;
        case Route::Command:
            return event.message == kWmCommand && event.id == entry.key && (entry.code == 0 || event.code == entry.code);
        case Route::Notify:
            return event.message == kWmNotify && event.id == entry.key && (entry.code == 0 || event.code == entry.code);
    }
    return false;
}

// Runs the first matching handler; false when none matches.
template <typename Window>
bool Dispatch(Window& window, std::span<const MapEntry<Window>> map, const MessageEvent& event, std::intptr_t& result) {
    for (const MapEntry<Window>& entry : map) {
        if (Matches(entry, event)) {
            result = (window.*entry.handler)(event);
            return true;
        }
    }
    return false;
}

}  // namespace tarnwick
