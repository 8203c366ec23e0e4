// How messages reach handlers: every dialog class keeps a constexpr table of
// entries {route, message or control id, notification code (0 = any), handler},
// scanned in order, first match wins. A raw window message is first unpacked into
// a MessageEvent: WM_COMMAND gives the control or command id and the notification
// code, WM_NOTIFY the same from its NMHDR. Both steps need no window.
// Before its dialog's map, a bound control wrapper is offered the notifications and
// commands that carry its id and the context menu requests for its window
// (reflection), so that a list can sort itself on a header click.
#pragma once

#include <cstdint>
#include <span>

namespace tarnwick {

inline constexpr unsigned kWmNotify = 0x004E;
inline constexpr unsigned kWmCommand = 0x0111;
inline constexpr unsigned kWmContextMenu = 0x007B;

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
    Reflected,   // in a control's own map: WM_NOTIFY that the control itself sent
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
        case Route::Reflected: return event.message == kWmNotify && (entry.code == 0 || event.code == entry.code);
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

// A control wrapper that may handle its own notifications before its dialog.
class ReflectingControl {
public:
    virtual ~ReflectingControl() = default;
    // True when the control took the event; `result` is then the message's result.
    virtual bool OnReflected(const MessageEvent&, std::intptr_t&) { return false; }
};

struct ControlBinding {
    unsigned id;            // the control's id in its dialog
    std::uintptr_t window;  // the control's window
    ReflectingControl* control;
};

// Offers the event to the control it concerns; true when that control took it.
bool ReflectToControl(std::span<const ControlBinding> bindings, const MessageEvent& event, std::intptr_t& result);

}  // namespace tarnwick
