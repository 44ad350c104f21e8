#include "text/code_page.h"

#include <gtest/gtest.h>

namespace korvane::text {
namespace {

Utf16Buffer Units(std::initializer_list<std::uint8_t> bytes) {
    return Utf16Buffer(bytes);
}

TEST(LocalToUtf8, EmptyAbsentAndAscii) {
    EXPECT_EQ(LocalToUtf8(nullptr), "");
    EXPECT_EQ(LocalToUtf8(""), "");
    EXPECT_EQ(LocalToUtf8("{\"username\":\"a b~/_\"}"), "{\"username\":\"a b~/_\"}");
}

TEST(LocalToUtf8, ChineseCharacterBecomesThreeBytes) {
    const char gbk[] = "\xD6\xD0";  // 中
    EXPECT_EQ(TextToUtf16(gbk, kGbkCodePage, true), Units({0x2D, 0x4E, 0, 0}));
    EXPECT_EQ(LocalToUtf8(gbk), "\xE4\xB8\xAD");
}

TEST(LocalToUtf8, EuroSignsAreNeverCutOff) {
    // Two euro signs measure 3 bytes in code page 936 but need 7 in UTF-8 with the terminator.
    EXPECT_EQ(LocalToUtf8("\x80\x80"), "\xE2\x82\xAC\xE2\x82\xAC");
    EXPECT_EQ(LocalToUtf8("\x80\x80\x80\x80\x80"),
              "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"
              "\xE2\x82\xAC\xE2\x82\xAC");
}

TEST(TextToUtf16, AbsentAndTerminatorOnlyDiffer) {
    EXPECT_TRUE(TextToUtf16(nullptr, kGbkCodePage, true).empty());
    EXPECT_EQ(TextToUtf16("", kGbkCodePage, true), Units({0, 0}));
}

TEST(TextToUtf16, FlagClearDecodesUtf8WithAnsiSizing) {
    // "中" in UTF-8 is three bytes; the ANSI measure (two units: a character and '?', plus the
    // terminator) leaves room for the single UTF-8 character.
    const Utf16Buffer buffer = TextToUtf16("\xE4\xB8\xAD", 1252, false);
    ASSERT_EQ(buffer.size(), 6u);
    EXPECT_EQ(buffer, Units({0x2D, 0x4E, 0, 0, 0, 0}));
}

TEST(TextToUtf16, UnknownCodePageLeavesZeros) {
    EXPECT_EQ(TextToUtf16("ab", 4242, true), Units({0, 0, 0, 0, 0, 0}));
}

TEST(Utf16ToText, StopsAtFirstZeroUnit) {
    EXPECT_EQ(Utf16ToText(Units({'a', 0, 0, 0, 'b', 0, 0, 0}), kUtf8CodePage, true), "a");
    EXPECT_EQ(Utf16ToText(Units({'a', 0, 'b', 0}), kUtf8CodePage, true), "ab");
    EXPECT_EQ(Utf16ToText({}, kUtf8CodePage, true), "");
    EXPECT_EQ(Utf16ToText(Units({0, 0}), kUtf8CodePage, true), "");
}

TEST(Utf16ToText, UnrepresentableBecomesDefaultCharacter) {
    // U+00E9 exists in 936 only as a double-byte character; U+0E01 (Thai) does not exist.
    EXPECT_EQ(Utf16ToText(Units({0x01, 0x0E, 'x', 0, 0, 0}), kGbkCodePage, true), "?x");
    // A non-BMP character is one character, one replacement.
    EXPECT_EQ(Utf16ToText(Units({0x3D, 0xD8, 0x00, 0xDE, 0, 0}), kGbkCodePage, true), "?");
}

TEST(Utf16ToText, FlagClearEncodesAnsi) {
    EXPECT_EQ(Utf16ToText(Units({0x2D, 0x4E, 0, 0}), kUtf8CodePage, false), "\xD6\xD0");
}

TEST(Utf16ToText, UnknownCodePageGivesSpaces) {
    EXPECT_EQ(Utf16ToText(Units({'a', 0, 0, 0}), 4242, true), "    ");
}

TEST(Utf8ToLocal, ConvertsLiterals) {
    EXPECT_EQ(Utf8ToLocal("注册"), "\xD7\xA2\xB2\xE1");
    EXPECT_EQ(Utf8ToLocal(""), "");
    EXPECT_EQ(LocalToUtf8(Utf8ToLocal("以下为公告内容\r\n")), "以下为公告内容\r\n");
}

}  // namespace
}  // namespace korvane::text
