#include "core/mbcs.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(UpperCase, SingleByteLettersOnly) {
    EXPECT_EQ(UpperCase("editor.exe"), "EDITOR.EXE");
    EXPECT_EQ(UpperCase("Mixed_09-az{}"), "MIXED_09-AZ{}");
    // Half-width katakana are single bytes above 0xA0 and stay.
    EXPECT_EQ(UpperCase("\xCA\xDE\xB0\xBC\xDE\xAE\xDD"), "\xCA\xDE\xB0\xBC\xDE\xAE\xDD");
}

TEST(UpperCase, FullWidthGreekAndCyrillicBoundaries) {
    EXPECT_EQ(UpperCase("\x82\x81\x82\x9A"), "\x82\x60\x82\x79");  // full-width a, z
    EXPECT_EQ(UpperCase("\x83\xBF\x83\xD6"), "\x83\x9F\x83\xB6");  // alpha, omega
    EXPECT_EQ(UpperCase("\x84\x70\x84\x76\x84\x7E"), "\x84\x40\x84\x46\x84\x4E");  // a, yo, o
    EXPECT_EQ(UpperCase("\x84\x80\x84\x91"), "\x84\x4F\x84\x60");  // pe (after the 0x7F gap), ya
}

TEST(UpperCase, EveryDoubleByteCharacterThatChangesIsALetterOfTheThreeAlphabets) {
    int changed = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            std::string text{static_cast<char>(lead), static_cast<char>(trail)};
            if (UpperCase(text) != text) ++changed;
        }
    }
    EXPECT_EQ(changed, 26 + 24 + 33);
}

TEST(UpperCase, NeverSplitsADoubleByteCharacter) {
    // The second bytes 0x61 and 0x7A are the letters a and z when read alone.
    EXPECT_EQ(UpperCase("\x83\x61\x83\x7A" "a"), "\x83\x61\x83\x7A" "A");
    // A lead byte swallows the next byte even when that is an ASCII letter.
    EXPECT_EQ(UpperCase("\x95" "a" "b"), "\x95" "aB");
    // A lone lead byte at the end stays.
    EXPECT_EQ(UpperCase("ab\x82"), "AB\x82");
}

TEST(CutToFit, KeepsDoubleByteCharactersWhole) {
    EXPECT_EQ(CutToFit("abc", 5), "abc");
    EXPECT_EQ(CutToFit("ab\x95\x5C" "c", 3), "ab");
    EXPECT_EQ(CutToFit("ab\x95\x5C" "c", 4), "ab\x95\x5C");
    EXPECT_EQ(CutToFit("abcdef", 0), "");
}

TEST(SplitPath, SecondByte5CIsNoSeparator) {
    // "C:\ソフト表示\エディタ.exe": ソ and 表 end in 0x5C.
    PathParts parts = SplitPath("C:\\\x83\x5C\x83\x74\x83\x67\x95\x5C\x8E\xA6\\\x83\x47\x83\x66.exe");
    EXPECT_EQ(parts.drive, "C:");
    EXPECT_EQ(parts.directory, "\\\x83\x5C\x83\x74\x83\x67\x95\x5C\x8E\xA6\\");
    EXPECT_EQ(parts.name, "\x83\x47\x83\x66");
    EXPECT_EQ(parts.extension, ".exe");
    EXPECT_EQ(BaseName("C:\\dir\\\x95\x5C.exe"), "\x95\x5C.exe");
    EXPECT_EQ(BaseName("\x95\x5C"), "\x95\x5C");
}

TEST(SplitPath, DotsAndSeparators) {
    PathParts parts = SplitPath("d:/a.b/c.tar.gz");
    EXPECT_EQ(parts.drive, "d:");
    EXPECT_EQ(parts.directory, "/a.b/");
    EXPECT_EQ(parts.name, "c.tar");
    EXPECT_EQ(parts.extension, ".gz");
    EXPECT_EQ(SplitPath("noext").extension, "");
    EXPECT_EQ(SplitPath("\\\\server\\share\\x.exe").directory, "\\\\server\\share\\");
    EXPECT_EQ(BaseName(""), "");
    EXPECT_EQ(BaseName("C:\\dir\\"), "");
}

}  // namespace
}  // namespace tarnwick

namespace tarnwick {
namespace {

TEST(FixedBuffers, TerminateAndCopyNeverSplitACharacter) {
    char full[6] = {'a', 'b', 'c', 'd', '\x95', '\x5C'};  // no terminator, cut inside 表
    EXPECT_EQ(TerminateInBuffer(full, sizeof full), 4u);
    EXPECT_STREQ(full, "abcd");
    char whole[6] = {'a', 'b', 'c', '\x95', '\x5C', 'x'};
    EXPECT_EQ(TerminateInBuffer(whole, sizeof whole), 5u);
    EXPECT_STREQ(whole, "abc\x95\x5C");
    char shortText[6] = "ab\x82";  // a lone lead byte in a text that was not cut stays
    EXPECT_EQ(TerminateInBuffer(shortText, sizeof shortText), 3u);
    char out[4];
    CopyToBuffer("ab\x95\x5C", out, sizeof out);
    EXPECT_STREQ(out, "ab");
    CopyToBuffer("x", out, sizeof out);
    EXPECT_STREQ(out, "x");
}

}  // namespace
}  // namespace tarnwick
