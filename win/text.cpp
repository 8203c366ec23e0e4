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

bool NarrowExactly(const std::wstring& utf16, std::string& out) {
    out.clear();
    if (utf16.empty()) return true;
    const int wideLength = static_cast<int>(utf16.size());
    BOOL usedDefault = FALSE;
    const int bytes = WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, utf16.data(), wideLength, nullptr, 0,
                                          "?", &usedDefault);
    out.resize(static_cast<std::size_t>(bytes));
    WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, utf16.data(), wideLength, out.data(), bytes, "?",
                        &usedDefault);
    return bytes > 0 && !usedDefault;
}

std::string NarrowPath(const std::wstring& path) {
    std::string exact;
    if (NarrowExactly(path, exact)) return exact;
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed > 0) {
        std::wstring shortPath(needed, L'\0');
        const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), needed);
        shortPath.resize(length < needed ? length : 0);
        std::string shortened;
        if (!shortPath.empty() && NarrowExactly(shortPath, shortened)) return shortened;
    }
    return exact;
}

}  // namespace tarnwick
