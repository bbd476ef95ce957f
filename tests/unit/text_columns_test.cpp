#include <gtest/gtest.h>

#include "editor/text_columns.h"

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
