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
// Converts without best-fit substitutes: false when a character has no code page
// 932 form (it becomes '?', which no file name holds, so the text names no file).
bool NarrowExactly(const std::wstring& utf16, std::string& out);
// The short (8.3) and the long form of an existing path; the path itself where the
// file system has no such form.
std::wstring ShortPathName(const std::wstring& path);
std::wstring LongPathName(const std::wstring& path);
// An existing file or folder of the program's own as code page 932 can hold it: the
// path itself, or else its short name (ASCII where the volume keeps short names).
// Where neither fits, the '?' form: every use then fails instead of reaching another path.
std::string NarrowPath(const std::wstring& path);

}  // namespace tarnwick
