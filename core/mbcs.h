// Byte-string helpers for code page 932 (Shift_JIS): the program keeps every text
// as Shift_JIS bytes, so anything that walks a text character by character must
// never split a double-byte character or take its second byte for a backslash.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarnwick {

// First byte of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length in bytes of the character starting at text[i]: 2 for a lead byte that has
// a byte after it, else 1 (a lone lead byte at the end counts as one character).
std::size_t CharLength(std::string_view text, std::size_t i);

// Upper-cases single-byte a-z and the full-width Latin, Greek and Cyrillic small
// letters; every other byte, half-width katakana included, stays as it is.
std::string UpperCase(std::string_view text);
void UpperCaseInto(std::string_view text, std::string& out);

// Longest prefix of text that fits in limit bytes without ending inside a
// double-byte character.
std::string_view CutToFit(std::string_view text, std::size_t limit);

// Makes a fixed-size buffer that a system call filled a proper text: terminated
// within the buffer, and when the text filled it (so it may have been cut), not
// ending in half a double-byte character. Returns the text's length.
std::size_t TerminateInBuffer(char* buffer, std::size_t size);

// Copies text into a fixed-size buffer, cut to fit without splitting a character.
void CopyToBuffer(std::string_view text, char* buffer, std::size_t size);

// A path cut into its parts the way the C library's _splitpath does, with
// backslashes and slashes as separators and double-byte characters kept whole.
struct PathParts {
    std::string drive;      // "C:" or empty
    std::string directory;  // up to and including the last separator
    std::string name;       // file name without extension
    std::string extension;  // from the last dot of the file name, dot included
};
PathParts SplitPath(std::string_view path);

// File name and extension of a path ("C:\\dir\\Editor.exe" gives "Editor.exe").
std::string BaseName(std::string_view path);

// Drive and directory of a path, with the closing backslash ("C:\\T\\a.sav" gives "C:\\T\\").
std::string FolderOf(std::string_view path);

// The directory followed by the name, with one backslash between them: none is
// added when the directory already ends in one (a second byte 0x5C is no backslash).
std::string JoinPath(std::string_view directory, std::string_view name);

}  // namespace tarnwick
