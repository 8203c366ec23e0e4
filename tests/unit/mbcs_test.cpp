// Code page 932 text helpers on the values that matter; the cp932 fuzz target checks
// their properties (length kept, cuts at character ends, paths split losslessly), and
// the enumerator's long names the cuts' lengths.
#include "core/mbcs.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(UpperCase, SingleByteLettersAndTheThreeFullWidthAlphabetsOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"Mixed_09-az{}.exe", "MIXED_09-AZ{}.EXE"},
        {"\xCA\xDE\xB0\xBC\xDE\xAE\xDD", "\xCA\xDE\xB0\xBC\xDE\xAE\xDD"},  // half-width katakana: single bytes
        {"\x82\x81\x82\x9A", "\x82\x60\x82\x79"},                          // full-width a, z
        {"\x83\xBF\x83\xD6", "\x83\x9F\x83\xB6"},                          // alpha, omega
        {"\x84\x70\x84\x76\x84\x7E", "\x84\x40\x84\x46\x84\x4E"},          // a, yo, o
        {"\x84\x80\x84\x91", "\x84\x4F\x84\x60"},                          // pe (after the 0x7F gap), ya
        {"\x82\x9B\x83\xD7\x84\x92", "\x82\x9B\x83\xD7\x84\x92"},  // the characters after z, omega, ya
        {"\x83\x61\x83\x7A" "a", "\x83\x61\x83\x7A" "A"},  // second bytes 0x61 and 0x7A are no letters
        {"\x95" "ab", "\x95" "aB"},                        // a lead byte takes the next byte, a letter too
        {"ab\x82", "AB\x82"},                              // a lone lead byte at the end stays
    };
    for (const auto& [text, upper] : cases) EXPECT_EQ(UpperCase(text), upper) << text;
}

TEST(SplitPath, DriveDirectoryNameAndExtension) {
    const std::pair<std::string, std::string> cases[] = {  // path, drive|directory|name|extension
        // C:\ソフト表示\エディタ.exe: ソ and 表 end in 0x5C, which is no separator there.
        {"C:\\\x83\x5C\x83\x74\x83\x67\x95\x5C\x8E\xA6\\\x83\x47\x83\x66.exe",
         "C:|\\\x83\x5C\x83\x74\x83\x67\x95\x5C\x8E\xA6\\|\x83\x47\x83\x66|.exe"},
        {"\x95\x5C", "||\x95\x5C|"},
        {"d:/a.b/c.tar.gz", "d:|/a.b/|c.tar|.gz"},
        {"\\\\server\\share\\x.exe", "|\\\\server\\share\\|x|.exe"},
        {"C:\\dir\\", "C:|\\dir\\||"},
        {"noext", "||noext|"},
    };
    for (const auto& [path, expected] : cases) {
        const PathParts parts = SplitPath(path);
        EXPECT_EQ(parts.drive + "|" + parts.directory + "|" + parts.name + "|" + parts.extension, expected) << path;
    }
}

TEST(FixedBuffers, TerminateNeverSplitsACharacter) {
    char full[6] = {'a', 'b', 'c', 'd', '\x95', '\x5C'};  // no terminator, cut inside 表
    EXPECT_EQ(TerminateInBuffer(full, sizeof full), 4u);
    EXPECT_STREQ(full, "abcd");
    char whole[6] = {'a', 'b', 'c', '\x95', '\x5C', 'x'};
    EXPECT_EQ(TerminateInBuffer(whole, sizeof whole), 5u);
    EXPECT_STREQ(whole, "abc\x95\x5C");
    char shortText[6] = "ab\x82";  // a lone lead byte in a text that was not cut stays
    EXPECT_EQ(TerminateInBuffer(shortText, sizeof shortText), 3u);
}

}  // namespace
}  // namespace tarnwick
