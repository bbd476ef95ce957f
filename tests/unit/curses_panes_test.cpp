#include <gtest/gtest.h>

#include "app/windows/curses_panes.h"
#include "curses_fakes.h"

namespace {

class FakePaneHost final : public PaneHost {
public:
    void switchPane() override { ++switches; }
    void requestClose() override { ++closes; }
    void openExternal(const std::string& path) override { external.push_back(path); }
    int switches = 0;
    int closes = 0;
    std::vector<std::string> external;
};

template <typename Pane>
struct PaneFixture : ::testing::Test {
    PaneFixture() {
        CursesEditor::shared() = CursesSharedState{};
        attachFakeWindow(screen, 80, 24);
    }
    void open(const std::string& text) {
        dir.write("preferences.txt", text);
        pane.init(dir.file("preferences.txt"));
        pane.draw(-1);
        pane.set_cursor(false, -1);
    }
    int ctrl(char letter) {
        modifiers.ctrl = true;
        int result = pane.on_key(curses_key::ctrl(letter));
        modifiers.ctrl = false;
        return result;
    }
    int ctrlTab() {
        modifiers.ctrl = true;
        int result = pane.on_key(curses_key::Tab);
        modifiers.ctrl = false;
        return result;
    }
    std::string bottomRow() { return trimRight(screenRow(screen, screen.lines - 1)); }

    TempDir dir;
    CursesScreen screen;
    FakeModifiers modifiers;
    FakeClipboard clipboard;
    FakeLinks links;
    FakePaneHost host;
    Pane pane{screen, CursesServices{&modifiers, &clipboard, &links}, host};
};

using ReadOnly = PaneFixture<ReadOnlyPane>;
using Editable = PaneFixture<EditablePreferencesPane>;

}  // namespace

TEST_F(ReadOnly, TypingChangesNothingButReadingAndFindingWork) {
    open("alpha\nbeta\n");
    for (int key : {int{'x'}, curses_key::Enter, curses_key::Backspace, curses_key::Delete, curses_key::Tab}) pane.on_key(key);
    ctrl('V');
    ctrl('X');
    EXPECT_EQ(pane.doc.lines, (std::vector<std::string>{"alpha", "beta"}));
    EXPECT_FALSE(pane.is_modified());
    pane.on_key(curses_key::Down);
    EXPECT_EQ(pane.view.cursor_y, 1);
    // Ctrl+F opens the find prompt, whose text can be typed although typing is dropped.
    ctrl('F');
    for (char c : std::string("eta")) pane.on_key(c);
    pane.on_key(curses_key::Enter);
    EXPECT_EQ(pane.prompt.search_text, "eta");
    EXPECT_EQ(pane.view.cursor_x, 1);
    EXPECT_EQ(pane.doc.lines, (std::vector<std::string>{"alpha", "beta"}));
}

TEST_F(ReadOnly, TheReplacePromptTakesNoTextAndNothingIsReplaced) {
    open("aaa\n");
    ctrl('F');
    pane.on_key('a');
    ctrl('R');  // to the replace prompt: typing is dropped again there
    EXPECT_EQ(pane.prompt.mode, CursesEditor::ReplacePrompt);
    pane.on_key('b');
    pane.on_key(curses_key::Enter);
    EXPECT_EQ(pane.prompt.mode, CursesEditor::ReplacePrompt);
    pane.on_key(curses_key::Escape);
    EXPECT_EQ(pane.prompt.mode, CursesEditor::Editing);
    EXPECT_EQ(pane.doc.lines, (std::vector<std::string>{"aaa"}));
}

TEST_F(ReadOnly, CtrlTabAndCtrlWGoToTheWindow) {
    open("x\n");
    ctrlTab();
    ctrl('W');
    EXPECT_EQ(host.switches, 1);
    EXPECT_EQ(host.closes, 1);
}

TEST_F(Editable, SavesOnlyTextThatParses) {
    open("{\n}\n");
    pane.on_key(curses_key::Down);
    pane.on_key(curses_key::Home);
    for (char c : std::string("\"tab_size\": 4\n")) pane.on_key(c == '\n' ? curses_key::Enter : c);
    ctrl('S');
    EXPECT_EQ(dir.read("preferences.txt"), "{\n\"tab_size\": 4\n}\n");
    EXPECT_NE(bottomRow().find("Parsed and saved successfully"), std::string::npos) << bottomRow();
    EXPECT_FALSE(pane.is_modified());
    // Without the closing brace nothing is written and the parse error is shown.
    std::string before = dir.read("preferences.txt");
    pane.doc.lines.pop_back();
    ctrl('S');
    EXPECT_EQ(dir.read("preferences.txt"), before);
    EXPECT_NE(bottomRow().find("Parse error before:"), std::string::npos) << bottomRow();
}

TEST_F(Editable, AFailedWriteIsReportedAndTheFileStays) {
    open("{}\n");
    pane.doc.file_name = dir.file("missing-folder/preferences.txt");
    ctrl('S');
    EXPECT_NE(bottomRow().find("Error writing file, changes not saved!"), std::string::npos) << bottomRow();
}

TEST_F(Editable, CtrlEOpensTheFileOutsideAndTheHelpLineNamesSaveExternal) {
    open("{}\n");
    ctrl('E');
    ASSERT_EQ(host.external.size(), 1u);
    EXPECT_EQ(host.external[0], dir.file("preferences.txt"));
    EXPECT_NE(bottomRow().find("Save External)"), std::string::npos) << bottomRow();
    ctrlTab();
    ctrl('W');
    EXPECT_EQ(host.switches, 1);
    EXPECT_EQ(host.closes, 1);
}

TEST_F(ReadOnly, AKeyIsJudgedByTheModifiersHeldWhenItWasPressed) {
    open("alpha\n");
    // Ctrl+Tab pressed and let go before the editor's next tick: the queue remembers Ctrl.
    screen.enqueue_key(curses_key::Tab, ModifierKeys{.ctrl = true});
    screen.enqueue_key(curses_key::Tab, ModifierKeys{});
    modifiers.ctrl = false;
    pane.run();
    EXPECT_EQ(host.switches, 1);
    // Afterwards the live keyboard counts again.
    modifiers.ctrl = true;
    pane.on_key(curses_key::Tab);
    EXPECT_EQ(host.switches, 2);
}
