#include <cstring>

#include "editor/commands.h"
#include "editor/key_map.h"
#include "editor/menu_ids.h"
#include "editor/virtual_keys.h"
#include "editor_fixture.h"

namespace {

enum Mods { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

KeyDecision press(int key, int mods = kNone, KeyMessageKind kind = KeyMessageKind::KeyDown) {
    KeyInput input;
    input.kind = kind;
    input.virtualKey = key;
    input.shift = mods & kShift;
    input.ctrl = mods & kCtrl;
    input.alt = mods & kAlt;
    return decideKey(input);
}

}  // namespace

TEST(KeyMap, ArrowRowsForEveryModifierCombination) {
    KeyDecision plain = press(vk::kLeft);
    EXPECT_TRUE(plain.consumed);
    EXPECT_EQ(plain.action, KeyAction::MoveLeft);
    EXPECT_TRUE(plain.clearSelection);
    EXPECT_FALSE(plain.around);
    EXPECT_EQ(plain.notifyKey, 0);

    KeyDecision shifted = press(vk::kRight, kShift);
    EXPECT_EQ(shifted.action, KeyAction::MoveRight);
    EXPECT_TRUE(shifted.around);
    EXPECT_FALSE(shifted.clearSelection);

    EXPECT_EQ(press(vk::kLeft, kCtrl).action, KeyAction::WordLeft);
    EXPECT_EQ(press(vk::kRight, kCtrl).action, KeyAction::WordRight);
    EXPECT_FALSE(press(vk::kLeft, kCtrl | kShift).consumed);
    EXPECT_FALSE(press(vk::kLeft, kAlt).consumed);
    EXPECT_FALSE(press(vk::kLeft, kAlt | kShift).consumed);
}

TEST(KeyMap, VerticalAndPageRowsNotifyTheEditorWindow) {
    KeyDecision down = press(vk::kDown);
    EXPECT_EQ(down.action, KeyAction::MoveDown);
    EXPECT_EQ(down.notifyKey, vk::kDown);
    EXPECT_TRUE(down.clearSelection);
    KeyDecision up = press(vk::kUp, kShift);
    EXPECT_EQ(up.action, KeyAction::MoveUp);
    EXPECT_TRUE(up.around);
    EXPECT_EQ(up.notifyKey, vk::kUp);
    EXPECT_EQ(press(vk::kUp, kCtrl).action, KeyAction::ScrollLineUp);
    EXPECT_EQ(press(vk::kUp, kCtrl).notifyKey, 0);
    EXPECT_EQ(press(vk::kDown, kCtrl).action, KeyAction::ScrollLineDown);
    EXPECT_EQ(press(vk::kNext).notifyKey, vk::kNext);
    EXPECT_EQ(press(vk::kPrior, kShift).action, KeyAction::PageUp);
    EXPECT_FALSE(press(vk::kNext, kCtrl).consumed);

    KeyDecision home = press(vk::kHome, kCtrl | kShift);
    EXPECT_EQ(home.action, KeyAction::MoveDocumentStart);
    EXPECT_TRUE(home.around);
    EXPECT_EQ(home.notifyKey, vk::kHome);
    KeyDecision end = press(vk::kEnd, kCtrl);
    EXPECT_EQ(end.action, KeyAction::MoveDocumentEnd);
    EXPECT_TRUE(end.clearSelection);
    EXPECT_EQ(end.notifyKey, vk::kEnd);
    EXPECT_EQ(press(vk::kHome).notifyKey, 0);
    EXPECT_EQ(press(vk::kEnd, kShift).action, KeyAction::MoveEnd);
}

TEST(KeyMap, FunctionAndEditingKeys) {
    EXPECT_EQ(press(vk::kF1, kCtrl).menuId, menu_id::kAbout);
    EXPECT_EQ(press(vk::kF2, kCtrl).menuId, menu_id::kChangelog);
    EXPECT_EQ(press(vk::kF3, kCtrl).action, KeyAction::MenuCommand);
    EXPECT_EQ(press(vk::kF3, kCtrl).menuId, menu_id::kVersion);
    EXPECT_EQ(press(vk::kF3).action, KeyAction::FindNext);
    EXPECT_EQ(press(vk::kF3, kShift).action, KeyAction::FindPrevious);
    EXPECT_FALSE(press(vk::kF1).consumed);
    EXPECT_EQ(press(vk::kF9).action, KeyAction::FlipCrlf);
    // F10 arrives as a system key and must not reach the menu.
    KeyDecision f10 = press(vk::kF10, kNone, KeyMessageKind::SysKeyDown);
    EXPECT_TRUE(f10.consumed);
    EXPECT_EQ(f10.action, KeyAction::FlipSpace);
    EXPECT_EQ(press(vk::kF11).action, KeyAction::ToggleFullscreen);
    EXPECT_EQ(press(vk::kTab, kCtrl).action, KeyAction::ShowSwitchWindow);
    EXPECT_EQ(press(vk::kTab).action, KeyAction::Indent);
    EXPECT_EQ(press(vk::kTab, kShift).action, KeyAction::Unindent);
    EXPECT_EQ(press(vk::kEscape).action, KeyAction::Cancel);
    EXPECT_EQ(press(vk::kReturn).action, KeyAction::SplitLine);
    EXPECT_FALSE(press(vk::kReturn, kShift).consumed);
    EXPECT_EQ(press(vk::kBack, kCtrl).action, KeyAction::DeleteWordBackward);
    EXPECT_EQ(press(vk::kDelete, kCtrl).action, KeyAction::DeleteWordForward);
    // These reach the editor window through normal dispatch.
    EXPECT_FALSE(press(vk::kDelete).consumed);
    EXPECT_FALSE(press(vk::kInsert).consumed);
    EXPECT_FALSE(press(vk::kBack).consumed);
}

TEST(KeyMap, CtrlLetterRows) {
    EXPECT_EQ(press('F', kCtrl).action, KeyAction::OpenFind);
    EXPECT_EQ(press('R', kCtrl).action, KeyAction::OpenReplace);
    EXPECT_EQ(press('W', kCtrl).action, KeyAction::ToggleWhitespace);
    EXPECT_EQ(press('X', kCtrl).action, KeyAction::Cut);
    EXPECT_EQ(press('C', kCtrl).action, KeyAction::Copy);
    EXPECT_EQ(press('V', kCtrl).action, KeyAction::Paste);
    EXPECT_EQ(press('S', kCtrl).menuId, menu_id::kSave);
    EXPECT_EQ(press('S', kCtrl | kShift).menuId, menu_id::kSaveAs);
    EXPECT_EQ(press('G', kCtrl).action, KeyAction::OpenGotoLine);
    EXPECT_EQ(press('G', kCtrl | kShift).action, KeyAction::OpenGotoOffset);
    EXPECT_EQ(press('L', kCtrl).action, KeyAction::AbsoluteLineNumbers);
    EXPECT_EQ(press('L', kCtrl | kShift).action, KeyAction::RelativeLineNumbers);
    EXPECT_EQ(press('N', kCtrl).menuId, menu_id::kNew);
    EXPECT_EQ(press('O', kCtrl).menuId, menu_id::kOpen);
    EXPECT_EQ(press('P', kCtrl).menuId, menu_id::kPreferences);
    EXPECT_EQ(press('Q', kCtrl).menuId, menu_id::kExit);
    EXPECT_FALSE(press('F', kCtrl | kShift).consumed);
    EXPECT_FALSE(press('S').consumed);
    EXPECT_FALSE(press('S', kCtrl | kAlt).consumed);
    EXPECT_FALSE(press('A', kCtrl).consumed);
}

TEST(KeyMap, EvenRepeatCountSkipsTheFunctionKeyGroup) {
    KeyInput input;
    input.kind = KeyMessageKind::KeyDown;
    input.repeatBit = false;
    input.virtualKey = vk::kLeft;
    EXPECT_FALSE(decideKey(input).consumed);
    input.virtualKey = vk::kReturn;
    EXPECT_FALSE(decideKey(input).consumed);
    input.virtualKey = 'S';
    input.ctrl = true;
    EXPECT_EQ(decideKey(input).menuId, menu_id::kSave);
}

TEST(KeyMap, MouseCaptureConsumesMatchedKeysWithoutAction) {
    KeyInput input;
    input.kind = KeyMessageKind::KeyDown;
    input.mouseCaptured = true;
    input.ctrl = true;
    input.virtualKey = 'S';
    KeyDecision save = decideKey(input);
    EXPECT_TRUE(save.consumed);
    EXPECT_EQ(save.action, KeyAction::None);
    EXPECT_EQ(save.menuId, 0);
    input.ctrl = false;
    input.virtualKey = vk::kLeft;
    EXPECT_TRUE(decideKey(input).consumed);
    EXPECT_EQ(decideKey(input).action, KeyAction::None);
    input.virtualKey = 'A';
    EXPECT_FALSE(decideKey(input).consumed);
}

TEST(KeyMap, CharacterMessagesAreForwardedUnlessCtrlOrAlt) {
    KeyInput input;
    input.kind = KeyMessageKind::Char;
    input.virtualKey = 'a';
    KeyDecision typed = decideKey(input);
    EXPECT_TRUE(typed.forwardChar);
    EXPECT_FALSE(typed.consumed);
    input.shift = true;
    input.mouseCaptured = true;
    EXPECT_TRUE(decideKey(input).forwardChar);
    input.ctrl = true;
    EXPECT_FALSE(decideKey(input).forwardChar);
    input.ctrl = false;
    input.alt = true;
    EXPECT_FALSE(decideKey(input).forwardChar);
    input.kind = KeyMessageKind::Other;
    input.alt = false;
    EXPECT_FALSE(decideKey(input).forwardChar);
    EXPECT_FALSE(decideKey(input).consumed);
}

using KeyActions = EditorFixture;

TEST_F(KeyActions, ShiftMovesExtendAroundAndPlainMovesClear) {
    setLines({"abcdef"});
    caretAt(2, 0);
    EXPECT_TRUE(performKeyAction(doc, press(vk::kRight, kShift)));
    EXPECT_TRUE(performKeyAction(doc, press(vk::kRight, kShift)));
    EXPECT_TRUE(doc.selectionActive);
    EXPECT_EQ(doc.selectionStart, (TextPosition{2, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{4, 0}));
    performKeyAction(doc, press(vk::kHome, kShift));
    EXPECT_EQ(doc.selectionStart, (TextPosition{0, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{2, 0}));
    performKeyAction(doc, press(vk::kRight));
    EXPECT_FALSE(doc.selectionActive);
    EXPECT_EQ(caret(), (TextPosition{1, 0}));
}

TEST_F(KeyActions, DocumentSideActionsRunAndWindowSideOnesAreLeft) {
    setLines({"ab"});
    performKeyAction(doc, press('L', kCtrl));
    EXPECT_TRUE(doc.absoluteLineNumbers);
    performKeyAction(doc, press('L', kCtrl | kShift));
    EXPECT_TRUE(doc.relativeLineNumbers);
    EXPECT_FALSE(doc.absoluteLineNumbers);
    performKeyAction(doc, press(vk::kF9));
    EXPECT_FALSE(doc.crlf);
    performKeyAction(doc, press(vk::kReturn));
    EXPECT_EQ(lines(), (Lines{"", "ab"}));
    EXPECT_FALSE(performKeyAction(doc, press('S', kCtrl)));
    EXPECT_FALSE(performKeyAction(doc, press('F', kCtrl)));
    EXPECT_FALSE(performKeyAction(doc, press(vk::kF11)));
    EXPECT_FALSE(performKeyAction(doc, press('W', kCtrl)));
    EXPECT_FALSE(performKeyAction(doc, KeyDecision{}));
}

TEST_F(KeyActions, TypedCharacterIsInsertedAsUtf8) {
    setLines({"ab"});
    caretAt(1, 0);
    char bytes[32];
    EXPECT_EQ(encodeUtf8(0xE9, bytes), 2);
    insertText(doc, bytes);
    EXPECT_EQ(lines(), (Lines{"a\xC3\xA9"
                              "b"}));
    EXPECT_EQ(view.caretColumn, 2);
}

TEST(EncodeUtf8, UnitsAndSurrogatePairs) {
    char out[32];
    EXPECT_EQ(encodeUtf8('A', out), 1);
    EXPECT_STREQ(out, "A");
    EXPECT_EQ(encodeUtf8(0x7FF, out), 2);
    EXPECT_STREQ(out, "\xDF\xBF");
    EXPECT_EQ(encodeUtf8(0x20AC, out), 3);
    EXPECT_STREQ(out, "\xE2\x82\xAC");
    EXPECT_EQ(encodeUtf8(0xD800, out), 3);  // a lone surrogate on its own
    EXPECT_STREQ(out, "\xED\xA0\x80");
    EXPECT_EQ(encodeUtf8(0xD83D, 0xDE00, out), 4);
    EXPECT_STREQ(out, "\xF0\x9F\x98\x80");
    EXPECT_EQ(encodeUtf8(0xDBFF, 0xDFFF, out), 4);
    EXPECT_STREQ(out, "\xF4\x8F\xBF\xBF");
    EXPECT_EQ(encodeUtf8(0xD83D, 'x', out), 3);
    EXPECT_STREQ(out, "\xED\xA0\xBD");
    EXPECT_EQ(encodeUtf8(0, out), 1);
    EXPECT_EQ(out[0], '\0');
}
