// The column arithmetic takes ASCII a block at a time and measures long texts a chunk at a
// time; these tests hold it to the plain character-by-character rule on texts that cross
// every block and chunk boundary.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <string_view>

#include "text/utf8.h"

namespace {

// The rule itself: step characters with charLength from the start.
int referenceCount(const std::string& text, long long maxBytes) {
    int count = 0;
    size_t pos = 0;
    while (pos < text.size() && static_cast<long long>(pos) < maxBytes) {
        pos += static_cast<size_t>(charLength(text.c_str() + pos));
        ++count;
    }
    return count;
}

size_t referenceOffset(const std::string& text, int column) {
    size_t pos = 0;
    for (int i = 0; i < column && pos < text.size(); ++i) pos += static_cast<size_t>(charLength(text.c_str() + pos));
    return pos;
}

// Mostly ASCII with runs of multi-byte, malformed and stray continuation bytes.
std::string randomText(std::mt19937& random, size_t length) {
    static const unsigned char kHigh[] = {0x80, 0xA9, 0xBF, 0xC0, 0xC3, 0xDF, 0xE0, 0xE2, 0xED,
                                          0xEF, 0xF0, 0xF4, 0xF8, 0xFC, 0xFF, 0x82};
    std::string text;
    while (text.size() < length) {
        unsigned kind = random() % 10;
        if (kind < 7) {
            text.append(random() % 80, static_cast<char>('a' + random() % 26));
        } else {
            size_t run = 1 + random() % 6;
            for (size_t i = 0; i < run; ++i) text.push_back(static_cast<char>(kHigh[random() % sizeof kHigh]));
        }
    }
    text.resize(length);
    return text;
}

}  // namespace

TEST(ColumnArithmetic, BlockCountingGivesTheCharacterByCharacterResults) {
    std::mt19937 random(7);
    const size_t lengths[] = {0, 1, 15, 16, 17, 63, 64, 65, 200, 16383, 16384, 16385, 16391, 40000};
    for (size_t length : lengths) {
        for (int round = 0; round < 6; ++round) {
            std::string text = randomText(random, length);
            int total = referenceCount(text, LLONG_MAX);
            ASSERT_EQ(charCount(text.c_str()), total) << length;
            ASSERT_EQ(charCount(std::string_view(text)), total) << length;
            for (int probe = 0; probe < 40; ++probe) {
                long long limit = static_cast<long long>(random() % (length + 8));
                ASSERT_EQ(charCount(text.c_str(), limit), referenceCount(text, limit)) << length << " " << limit;
                int column = static_cast<int>(random() % (static_cast<unsigned>(total) + 8));
                size_t expected = referenceOffset(text, column);
                ASSERT_EQ(byteOffset(text.c_str(), column), expected) << length << " " << column;
                ASSERT_EQ(byteOffset(std::string_view(text), column), expected);
                ColumnPosition at = columnPosition(text, column);
                ASSERT_EQ(at.byte, expected);
                ASSERT_EQ(at.column, std::min(column, total));
            }
        }
    }
}

TEST(ColumnArithmetic, PureAsciiOfAnyLengthCountsOnePerByte) {
    for (size_t length : {7u, 64u, 100000u}) {
        std::string text(length, 'x');
        EXPECT_EQ(charCount(text.c_str()), static_cast<int>(length));
        EXPECT_EQ(byteOffset(text.c_str(), 5), 5u);
        EXPECT_EQ(byteOffset(text.c_str(), INT_MAX), length);
    }
}

TEST(ColumnArithmetic, ALimitInsideACharacterStillCountsIt) {
    std::string text(70, 'a');
    text += "\xE2\x82\xAC";  // a three-byte character that starts at byte 70
    text += std::string(30, 'b');
    EXPECT_EQ(charCount(text.c_str(), 71), 71);
    EXPECT_EQ(charCount(text.c_str(), 70), 70);
    EXPECT_EQ(charCount(text.c_str(), 73), 71);
    EXPECT_EQ(charCount(text.c_str(), 74), 72);
}

TEST(ColumnArithmetic, WellFormednessDoesNotDependOnWhereAsciiBlocksFall) {
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::string text = randomText(random, 1 + random() % 400);
        if (round % 3 == 0)
            for (char& c : text)
                if (static_cast<unsigned char>(c) >= 0x80) c = 'q';
        if (round % 3 == 1) text = std::string(100, 'a') + "\xC3\xA9" + std::string(90, 'b') + "\xE2\x82\xAC";
        int kind = utf8_kind(text);
        for (size_t shift : {1u, 7u, 63u, 64u, 65u, 200u}) {
            ASSERT_EQ(utf8_kind(std::string(shift, 'z') + text), kind) << round;
            ASSERT_EQ(utf8_kind(text + std::string(shift, 'z')), kind) << round;
        }
    }
    EXPECT_EQ(utf8_kind(std::string(130, 'a')), 0);
    EXPECT_EQ(utf8_kind(std::string(130, 'a') + "\xC3\xA9"), 1);
    EXPECT_EQ(utf8_kind(std::string(130, 'a') + "\xC3"), -1);
}
