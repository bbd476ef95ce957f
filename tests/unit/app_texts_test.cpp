#include <gtest/gtest.h>

#include <regex>

#include "app/command_line.h"
#include "app/file_types.h"
#include "app/version_text.h"

TEST(CommandLine, EveryQuoteIsRemovedAndSpacesKept) {
    EXPECT_EQ(commandLinePath("\"C:\\My Files\\a b.txt\""), "C:\\My Files\\a b.txt");
    EXPECT_EQ(commandLinePath("\"C:\\one.txt\" \"C:\\two.txt\""), "C:\\one.txt C:\\two.txt");
    EXPECT_EQ(commandLinePath(""), "");
    EXPECT_EQ(commandLinePath("plain.txt"), "plain.txt");
}

TEST(CommandLine, ConvertsUtf16AndStopsBeforeAnOverflowingCharacter) {
    EXPECT_EQ(commandLineToUtf8(u"a\u00E9\U0001F600"), "a\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(commandLineToUtf8(u"ab\u00E9", 3), "ab");
    EXPECT_EQ(commandLineToUtf8(std::u16string(5000, u'x')).size(), 4095u);
    // A lone surrogate is encoded on its own.
    EXPECT_EQ(commandLineToUtf8(u"\xD800"), "\xED\xA0\x80");
}

TEST(FileTypes, TwentyFourTypesAllSupportedFirst) {
    ASSERT_EQ(fileTypes().size(), 24u);
    EXPECT_STREQ(fileTypes().front().name, "All supported files");
    EXPECT_STREQ(fileTypes()[12].name, "Makefile files (*.mak;*.mk)");
    EXPECT_STREQ(fileTypes().back().patterns, "*.*");
    std::string block = fileTypeFilterBlock();
    EXPECT_EQ(std::count(block.begin(), block.end(), '\0'), 49);
    EXPECT_EQ(block.substr(block.size() - 2), std::string("\0\0", 2));
}

TEST(VersionText, HasTheBuildTimeAndAFortyHexRevision) {
    std::regex format("Orvane version: 1\\.04 \\(x64\\)\n\nBuild timestamp: [A-Z][a-z]{2} [ 0-9]\\d \\d{4} "
                      "\\d\\d:\\d\\d:\\d\\d\nGit commit: [0-9a-f]{40}");
    EXPECT_TRUE(std::regex_match(versionText(), format)) << versionText();
}
