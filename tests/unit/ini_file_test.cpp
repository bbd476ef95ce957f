#include <gtest/gtest.h>

#include "app/settings/ini_file.h"

TEST(IniFile, FindsValuesCaseInsensitivelyAndTrimmed) {
    const char* text =
        "; a comment\r\n"
        "top=1\r\n"
        "[other]\r\n"
        "main_wnd_x=7\r\n"
        "  [ Orvane ]  \r\n"
        "; main_wnd_x=8\r\n"
        "  MAIN_WND_X  =   -12  \r\n"
        "main_wnd_x=99\r\n"
        "quoted=\"42\"\n"
        "[orvane]\n"
        "late=5\n";
    EXPECT_EQ(iniFindValue(text, "orvane", "main_wnd_x"), "-12");
    EXPECT_EQ(iniFindValue(text, "ORVANE", "Quoted"), "42");
    EXPECT_EQ(iniFindValue(text, "orvane", "top"), std::nullopt);
    EXPECT_EQ(iniFindValue(text, "other", "main_wnd_x"), "7");
    EXPECT_EQ(iniFindValue(text, "missing", "main_wnd_x"), std::nullopt);
    EXPECT_EQ(iniFindValue("", "orvane", "x"), std::nullopt);
}

TEST(IniFile, ParsesIntegersLikeThePrivateProfileCall) {
    EXPECT_EQ(iniParseInt("123", 5), 123);
    EXPECT_EQ(iniParseInt("  -40px", 5), -40);
    EXPECT_EQ(iniParseInt("+8", 5), 8);
    EXPECT_EQ(iniParseInt("", 5), 5);
    EXPECT_EQ(iniParseInt("abc", 5), 0);
    EXPECT_EQ(iniParseInt("-", 5), 0);
    EXPECT_EQ(iniParseInt("99999999999999", 5), 2147483647);
}

TEST(IniFile, WritesInPlaceAndKeepsEverythingElse) {
    std::string text =
        "; keep me\r\n"
        "[other]\r\n"
        "a=1\r\n"
        "\r\n"
        "[Orvane]\r\n"
        "Main_Wnd_X = 3\r\n"
        "y=4\r\n"
        "\r\n"
        "[tail]\r\n"
        "z=0\r\n";
    text = iniWithValue(text, "orvane", "main_wnd_x", "10");
    text = iniWithValue(text, "orvane", "new_key", "-2");
    EXPECT_EQ(text,
              "; keep me\r\n"
              "[other]\r\n"
              "a=1\r\n"
              "\r\n"
              "[Orvane]\r\n"
              "Main_Wnd_X=10\r\n"
              "y=4\r\n"
              "new_key=-2\r\n"
              "\r\n"
              "[tail]\r\n"
              "z=0\r\n");
}

TEST(IniFile, AddsSectionsAndLineEndsWhereMissing) {
    EXPECT_EQ(iniWithValue("", "orvane", "k", "1"), "[orvane]\r\nk=1\r\n");
    EXPECT_EQ(iniWithValue("[x]\na=1", "orvane", "k", "1"), "[x]\na=1\r\n[orvane]\r\nk=1\r\n");
    EXPECT_EQ(iniWithValue("[orvane]\na=1", "orvane", "k", "1"), "[orvane]\na=1\r\nk=1\r\n");
    EXPECT_EQ(iniWithValue("[orvane]\n", "orvane", "k", "1"), "[orvane]\nk=1\r\n");
}

TEST(IniText, AKeyAddedAfterALastLineEndingInALoneCrStartsALineOfItsOwn) {
    std::string text = "[orvane]\r\nmain_wnd_y=-7\r";
    std::string written = iniWithValue(text, "orvane", "main_wnd_x", "-42");
    EXPECT_EQ(iniFindValue(written, "orvane", "main_wnd_x"), std::optional<std::string>("-42"));
    EXPECT_EQ(iniFindValue(written, "orvane", "main_wnd_y"), std::optional<std::string>("-7"));
}
