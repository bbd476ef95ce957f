#include <gtest/gtest.h>

#include <regex>

#include "app/shell/command_line.h"
#include "app/main_window/file_types.h"
#include "app/shell/version_text.h"
#include "text/utf8.h"
#include "build_info.h"

TEST(CommandLine, EveryQuoteIsRemovedAndSpacesKept) {
    EXPECT_EQ(commandLinePath("\"C:\\My Files\\a b.txt\""), "C:\\My Files\\a b.txt");
    EXPECT_EQ(commandLinePath("\"C:\\one.txt\" \"C:\\two.txt\""), "C:\\one.txt C:\\two.txt");
    EXPECT_EQ(commandLinePath(""), "");
    EXPECT_EQ(commandLinePath("plain.txt"), "plain.txt");
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

TEST(VersionText, TimestampIsTheBuildStepsNotACompiledInDate) {
    // The stamp comes from the step that writes build_info.h at every build, so a build that
    // recompiles nothing still shows its own time.
    EXPECT_EQ(buildTimestamp(), ORVANE_BUILD_TIMESTAMP);
    std::regex format("[A-Z][a-z]{2} [ 1-3]\\d \\d{4} \\d{2}:\\d{2}:\\d{2}");
    EXPECT_TRUE(std::regex_match(buildTimestamp(), format)) << buildTimestamp();
}

TEST(FileTypes, AChosenPathThatDoesNotFitIsRefusedNotCut) {
    EXPECT_FALSE(chosenPathTooLong(std::string(2047, 'a'), 2047).has_value());
    // An é straddles byte 1024, where the message cuts the path it shows.
    std::string longPath = "C:\\" + std::string(1020, 'd') + "\xC3\xA9" + std::string(1100, 'e') + ".txt";
    std::optional<std::string> refusal = chosenPathTooLong(longPath, 2047);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_NE(refusal->find("longer than 2047 bytes"), std::string::npos);
    // The message shows the path cut only where a character ends.
    EXPECT_NE(utf8_kind(refusal->c_str()), -1);
    EXPECT_EQ(refusal->substr(refusal->size() - 3), "...");
}
