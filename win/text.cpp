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

namespace {

// GetShortPathNameW or GetLongPathNameW: the path's other form where it exists,
// else the path as it is.
std::wstring OtherPathForm(DWORD(WINAPI* convert)(LPCWSTR, LPWSTR, DWORD), const std::wstring& path) {
    const DWORD needed = convert(path.c_str(), nullptr, 0);
    if (needed == 0) return path;
    std::wstring other(needed, L'\0');
    const DWORD length = convert(path.c_str(), other.data(), needed);
    if (length == 0 || length >= needed) return path;
    other.resize(length);
    return other;
}

}  // namespace

std::wstring ShortPathName(const std::wstring& path) { return OtherPathForm(GetShortPathNameW, path); }

std::wstring LongPathName(const std::wstring& path) { return OtherPathForm(GetLongPathNameW, path); }

std::string NarrowPath(const std::wstring& path) {
    std::string exact;
    if (NarrowExactly(path, exact)) return exact;
    std::string shortened;
    return NarrowExactly(ShortPathName(path), shortened) ? shortened : exact;
}

}  // namespace tarnwick
