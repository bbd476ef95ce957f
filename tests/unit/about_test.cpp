#include <gtest/gtest.h>

#include "app/windows/about_animation.h"
#include "app/windows/about_credits.h"

namespace {

AboutAnimation animation() {
    CreditsTable table = aboutCredits("Dec  9 2026 01:02:03", std::string(40, 'a'));
    return AboutAnimation(kCreditLineCount, separatorIndexes(table.lines));
}

int topOf(const AboutAnimation::Frame& frame, int index) {
    for (const CreditPlacement& p : frame.lines)
        if (p.index == index) return p.top;
    return -1000;
}

}  // namespace

TEST(AboutCredits, SeventyOneLinesWithTheGroupsInTheirPlaces) {
    CreditsTable table = aboutCredits("Dec  9 2026 01:02:03", std::string(40, 'f'));
    ASSERT_EQ(table.lines.size(), 71u);
    EXPECT_EQ(separatorIndexes(table.lines), (std::vector<int>{4, 7, 11, 14, 18, 40, 46, 50, 54, 57, 65, 68}));
    EXPECT_EQ(table.lines[0], "Orvane");
    EXPECT_EQ(table.lines[1], "Version: 1.04 (x64)");
    EXPECT_EQ(table.lines[2], "Build timestamp: Dec  9 2026 01:02:03");
    EXPECT_EQ(table.lines[3], "Git commit: " + std::string(40, 'f'));
    EXPECT_EQ(table.lines[5], "Developed by:");
    EXPECT_EQ(table.lines[6], "The Orvane developers");
    EXPECT_EQ(table.lines[15], "cJSON:");
    EXPECT_EQ(table.lines[19], "libpng:");
    EXPECT_EQ(table.lines[47], "zlib:");
    EXPECT_EQ(table.lines[51], "Windows installer:");
    EXPECT_EQ(table.lines[52], "Nullsoft Scriptable Install System (NSIS)");
    EXPECT_EQ(table.lines[53], "Compressor | ZLIB");
    EXPECT_EQ(table.lines[55], "Windows portable:");
    EXPECT_EQ(table.lines[56], "Archive format | ZIP");
    EXPECT_EQ(table.lines[59], "for their assistance:");
    EXPECT_EQ(table.lines[63], "and");
    EXPECT_EQ(table.lines[66], "Contact | email:");
    EXPECT_EQ(table.lines[69], "Orvane");
    // The names that have a form in another script while Ctrl is held.
    EXPECT_FALSE(table.alternative[0].empty());
    EXPECT_FALSE(table.alternative[6].empty());
    EXPECT_TRUE(table.alternative[1].empty());
}

TEST(AboutAnimation, FirstFrameDrawsTheNameAndVersionAndFixesTheEndPoint) {
    AboutAnimation a = animation();
    AboutAnimation::Frame first = a.frame();
    EXPECT_EQ(first.alpha, 255);
    ASSERT_EQ(first.lines.size(), 2u);
    EXPECT_EQ(topOf(first, 0), 194);
    EXPECT_EQ(topOf(first, 1), 210);
    EXPECT_EQ(a.endPoint(), 1761);
    EXPECT_EQ(a.scroll(), 1);
    // Scrolled up by 16 pixels the timestamp line (band top 226) comes in.
    for (int i = 0; i < 15; ++i) a.frame();
    EXPECT_EQ(topOf(a.frame(), 2), 210);
}

TEST(AboutAnimation, TheLastTwoLinesFollowTheLongGapThirtyTwoApart) {
    AboutAnimation a = animation();
    AboutAnimation::Frame f;
    // Scroll until the closing line is on screen.
    for (int i = 0; i < 1761 && topOf(f, 70) == -1000; ++i) f = a.frame();
    int name = topOf(f, 69), notice = topOf(f, 70);
    ASSERT_NE(name, -1000);
    EXPECT_EQ(notice - name, 32);
}

TEST(AboutAnimation, FadesOnlyPastTheEndPointThenStartsAgainFromBelow) {
    AboutAnimation a = animation();
    int frames = 0;
    while (a.fadeLevel() == 255) {
        a.frame();
        ++frames;
    }
    EXPECT_EQ(frames, 1763);  // 1762 frames of scrolling, then the first fade step
    EXPECT_EQ(a.scroll(), 1762);
    int fadeFrames = 1;
    while (a.fadeLevel() != 255) {
        a.frame();
        ++fadeFrames;
    }
    EXPECT_EQ(fadeFrames, 46);  // 35 steps of one, then steps of twenty down to zero
    EXPECT_EQ(a.scroll(), -32);
    // The list comes in again 32 pixels lower than at the very start.
    AboutAnimation::Frame again = a.frame();
    EXPECT_EQ(again.alpha, 255);
    EXPECT_TRUE(again.lines.empty());
}
