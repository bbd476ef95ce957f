#include <gtest/gtest.h>

#include "curses/utf8_text.h"

namespace {
DecodedChar decodeBytes(const std::string& s) { return decode(s.c_str()); }
}  // namespace

TEST(Utf8Decode, MalformedAndOverlongSequencesAreSingleBytes) {
    EXPECT_EQ(decodeBytes("\xC0\x80").codePoint, 0xC0);
    EXPECT_EQ(decodeBytes("\xC0\x80").length, 1);
    EXPECT_EQ(decodeBytes("\x80").codePoint, 0x80);
    DecodedChar euro = decodeBytes("\xE2\x82\xAC");
    EXPECT_EQ(euro.codePoint, 0x20AC);
    EXPECT_EQ(euro.length, 3);
    EXPECT_EQ(decodeBytes("\xE0\x80\x80").length, 1);
    EXPECT_EQ(decodeBytes("\xE0\x80\x80").codePoint, 0xE0);
    DecodedChar five = decodeBytes("\xF8\x88\x80\x80\x80");
    EXPECT_EQ(five.codePoint, '_');
    EXPECT_EQ(five.length, 5);
    DecodedChar emoji = decodeBytes("\xF0\x9F\x98\x80");
    EXPECT_EQ(emoji.codePoint, 0x1F600);
    EXPECT_EQ(decodeBytes("").length, 0);
    EXPECT_EQ(decodeBytes("\xC3\xA9").codePoint, 0xE9);
}

TEST(Utf8Encode, WritesTheUsualLayoutAndRefusesBadInput) {
    char b[8] = {};
    EXPECT_EQ(encode('A', b, 8), 1);
    EXPECT_EQ(encode(0xE9, b, 8), 2);
    EXPECT_EQ(std::string(b, 2), "\xC3\xA9");
    EXPECT_EQ(encode(0x20AC, b, 8), 3);
    EXPECT_EQ(std::string(b, 3), "\xE2\x82\xAC");
    EXPECT_EQ(encode(0x1F600, b, 8), 4);
    EXPECT_EQ(std::string(b, 4), "\xF0\x9F\x98\x80");
    EXPECT_EQ(encode(0x20AC, b, 2), 0);
    EXPECT_EQ(encode(-1, b, 8), -1);
    EXPECT_EQ(encode(0x200000, b, 8), -1);
    // Every code point survives a round trip through decode.
    for (int cp : {0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x10FFFF}) {
        char t[8] = {};
        encode(cp, t, 7);
        EXPECT_EQ(decode(t).codePoint, cp);
    }
}

TEST(Utf8ToUtf16, FillsAFixedBufferWithSurrogatePairs) {
    char16_t buffer[8];
    EXPECT_EQ(to_utf16(buffer, sizeof buffer, "a\xC3\xA9\xF0\x9F\x98\x80"), 4);
    EXPECT_EQ(buffer[0], u'a');
    EXPECT_EQ(buffer[1], 0xE9);
    EXPECT_EQ(buffer[2], 0xD83D);
    EXPECT_EQ(buffer[3], 0xDE00);
    EXPECT_EQ(buffer[4], 0);
    // Seven units of room: the pair does not fit after six single units.
    EXPECT_EQ(to_utf16(buffer, sizeof buffer, "abcdef\xF0\x9F\x98\x80"), 6);
    EXPECT_EQ(to_utf16(buffer, sizeof buffer, "\xF8\x88\x80\x80\x80x"), 2);
    EXPECT_EQ(buffer[0], u'_');
    EXPECT_EQ(to_utf16(buffer, sizeof buffer, "0123456789"), 7);
    EXPECT_EQ(buffer[7], 0);
}

TEST(Utf8Kind, TellsAsciiValidAndInvalid) {
    EXPECT_EQ(utf8_kind(nullptr), 0);
    EXPECT_EQ(utf8_kind(""), 0);
    EXPECT_EQ(utf8_kind("plain ascii"), 0);
    EXPECT_EQ(utf8_kind("caf\xC3\xA9"), 1);
    EXPECT_EQ(utf8_kind("\xCE\xB1\xE6\xBC\xA2\xF0\x9F\x98\x80"), 1);
    EXPECT_EQ(utf8_kind("ok\xFF"), -1);
    EXPECT_EQ(utf8_kind("\xC0\x80"), -1);
    EXPECT_EQ(utf8_kind("\xE0\x80\x80"), -1);
    EXPECT_EQ(utf8_kind("\xC3"), -1);
    EXPECT_EQ(utf8_kind("\x80"), -1);
}

TEST(Utf8ToWide, GivesUpOnLatin1AndDropsStrayBytesFromMostlyGoodText) {
    EXPECT_FALSE(to_wide("caf\xE9 cr\xE8me br\xFBl\xE9\x65").has_value());
    EXPECT_FALSE(to_wide("ascii with one stray \xE9").has_value());
    auto greek = to_wide("\xCE\xB1\xCE\xB2\xCE\xB3");
    ASSERT_TRUE(greek.has_value());
    EXPECT_EQ(*greek, u"\u03B1\u03B2\u03B3");
    auto ascii = to_wide("plain");
    ASSERT_TRUE(ascii.has_value());
    EXPECT_EQ(*ascii, u"plain");
    // Mostly good UTF-8 with one stray byte: the stray byte is dropped.
    auto mixed = to_wide("\xCE\xB1\xCE\xB2\xCE\xB3\xCE\xB4\xCE\xB5\xCE\xB6\xFFx");
    ASSERT_TRUE(mixed.has_value());
    EXPECT_EQ(*mixed, u"\u03B1\u03B2\u03B3\u03B4\u03B5\u03B6x");
    auto emoji = to_wide("\xF0\x9F\x98\x80");
    ASSERT_TRUE(emoji.has_value());
    EXPECT_EQ(emoji->size(), 2u);
}
