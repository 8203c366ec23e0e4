// The one place where the program's Shift_JIS texts meet Windows' UTF-16: every
// call into Windows uses the wide functions through these, never the ANSI code page.
#pragma once

#include <string>

namespace tarnwick {

inline constexpr unsigned kShiftJisCodePage = 932;

std::wstring Wide(const std::string& shiftJis);
std::string Narrow(const std::wstring& utf16);
// Into a buffer that the caller keeps, so that a loop over many names allocates once.
void NarrowInto(const wchar_t* utf16, std::size_t length, std::string& out);

}  // namespace tarnwick
