#include <gtest/gtest.h>

#include <algorithm>

#include "app/windows/switch_entries.h"

TEST(SwitchEntries, LabelsAreWhatFollowsTheFirstDashAndSpace) {
    EXPECT_EQ(switchLabel("Orvane - *"), "*");
    EXPECT_EQ(switchLabel("Orvane - notes.txt"), "notes.txt");
    EXPECT_EQ(switchLabel("Orvane - *a - b.txt"), "*a - b.txt");
    // A "- " with nothing after it does not count; the next one would.
    EXPECT_EQ(switchLabel("Orvane - "), "Orvane - ");
    EXPECT_EQ(switchLabel("Untitled"), "Untitled");
    EXPECT_EQ(switchLabel(""), "");
}

TEST(SwitchEntries, SortIgnoresAsciiCaseOnly) {
    std::vector<std::string> labels{"c.txt", "b.txt", "A.txt", "*", "\xC3\x89t\xC3\xA9.txt"};
    std::sort(labels.begin(), labels.end(), switchLabelLess);
    EXPECT_EQ(labels, (std::vector<std::string>{"*", "A.txt", "b.txt", "c.txt", "\xC3\x89t\xC3\xA9.txt"}));
    EXPECT_FALSE(switchLabelLess("A", "a"));
    EXPECT_FALSE(switchLabelLess("a", "A"));
}
