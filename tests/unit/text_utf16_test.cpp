#include <gtest/gtest.h>

#include "text/path_form.h"
#include "text/utf16.h"
#include "text/utf8.h"

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

TEST(Utf16ToUtf8, JoinsPairsAndStopsBeforeAnOverflowingCharacter) {
    EXPECT_EQ(utf16ToUtf8(u"a\u00E9\U0001F600"), "a\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(utf16ToUtf8(u"ab\u00E9", 3), "ab");
    EXPECT_EQ(utf16ToUtf8(std::u16string(5000, u'x'), 4095).size(), 4095u);
    // A lone surrogate is written on its own.
    EXPECT_EQ(utf16ToUtf8(u"\xD800"), "\xED\xA0\x80");
    EXPECT_EQ(utf16ToUtf8(u"\xDE00x"), "\xED\xB8\x80x");
}

TEST(StrictUtf8ToUtf16, RejectsEveryMalformedForm) {
    std::u16string wide;
    EXPECT_TRUE(utf8ToUtf16Strict("a\xF0\x9F\x98\x80", wide));
    EXPECT_EQ(wide, u"a\U0001F600");
    for (const char* bad : {"bad\xFF", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3"})
        EXPECT_FALSE(utf8ToUtf16Strict(bad, wide)) << bad;
}

TEST(SurrogateJoiner, PairsBecomeOneCharacterAndLoneHalvesStay) {
    SurrogateJoiner joiner;
    std::string out;
    joiner.feed(0xD83D, out);
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(joiner.holding());
    joiner.feed(0xDE00, out);
    EXPECT_EQ(out, "\xF0\x9F\x98\x80");
    out.clear();
    joiner.feed(0xD83D, out);
    joiner.feed(0xD83D, out);  // a second high half: the first one was alone
    EXPECT_EQ(out, "\xED\xA0\xBD");
    joiner.flush(out);
    EXPECT_EQ(out, "\xED\xA0\xBD\xED\xA0\xBD");
    EXPECT_FALSE(joiner.holding());
}

TEST(PathForm, WideCallsForValidMultiByteOrLongPaths) {
    EXPECT_FALSE(pathNeedsWideCall("C:\\plain\\ascii.txt"));
    EXPECT_TRUE(pathNeedsWideCall("C:\\\xCE\xB1.txt"));
    EXPECT_FALSE(pathNeedsWideCall("C:\\latin1-\xE9.txt"));  // not UTF-8: bytes go to the narrow call
    // Valid and invalid sequences mixed: the text is not UTF-8, so the narrow call.
    EXPECT_FALSE(pathNeedsWideCall("C:\\\xCE\xB1-\xE9.txt"));
    EXPECT_TRUE(pathNeedsWideCall(std::string(256, 'a')));
    EXPECT_FALSE(pathNeedsWideCall(std::string(255, 'a')));
}

TEST(PathForm, LongPathsGetTheirPrefixAndBackslashes) {
    std::u16string drive = u"C:/" + std::u16string(300, u'x');
    std::u16string rewritten = longPathForm(drive);
    EXPECT_EQ(rewritten.substr(0, 7), u"\\\\?\\C:\\");
    EXPECT_EQ(rewritten.find(u'/'), std::u16string::npos);
    std::u16string unc = u"\\\\server/share\\" + std::u16string(300, u'y');
    EXPECT_EQ(longPathForm(unc).substr(0, 21), u"\\\\?\\UNC\\server\\share\\");
    std::u16string shortPath = u"C:/" + std::u16string(252, u'z');
    ASSERT_EQ(shortPath.size(), 255u);
    EXPECT_EQ(longPathForm(shortPath), shortPath);
    std::u16string relative(300, u'r');
    EXPECT_EQ(longPathForm(relative), relative);
}
