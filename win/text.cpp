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
    std::string out;
    NarrowInto(utf16.data(), utf16.size(), out);
    return out;
}

void NarrowInto(const wchar_t* utf16, std::size_t length, std::string& out) {
    out.clear();
    if (length == 0) return;
    const int wideLength = static_cast<int>(length);
    const int bytes = WideCharToMultiByte(kShiftJisCodePage, 0, utf16, wideLength, nullptr, 0, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(bytes));
    WideCharToMultiByte(kShiftJisCodePage, 0, utf16, wideLength, out.data(), bytes, nullptr, nullptr);
}

}  // namespace tarnwick
