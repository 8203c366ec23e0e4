#include "win/text.h"

#include <windows.h>

namespace tarnwick {

std::wstring Wide(const std::string& shiftJis) {
    if (shiftJis.empty()) return {};
    int length = MultiByteToWideChar(kShiftJisCodePage, 0, shiftJis.data(), static_cast<int>(shiftJis.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(kShiftJisCodePage, 0, shiftJis.data(), static_cast<int>(shiftJis.size()), out.data(), length);
    return out;
}

std::string Narrow(const std::wstring& utf16) {
    if (utf16.empty()) return {};
    int length = WideCharToMultiByte(kShiftJisCodePage, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kShiftJisCodePage, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), length, nullptr,
                        nullptr);
    return out;
}

}  // namespace tarnwick
