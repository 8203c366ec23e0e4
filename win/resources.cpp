#include "win/resources.h"

#include "win/window.h"

namespace tarnwick {

namespace {

LANGID g_language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

const void* LockedResource(const wchar_t* type, unsigned id) {
    HRSRC found = FindResourceExW(ModuleInstance(), type, MAKEINTRESOURCEW(id), g_language);
    if (!found) found = FindResourceW(ModuleInstance(), MAKEINTRESOURCEW(id), type);
    return found ? LockResource(LoadResource(ModuleInstance(), found)) : nullptr;
}

}  // namespace

void UseResourceLanguage(LANGID language) { g_language = language; }

const DLGTEMPLATE* DialogTemplate(unsigned id) {
    return static_cast<const DLGTEMPLATE*>(LockedResource(MAKEINTRESOURCEW(5), id));  // RT_DIALOG
}

HMENU LoadMenuResource(unsigned id) {
    const void* menu = LockedResource(MAKEINTRESOURCEW(4), id);  // RT_MENU
    return menu ? LoadMenuIndirectW(menu) : nullptr;
}

std::wstring LoadResourceString(unsigned id) {
    // Strings lie in blocks of sixteen, each a length followed by that many characters.
    const auto* entry = static_cast<const wchar_t*>(LockedResource(MAKEINTRESOURCEW(6), id / 16 + 1));  // RT_STRING
    if (!entry) return {};
    for (unsigned i = 0; i < id % 16; ++i) entry += 1 + static_cast<std::size_t>(*entry);
    return std::wstring(entry + 1, static_cast<std::size_t>(*entry));
}

HICON LoadIconSized(unsigned id, int size) {
    return static_cast<HICON>(
        LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace tarnwick
