#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/utf8.h"

namespace {
int lengthOf(std::initializer_list<unsigned char> bytes) {
    std::string s(bytes.begin(), bytes.end());
    return charLength(s.c_str());
}
}  // namespace

TEST(CharLength, FollowsTheLeadByteTable) {
    EXPECT_EQ(lengthOf({}), 0);
    EXPECT_EQ(lengthOf({'a'}), 1);
    EXPECT_EQ(lengthOf({0x7F}), 1);
    EXPECT_EQ(lengthOf({0x80, 0x80}), 1);  // lone continuation: (0x80 & 0x1E) == 0
    EXPECT_EQ(lengthOf({0x82, 0x80}), 2);  // accepted although not a lead byte
    EXPECT_EQ(lengthOf({0xC0, 0x80}), 1);  // overlong
    EXPECT_EQ(lengthOf({0xC1, 0xBF}), 1);  // overlong
    EXPECT_EQ(lengthOf({0xC3, 0xA9}), 2);
    EXPECT_EQ(lengthOf({0xC3, 'a'}), 1);
    EXPECT_EQ(lengthOf({0xC3}), 1);  // cut by the terminator
    EXPECT_EQ(lengthOf({0xE2, 0x82, 0xAC}), 3);
    EXPECT_EQ(lengthOf({0xE2, 0x82}), 1);
    EXPECT_EQ(lengthOf({0xE0, 0x80, 0x80}), 1);  // overlong
    EXPECT_EQ(lengthOf({0xE0, 0xA0, 0x80}), 3);
    EXPECT_EQ(lengthOf({0xF0, 0x9F, 0x98, 0x80}), 4);
    EXPECT_EQ(lengthOf({0xF0, 0x80, 0x80, 0x80}), 1);  // overlong
    EXPECT_EQ(lengthOf({0xF0, 0x9F, 0x98}), 1);
    EXPECT_EQ(lengthOf({0xF8, 0x88, 0x80, 0x80, 0x80}), 5);
    EXPECT_EQ(lengthOf({0xF8, 0x88, 0x80, 0x80}), 1);
    EXPECT_EQ(lengthOf({0xFC, 0x84, 0x80, 0x80, 0x80, 0x80}), 6);
    EXPECT_EQ(lengthOf({0xFF, 0x80, 0x80, 0x80, 0x80, 'x'}), 1);
    EXPECT_EQ(lengthOf({0xFF}), 1);
}

TEST(CharCount, CountsCharactersStartingBeforeTheLimit) {
    EXPECT_EQ(charCount(""), 0);
    EXPECT_EQ(charCount(nullptr), 0);
    EXPECT_EQ(charCount("abc"), 3);
    EXPECT_EQ(charCount("a\xC3\xA9z"), 3);
    EXPECT_EQ(charCount("\xC0\x80"), 2);
    EXPECT_EQ(charCount("\x82\x80"), 1);
    // A character may run past the limit but still counts when it starts before it.
    EXPECT_EQ(charCount("a\xC3\xA9z", 2), 2);
    EXPECT_EQ(charCount("a\xC3\xA9z", 1), 1);
    EXPECT_EQ(charCount("abc", 0), 0);
}

TEST(ByteOffset, StepsColumnsAndStopsAtTheEnd) {
    EXPECT_EQ(byteOffset("abc", 5), 3u);
    EXPECT_EQ(byteOffset("abc", 0), 0u);
    EXPECT_EQ(byteOffset("\xC3\xA9\xC3\xA9x", 2), 4u);
    EXPECT_EQ(byteOffset("\xFF\xFEx", 2), 2u);
    EXPECT_EQ(byteOffset(nullptr, 3), 0u);
}

TEST(ByteOffset, LongAsciiRunsAndMixedText) {
    std::string mixed = std::string(20, 'a') + "\xC3\xA9" + std::string(20, 'b');
    EXPECT_EQ(byteOffset(mixed.c_str(), 20), 20u);
    EXPECT_EQ(byteOffset(mixed.c_str(), 21), 22u);
    EXPECT_EQ(byteOffset(mixed.c_str(), 41), 42u);
    EXPECT_EQ(byteOffset(mixed.c_str(), 1000), mixed.size());
    EXPECT_EQ(charCount(mixed.c_str()), 41);
    EXPECT_EQ(charCount(mixed.c_str(), 21), 21);  // the é starts at byte 20
    EXPECT_EQ(previousCharStart(mixed.c_str(), 22), 20u);
    EXPECT_EQ(previousCharStart(mixed.c_str(), 20), 19u);
    EXPECT_EQ(previousCharStart(mixed.c_str(), 0), 0u);
}

TEST(DisplayCodePoint, EveryMalformedFormShowsAsOneReplacementCharacter) {
    auto shown = [](const std::string& s) {
        std::vector<char32_t> out;
        forEachDisplayCharacter(s.data(), s.size(), [&](char32_t cp) { out.push_back(cp); });
        return out;
    };
    using V = std::vector<char32_t>;
    EXPECT_EQ(shown("A\xE2\x86\x92"), (V{U'A', U'\u2192'}));
    EXPECT_EQ(shown("\xF0\x9F\x98\x80"), (V{U'\U0001F600'}));
    EXPECT_EQ(shown("\xED\xA0\x80"), (V{kReplacementCharacter}));              // an encoded surrogate
    EXPECT_EQ(shown("\xF5\x80\x80\x80"), (V{kReplacementCharacter}));          // above U+10FFFF
    EXPECT_EQ(shown("\xF8\x88\x80\x80\x80"), (V{kReplacementCharacter}));      // five bytes
    EXPECT_EQ(shown("\xC0\x80"), (V{kReplacementCharacter, kReplacementCharacter}));
    EXPECT_EQ(shown("\x82\x80"), (V{kReplacementCharacter}));                  // counted as one character
    EXPECT_EQ(shown("\xE2\x86"), (V{kReplacementCharacter, kReplacementCharacter}));
    // The end of the range ends a sequence even when the bytes go on.
    EXPECT_EQ(shown(std::string("\xE2\x86\x92", 2)), (V{kReplacementCharacter, kReplacementCharacter}));
}

TEST(TextProperties, RandomBytesDrawOneGlyphPerCountedCharacter) {
    // Bytes weighted towards the interesting ones: leads, continuations, F5-FF and ASCII.
    const unsigned char pool[] = {'a', ' ', '\t', 0x7F, 0x80, 0x8F, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF,
                                  0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xF7, 0xF8, 0xFB, 0xFC, 0xFF};
    std::mt19937 random(12345);
    for (int round = 0; round < 20000; ++round) {
        std::string line;
        int length = static_cast<int>(random() % 24);
        for (int i = 0; i < length; ++i) line.push_back(static_cast<char>(pool[random() % sizeof pool]));
        int glyphs = 0;
        size_t consumed = 0;
        forEachDisplayCharacter(line.data(), line.size(), [&](char32_t) { ++glyphs; });
        for (const char* p = line.c_str(); *p; p += charLength(p)) consumed += static_cast<size_t>(charLength(p));
        ASSERT_EQ(glyphs, charCount(line.c_str())) << ::testing::PrintToString(line);
        ASSERT_EQ(consumed, line.size());
        // Columns and byte offsets agree with each other at every column.
        for (int column = 0; column <= glyphs; ++column)
            ASSERT_EQ(charCount(line.c_str(), static_cast<long long>(byteOffset(line.c_str(), column))), column);
        // decode steps exactly as charLength does.
        for (const char* p = line.c_str(); *p;) {
            DecodedChar c = decode(p);
            ASSERT_EQ(c.length, charLength(p));
            p += c.length;
        }
    }
}

TEST(FitOnCharacterBoundary, NeverSplitsACharacter) {
    EXPECT_EQ(fitOnCharacterBoundary("abc", 5), 3u);
    EXPECT_EQ(fitOnCharacterBoundary("ab\xC3\xA9", 3), 2u);
    EXPECT_EQ(fitOnCharacterBoundary("ab\xC3\xA9", 4), 4u);
    EXPECT_EQ(fitOnCharacterBoundary("\xF0\x9F\x98\x80z", 3), 0u);
    // Malformed bytes are characters of their own and can be cut between.
    EXPECT_EQ(fitOnCharacterBoundary("\xFF\xFE\xFD", 2), 2u);
}
