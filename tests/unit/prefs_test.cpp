#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "app/settings/prefs.h"
#include "temp_dir.h"

namespace {
PrefStore& loaded(PrefStore& store, const std::string& text) {
    EXPECT_TRUE(store.loadText(text)) << text;
    return store;
}
}  // namespace

TEST(PrefsFiles, DefaultFileIsTheCommentedFortyEightLines) {
    const std::string& text = prefsDefaultText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 48);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.rfind("//\n// Welcome to Orvane x64 Text Editor, Version 1.04\n", 0), 0u);
    EXPECT_NE(text.find("\n  \"text_color\": \"C0C0C0\"\n}\n"), std::string::npos);
    for (unsigned char c : text) EXPECT_LT(c, 0x80);
    // The default file parses to the built-in defaults.
    PrefStore store;
    ASSERT_TRUE(store.loadText(text));
    EXPECT_EQ(pref_active_text_color(store), 0x8080FF);
}

TEST(PrefsFiles, WritesBothFilesButNeverOverwritesTheUserFile) {
    TempDir dir;
    prefs_write_files(dir.folder());
    EXPECT_EQ(dir.read("preferences-default.txt"), prefsDefaultText());
    EXPECT_EQ(dir.read("preferences.txt"), "{\n  // Add your personal preferences here.\n}\n");
    dir.write("preferences.txt", "{ \"tab_size\": 4 }");
    dir.write("preferences-default.txt", "garbage");
    prefs_write_files(dir.folder());
    EXPECT_EQ(dir.read("preferences.txt"), "{ \"tab_size\": 4 }");
    EXPECT_EQ(dir.read("preferences-default.txt"), prefsDefaultText());

    PrefStore store;
    ASSERT_TRUE(prefs_load(store, dir.folder(), false));
    EXPECT_EQ(pref_tab_size(store), 4);
    ASSERT_TRUE(prefs_load(store, dir.folder(), true));
    EXPECT_EQ(pref_tab_size(store), 2);
}

TEST(PrefsFiles, UnwritableFolderLeavesNothingToLoad) {
    TempDir dir;
    std::string missing = dir.folder() + "absent/";
    prefs_write_files(missing);
    PrefStore store;
    EXPECT_FALSE(prefs_load(store, missing, false));
    EXPECT_EQ(store.errorText(), "Parse error before: \n");
}

TEST(PrefsAccessors, EmptyStoreAndEmptyObjectGiveDefaults) {
    for (const char* text : {"", "{}"}) {
        PrefStore store;
        store.loadText(text);
        EXPECT_TRUE(pref_curses_preferences(store));
        EXPECT_TRUE(pref_curses_right_focus(store));
        EXPECT_EQ(pref_text_font(store), 1);
        EXPECT_EQ(pref_text_font_height(store), 14);
        EXPECT_TRUE(pref_show_whitespace(store));
        EXPECT_TRUE(pref_space(store));
        EXPECT_EQ(pref_tab_size(store), 2);
        EXPECT_TRUE(pref_crlf(store));
        EXPECT_TRUE(pref_preserve_directory(store));
        EXPECT_EQ(pref_background_color(store), 0x000000);
        EXPECT_EQ(pref_active_text_color(store), 0x8080FF);
        EXPECT_EQ(pref_text_color(store), 0xC0C0C0);
    }
}

TEST(PrefsAccessors, ArrayRootGivesDefaults) {
    PrefStore store;
    loaded(store, "[1, 2, {\"tab_size\": 4}]");
    EXPECT_EQ(pref_tab_size(store), 2);
    EXPECT_TRUE(pref_crlf(store));
}

TEST(PrefsAccessors, BooleansAreFalseOnlyForTheLiteralFalse) {
    PrefStore store;
    loaded(store, "{\"crlf\": 0, \"space\": false, \"show_whitespace\": \"false\", \"preserve_directory\": null}");
    EXPECT_TRUE(pref_crlf(store));
    EXPECT_FALSE(pref_space(store));
    EXPECT_TRUE(pref_show_whitespace(store));
    EXPECT_TRUE(pref_preserve_directory(store));
}

TEST(PrefsAccessors, NumbersMustBeNumbersInRange) {
    PrefStore store;
    loaded(store, "{\"tab_size\": 9}");
    EXPECT_EQ(pref_tab_size(store), 2);
    loaded(store, "{\"tab_size\": 8.7}");
    EXPECT_EQ(pref_tab_size(store), 8);
    loaded(store, "{\"tab_size\": \"4\"}");
    EXPECT_EQ(pref_tab_size(store), 2);
    loaded(store, "{\"text_font_height\": 6}");
    EXPECT_EQ(pref_text_font_height(store), 14);
    loaded(store, "{\"text_font_height\": 25}");
    EXPECT_EQ(pref_text_font_height(store), 14);
    loaded(store, "{\"text_font_height\": 24, \"text_font\": 3}");
    EXPECT_EQ(pref_text_font_height(store), 24);
    EXPECT_EQ(pref_text_font(store), 3);
    loaded(store, "{\"text_font\": 1e12}");
    EXPECT_EQ(pref_text_font(store), 1);
    loaded(store, "{\"text_font\": -2.5}");
    EXPECT_EQ(pref_text_font(store), 1);
}

TEST(PrefsAccessors, ColoursAreSixCharacterHexStrings) {
    PrefStore store;
    loaded(store, "{\"background_color\": \"FFF\"}");
    EXPECT_EQ(pref_background_color(store), 0x000000);
    loaded(store, "{\"background_color\": \"ZZZZZZ\", \"text_color\": \"-12345\", \"active_text_color\": \"102030\"}");
    EXPECT_EQ(pref_background_color(store), 0);
    EXPECT_EQ(pref_text_color(store), 0xC0C0C0);
    EXPECT_EQ(pref_active_text_color(store), 0x102030);
    loaded(store, "{\"text_color\": \"0xABCD\", \"background_color\": 123456}");
    EXPECT_EQ(pref_text_color(store), 0xABCD);
    EXPECT_EQ(pref_background_color(store), 0);
}

TEST(PrefsAccessors, FirstOfDuplicateKeysCounts) {
    PrefStore store;
    loaded(store, "{\"tab_size\": 4, \"tab_size\": 6}");
    EXPECT_EQ(pref_tab_size(store), 4);
}

TEST(PrefsParsing, CommentsAreStrippedAndTrailingTextIgnored) {
    PrefStore store;
    loaded(store, "// head\n{ /* block */ \"tab_size\": 5 // tail\n} trailing words");
    EXPECT_EQ(pref_tab_size(store), 5);
    loaded(store, "{\"text_color\": \"a // not a comment\"}");
    EXPECT_EQ(pref_text_color(store), 0xC0C0C0);
}

TEST(PrefsParsing, ErrorTextShowsTheUnparsedRemainder) {
    PrefStore store;
    store.loadText("{\"a\": 1, \"b\": 2}");
    EXPECT_FALSE(store.loadText("{\n  \"crlf\": true,\n}\n"));
    // cJSON stops past the closing brace here, so nothing of the text follows.
    EXPECT_EQ(store.errorText(), "Parse error before: \n");
    EXPECT_FALSE(store.loadText("{\"a\": tru }"));
    EXPECT_EQ(store.errorText().rfind("Parse error before: ", 0), 0u);
    EXPECT_EQ(store.errorText().back(), '\n');
    EXPECT_EQ(store.root(), nullptr);
    EXPECT_TRUE(pref_crlf(store));
    std::string huge = "{\"x\": [" + std::string(5000, '[');
    EXPECT_FALSE(store.loadText(huge));
    EXPECT_LE(store.errorText().size(), 2047u);
}

TEST(PrefsFiles, DefaultAndSkeletonMatchTheReferenceFiles) {
    TempDir unused;
    auto reference = [](const char* name) {
        std::ifstream in(std::string(ORVANE_SOURCE_DIR) + "/tests/e2e/expected/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(prefsDefaultText(), reference("preferences-default.txt"));
    EXPECT_EQ(prefsUserSkeleton(), reference("preferences.txt"));
}
