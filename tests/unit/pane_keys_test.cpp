#include <gtest/gtest.h>

#include "app/windows/pane_keys.h"
#include "curses/screen/curses_screen.h"

using A = PaneKeyAction;
namespace k = curses_key;

TEST(ReadOnlyPane, PassesReadingCopyingFindingAndPaneKeysOnly) {
    for (int key : {k::Down, k::Up, k::PageUp, k::PageDown, k::Right, k::Left, k::Home, k::End, k::F1, k::F3, k::F12,
                    k::Redraw, k::Escape})
        EXPECT_EQ(readOnlyPaneKey(key, false, false), A::ToEditor) << key;
    for (char letter : {'C', 'F', 'G', 'O', 'P'}) EXPECT_EQ(readOnlyPaneKey(k::ctrl(letter), true, false), A::ToEditor);
    // Everything that would change the text goes nowhere.
    for (int key : {int{'a'}, int{' '}, k::Enter, k::Backspace, k::Tab, k::Insert, k::Delete})
        EXPECT_EQ(readOnlyPaneKey(key, false, false), A::Drop) << key;
    for (char letter : {'J', 'R', 'V', 'X', 'Z', 'Y', 'D', 'A', 'S', 'E'})
        EXPECT_EQ(readOnlyPaneKey(k::ctrl(letter), true, false), A::Drop) << letter;
    EXPECT_EQ(readOnlyPaneKey(k::Tab, true, false), A::SwitchPane);
    EXPECT_EQ(readOnlyPaneKey(k::ctrl('W'), true, false), A::Close);
}

TEST(ReadOnlyPane, TheFindPromptTakesEveryKey) {
    for (int key : {int{'a'}, k::Enter, k::Backspace, k::ctrl('R'), k::ctrl('W')})
        EXPECT_EQ(readOnlyPaneKey(key, key < 32, true), A::ToEditor) << key;
}

TEST(EditablePane, HasItsOwnSaveExternalPaneAndCloseKeys) {
    EXPECT_EQ(editablePaneKey(k::Tab, true), A::SwitchPane);
    EXPECT_EQ(editablePaneKey(k::ctrl('W'), true), A::Close);
    EXPECT_EQ(editablePaneKey(k::ctrl('S'), true), A::CheckAndSave);
    EXPECT_EQ(editablePaneKey(k::ctrl('E'), true), A::External);
    for (int key : {int{'a'}, k::Tab, k::Enter, k::Delete}) EXPECT_EQ(editablePaneKey(key, false), A::ToEditor) << key;
    EXPECT_EQ(editablePaneKey(k::ctrl('V'), true), A::ToEditor);
}

TEST(PreferencesCheck, ParsesLikeTheLoaderAndNamesWhereItStopped) {
    PreferencesCheck good = checkPreferencesLines({"{", "  // comment", "  \"tab_size\": 4", "}"});
    EXPECT_TRUE(good.parsed);
    EXPECT_TRUE(good.message.empty());
    PreferencesCheck missingBrace = checkPreferencesLines({"{", "  \"tab_size\": 4,", "  \"crlf\": false"});
    EXPECT_FALSE(missingBrace.parsed);
    EXPECT_EQ(missingBrace.message.rfind("Parse error before: ", 0), 0u) << missingBrace.message;
    PreferencesCheck trailing = checkPreferencesLines({"{ \"crlf\": true, }"});
    EXPECT_FALSE(trailing.parsed);
    // What follows the point where parsing stopped (here nothing) and a line feed.
    EXPECT_EQ(trailing.message.rfind("Parse error before: ", 0), 0u);
    EXPECT_EQ(trailing.message.back(), '\n');
}

TEST(PreferencesCheck, ALongLineIsCutInTheCheckedCopy) {
    // A string value running past 1024 bytes is cut with its line: the check sees an
    // unterminated string although the pane's text is well formed.
    std::string value(2000, 'x');
    PreferencesCheck check = checkPreferencesLines({"{ \"text_color\": \"" + value + "\" }"});
    EXPECT_FALSE(check.parsed);
}
