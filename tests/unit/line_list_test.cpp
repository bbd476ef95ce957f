#include "editor/line_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> texts(const LineList& lines) {
    std::vector<std::string> out;
    for (int i = 0; i < lines.count(); ++i) out.emplace_back(lines.at(i));
    return out;
}

// A block holding "one\0two\0three\0" as three shared lines.
void appendThree(LineList& lines) {
    const char bytes[] = "one\0two\0three";
    lines.appendBlock(sizeof bytes, 3, [&](char* base, auto emit) {
        std::memcpy(base, bytes, sizeof bytes);
        emit(base);
        emit(base + 4);
        emit(base + 8);
    });
}

using Texts = std::vector<std::string>;

}  // namespace

TEST(LineList, BlockLinesReadLikeOwnLines) {
    LineList lines;
    lines.insert(0, "first");
    appendThree(lines);
    EXPECT_EQ(texts(lines), (Texts{"first", "one", "two", "three"}));
    EXPECT_EQ(lines.length(3), 5u);
    EXPECT_EQ(lines.view(2), "two");
    EXPECT_EQ(lines.at(4), nullptr);
    EXPECT_EQ(lines.view(-1), "");
}

TEST(LineList, EditingALineOfABlockLeavesItsNeighboursAlone) {
    LineList lines;
    appendThree(lines);
    lines.splice(1, 1, 1, "WW", 2);
    EXPECT_EQ(texts(lines), (Texts{"one", "tWWo", "three"}));
    lines.splice(1, 100, 0, "!", 1);  // a position past the end appends
    lines.splice(0, 0, 100, "", 0);   // an erase past the end stops there
    EXPECT_EQ(texts(lines), (Texts{"", "tWWo!", "three"}));
}

TEST(LineList, SpliceCutsAndDropsInPlaceAndGrowsWhenNeeded) {
    LineList lines;
    appendThree(lines);
    lines.splice(2, 2, 3, nullptr, 0);  // cut the end off a block line
    lines.splice(0, 0, 1, nullptr, 0);  // drop the start of a block line
    EXPECT_EQ(texts(lines), (Texts{"ne", "two", "th"}));
    std::string big(10000, 'x');
    lines.splice(1, 1, 0, big.data(), big.size());
    EXPECT_EQ(lines.view(1), "t" + big + "wo");
    lines.splice(1, 1, big.size(), nullptr, 0);
    EXPECT_EQ(lines.view(1), "two");
}

TEST(LineList, TheLastLineOfABlockIsEditedWhereItWasRead) {
    LineList lines;
    std::string big(100000, 'b');
    lines.appendBlock(big.size() + 1, 1, [&](char* base, auto emit) {
        std::memcpy(base, big.c_str(), big.size() + 1);
        emit(base);
    });
    const char* where = lines.at(0);
    lines.splice(0, 5, 1, nullptr, 0);  // fits: the block becomes the line's own storage
    EXPECT_EQ(lines.at(0), where);
    EXPECT_EQ(lines.view(0), std::string(99999, 'b'));
    lines.splice(0, 3, 0, "xyz", 3);
    lines.splice(0, 0, 0, lines.at(0) + 1, 4);  // its own bytes, while it grows
    EXPECT_EQ(lines.view(0).substr(0, 12), "bbxybbbxyzbb");
    EXPECT_EQ(lines.length(0), 100006u);
    // A block line with neighbours still gets a copy of its own.
    appendThree(lines);
    lines.splice(1, 0, 0, "<", 1);
    EXPECT_EQ(lines.view(1), "<one");
    EXPECT_EQ(lines.view(2), "two");
}

TEST(LineList, ReplaceAssignsInPlaceEvenFromTheLineItself) {
    LineList lines;
    lines.insert(0, "abcdef");
    lines.insert(1, "next");
    const char* own = lines.at(0);
    lines.replace(0, own + 2, 3);  // its own bytes, shorter: fits where it is
    EXPECT_EQ(texts(lines), (Texts{"cde", "next"}));
    EXPECT_EQ(lines.at(0), own);
    lines.replace(0, lines.at(0), 3);
    EXPECT_EQ(lines.view(0), "cde");
    std::string longer(500, 'y');
    lines.replace(0, longer.c_str());
    EXPECT_EQ(lines.view(0), longer);
    EXPECT_EQ(lines.view(1), "next");
}

TEST(LineList, BatchesInsertAndReplaceManyLinesInOneStep) {
    LineList lines;
    appendThree(lines);
    LineBatch batch;
    batch.reserve(8, 3);
    batch.add("a", 1);
    batch.add(std::string_view("bb"));
    std::memcpy(batch.addUninitialized(3), "ccc", 3);
    lines.insert(1, std::move(batch));
    EXPECT_EQ(texts(lines), (Texts{"one", "a", "bb", "ccc", "two", "three"}));
    LineBatch again;
    again.add("X", 1);
    again.add("Y", 1);
    lines.replace(4, std::move(again));
    EXPECT_EQ(texts(lines), (Texts{"one", "a", "bb", "ccc", "X", "Y"}));
    LineBatch tooMany;
    for (int i = 0; i < 5; ++i) tooMany.add("z", 1);
    lines.replace(5, std::move(tooMany));  // only the lines that exist are replaced
    EXPECT_EQ(lines.count(), 6);
    EXPECT_EQ(lines.view(5), "z");
}

TEST(LineList, RemovingEveryLineOfABlockAndClearingLeaveAnEmptyList) {
    LineList lines;
    appendThree(lines);
    lines.insert(3, "own");
    lines.removeRange(0, 2);
    EXPECT_EQ(texts(lines), (Texts{"three", "own"}));
    lines.remove(0);
    lines.remove(7);  // out of range: nothing
    EXPECT_EQ(texts(lines), (Texts{"own"}));
    appendThree(lines);
    lines.clear();
    EXPECT_EQ(lines.count(), 0);
}

TEST(LineList, RevisionGrowsWithEveryChange) {
    LineList lines;
    auto last = lines.revision();
    auto grew = [&] {
        bool up = lines.revision() > last;
        last = lines.revision();
        return up;
    };
    lines.insert(0, "a");
    EXPECT_TRUE(grew());
    appendThree(lines);
    EXPECT_TRUE(grew());
    lines.replace(0, "b");
    EXPECT_TRUE(grew());
    lines.splice(1, 0, 0, "x", 1);
    EXPECT_TRUE(grew());
    lines.splice(2, 1, 5, nullptr, 0);
    EXPECT_TRUE(grew());
    LineBatch batch;
    batch.add("q", 1);
    lines.insert(0, std::move(batch));
    EXPECT_TRUE(grew());
    lines.removeRange(0, 2);
    EXPECT_TRUE(grew());
    lines.clear();
    EXPECT_TRUE(grew());
}

TEST(LineList, StretchesFollowOneBlockAtRisingAddresses) {
    LineList lines;
    appendThree(lines);
    lines.insert(3, "own");
    appendThree(lines);
    EXPECT_EQ(lines.stretchEnd(0, 6, 1000), 2);
    EXPECT_EQ(lines.stretchEnd(0, 1, 1000), 1);
    EXPECT_EQ(lines.stretchEnd(0, 6, 3), 0);  // the next line starts 4 bytes on
    EXPECT_EQ(lines.stretchEnd(3, 6, 1000), 3);
    EXPECT_EQ(lines.stretchEnd(4, 6, 1000), 6);
    EXPECT_EQ(lines.stretchStart(6, 0, 1000), 4);
    EXPECT_EQ(lines.stretchStart(2, 1, 1000), 1);
    // A pasted line between two lines of a block breaks the stretch.
    lines.insert(1, "pasted");
    EXPECT_EQ(lines.stretchEnd(0, 7, 1000), 0);
    EXPECT_EQ(lines.stretchStart(3, 0, 1000), 2);
}
