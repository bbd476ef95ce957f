#include "editor/find_dialog_input.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace {

struct DialogInputTest : EditorFixture {
    DialogInputTest() {
        setLines({"abc one", "two abc", "abc"});
        caretAt(5, 1);
    }
};

const DialogKeyState kNone{};
const DialogKeyState kShift{{false, true, false}, false};
const DialogKeyState kCtrl{{true, false, false}, false};

TEST_F(DialogInputTest, FindWithoutModifierSearchesFromTheTop) {
    EXPECT_TRUE(runDialogEnter(doc, FindDialogKind::Find, "abc", "", kNone));
    EXPECT_EQ(caret(), (TextPosition{0, 0}));
    EXPECT_EQ(doc.findText, "abc");
}

TEST_F(DialogInputTest, FindWithShiftSearchesFromTheCaret) {
    EXPECT_TRUE(runDialogEnter(doc, FindDialogKind::Find, "abc", "", kShift));
    EXPECT_EQ(caret(), (TextPosition{0, 2}));
}

TEST_F(DialogInputTest, FindStaysOpenForEmptyTextOtherModifiersOrCapture) {
    EXPECT_FALSE(runDialogEnter(doc, FindDialogKind::Find, "", "", kNone));
    EXPECT_FALSE(runDialogEnter(doc, FindDialogKind::Find, "abc", "", kCtrl));
    EXPECT_FALSE(runDialogEnter(doc, FindDialogKind::Find, "abc", "", DialogKeyState{{false, false, true}, false}));
    EXPECT_FALSE(runDialogEnter(doc, FindDialogKind::Find, "abc", "", DialogKeyState{{false, false, false}, true}));
    EXPECT_EQ(caret(), (TextPosition{5, 1}));
    EXPECT_TRUE(doc.findText.empty());
}

TEST_F(DialogInputTest, ReplaceOnceFromTheTop) {
    EXPECT_TRUE(runDialogEnter(doc, FindDialogKind::Replace, "abc", "Z", kNone));
    EXPECT_EQ(lines(), (Lines{"Z one", "two abc", "abc"}));
    EXPECT_TRUE(doc.modified);
}

TEST_F(DialogInputTest, CtrlEnterReplacesAll) {
    EXPECT_TRUE(runDialogEnter(doc, FindDialogKind::Replace, "abc", "Z", kCtrl));
    EXPECT_EQ(lines(), (Lines{"Z one", "two Z", "Z"}));
}

TEST_F(DialogInputTest, ShiftEnterReplacesFromTheCaret) {
    EXPECT_TRUE(runDialogEnter(doc, FindDialogKind::Replace, "abc", "Z", kShift));
    EXPECT_EQ(lines(), (Lines{"abc one", "two abc", "Z"}));
}

TEST_F(DialogInputTest, ReplaceNeedsBothTexts) {
    EXPECT_FALSE(runDialogEnter(doc, FindDialogKind::Replace, "abc", "", kNone));
    EXPECT_FALSE(runDialogEnter(doc, FindDialogKind::Replace, "", "Z", kNone));
    EXPECT_FALSE(runDialogEnter(doc, FindDialogKind::Replace, "abc", "Z", DialogKeyState{{true, true, false}, false}));
    EXPECT_EQ(lines(), (Lines{"abc one", "two abc", "abc"}));
}

TEST_F(DialogInputTest, GotoLineAlwaysActsAndKeepsTheColumn) {
    EXPECT_TRUE(runDialogEnter(doc, FindDialogKind::GotoLine, "3", "", kCtrl));
    EXPECT_EQ(caret(), (TextPosition{5, 2}));
    EXPECT_TRUE(runDialogEnter(doc, FindDialogKind::GotoLine, "", "", kNone));
    EXPECT_EQ(caret().line, 0);
}

TEST_F(DialogInputTest, GotoOffsetMovesRelativeToTheCaret) {
    EXPECT_TRUE(runDialogEnter(doc, FindDialogKind::GotoOffset, "-1", "", kNone));
    EXPECT_EQ(caret().line, 0);
    EXPECT_TRUE(runDialogEnter(doc, FindDialogKind::GotoOffset, "25", "", kNone));
    EXPECT_EQ(caret().line, 2);
}

}  // namespace
