#include "win/message_map.h"

namespace tarnwick {

MessageEvent UnpackMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    MessageEvent event{message, wParam, lParam, 0, 0};
    if (message == kWmCommand) {
        event.id = static_cast<unsigned>(wParam & 0xFFFF);
        event.code = static_cast<unsigned>((wParam >> 16) & 0xFFFF);
    } else if (message == kWmNotify && lParam != 0) {
        const auto* header = reinterpret_cast<const NotifyHeader*>(lParam);
        event.id = static_cast<unsigned>(header->idFrom);
        event.code = header->code;
    }
    return event;
}

bool ReflectToControl(std::span<const ControlBinding> bindings, const MessageEvent& event, std::intptr_t& result) {
    for (const ControlBinding& binding : bindings) {
        const bool concerns = (event.message == kWmNotify || event.message == kWmCommand)
                                  ? event.id == binding.id
                                  : event.message == kWmContextMenu && event.wParam == binding.window;
        if (concerns) return binding.control && binding.control->OnReflected(event, result);
    }
    return false;
}

}  // namespace tarnwick
