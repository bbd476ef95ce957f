#include <cstring>

#include "editor/commands.h"
#include "editor/key_map.h"
#include "editor/menu_ids.h"
#include "editor/typing.h"
#include "text/virtual_keys.h"
#include "editor_fixture.h"

namespace {

enum Mods { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

ModifierKeys held(int mods) { return {.ctrl = (mods & kCtrl) != 0, .shift = (mods & kShift) != 0, .alt = (mods & kAlt) != 0}; }

KeyDecision press(int key, int mods = kNone, KeyMessageKind kind = KeyMessageKind::KeyDown) {
    KeyEvent event;
    event.kind = kind;
    event.virtualKey = key;
    event.modifiers = held(mods);
    return decideKey(event);
}

// A message as the editor window receives it.
KeyDecision atEditor(KeyMessageKind kind, unsigned code, int mods = kNone, bool captured = false) {
    KeyEvent event;
    event.kind = kind;
    if (kind == KeyMessageKind::Char)
        event.character = code;
    else
        event.virtualKey = static_cast<int>(code);
    event.modifiers = held(mods);
    event.mouseCaptured = captured;
    return decideKey(event, KeyStage::EditorWindow);
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
    // Ctrl+Shift+Left and Right extend the selection by words.
    KeyDecision wordSelect = press(vk::kLeft, kCtrl | kShift);
    EXPECT_EQ(wordSelect.action, KeyAction::WordLeft);
    EXPECT_TRUE(wordSelect.around);
    EXPECT_EQ(press(vk::kRight, kCtrl | kShift).action, KeyAction::WordRight);
    EXPECT_TRUE(press(vk::kRight, kCtrl | kShift).around);
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
    EXPECT_EQ(press('A', kCtrl).action, KeyAction::SelectAll);
    EXPECT_EQ(press('Z', kCtrl).action, KeyAction::Undo);
    EXPECT_EQ(press('Y', kCtrl).action, KeyAction::Redo);
    EXPECT_EQ(press('Z', kCtrl | kShift).action, KeyAction::Redo);
    EXPECT_FALSE(press('Y', kCtrl | kShift).consumed);
    EXPECT_FALSE(press('Z', kNone).consumed);
    EXPECT_FALSE(press('F', kCtrl | kShift).consumed);
    EXPECT_FALSE(press('S').consumed);
    EXPECT_FALSE(press('S', kCtrl | kAlt).consumed);
    EXPECT_FALSE(press('A', kCtrl | kShift).consumed);
}

TEST(KeyMap, EvenRepeatCountSkipsTheFunctionKeyGroup) {
    KeyEvent event;
    event.kind = KeyMessageKind::KeyDown;
    event.repeatBit = false;
    event.virtualKey = vk::kLeft;
    EXPECT_FALSE(decideKey(event).consumed);
    event.virtualKey = vk::kReturn;
    EXPECT_FALSE(decideKey(event).consumed);
    event.virtualKey = 'S';
    event.modifiers.ctrl = true;
    EXPECT_EQ(decideKey(event).menuId, menu_id::kSave);
}

TEST(KeyMap, MouseCaptureConsumesMatchedKeysWithoutAction) {
    KeyEvent event;
    event.kind = KeyMessageKind::KeyDown;
    event.mouseCaptured = true;
    event.modifiers.ctrl = true;
    event.virtualKey = 'S';
    KeyDecision save = decideKey(event);
    EXPECT_TRUE(save.consumed);
    EXPECT_EQ(save.action, KeyAction::None);
    EXPECT_EQ(save.menuId, 0);
    event.virtualKey = 'Z';
    EXPECT_TRUE(decideKey(event).consumed);
    EXPECT_EQ(decideKey(event).action, KeyAction::None);
    event.modifiers.ctrl = false;
    event.virtualKey = vk::kLeft;
    EXPECT_TRUE(decideKey(event).consumed);
    EXPECT_EQ(decideKey(event).action, KeyAction::None);
    event.virtualKey = 'A';
    EXPECT_FALSE(decideKey(event).consumed);
}

TEST(KeyMap, CharacterMessagesAreForwardedUnlessCtrlOrAlt) {
    KeyEvent event;
    event.kind = KeyMessageKind::Char;
    event.character = 'a';
    KeyDecision typed = decideKey(event);
    EXPECT_TRUE(typed.forwardChar);
    EXPECT_TRUE(typed.consumed);
    event.modifiers.shift = true;
    event.mouseCaptured = true;
    EXPECT_TRUE(decideKey(event).forwardChar);
    event.modifiers.ctrl = true;
    EXPECT_FALSE(decideKey(event).forwardChar);
    EXPECT_FALSE(decideKey(event).consumed);
    event.modifiers.ctrl = false;
    event.modifiers.alt = true;
    EXPECT_FALSE(decideKey(event).forwardChar);
    event.kind = KeyMessageKind::Other;
    event.modifiers.alt = false;
    EXPECT_FALSE(decideKey(event).forwardChar);
    EXPECT_FALSE(decideKey(event).consumed);
}

TEST(EditorWindowKeys, InsertDeleteAndBackspaceOnlyWithoutModifiersOrDrag) {
    EXPECT_EQ(atEditor(KeyMessageKind::KeyDown, vk::kInsert).action, KeyAction::ToggleOverwrite);
    EXPECT_EQ(atEditor(KeyMessageKind::KeyDown, vk::kDelete).action, KeyAction::DeleteForward);
    EXPECT_EQ(atEditor(KeyMessageKind::Char, 8).action, KeyAction::DeleteBackward);
    EXPECT_EQ(atEditor(KeyMessageKind::KeyDown, vk::kInsert, kShift).action, KeyAction::None);
    EXPECT_EQ(atEditor(KeyMessageKind::KeyDown, vk::kDelete, kCtrl).action, KeyAction::None);
    EXPECT_EQ(atEditor(KeyMessageKind::Char, 8, kAlt).action, KeyAction::None);
    EXPECT_EQ(atEditor(KeyMessageKind::KeyDown, vk::kDelete, kNone, true).action, KeyAction::None);
    EXPECT_EQ(atEditor(KeyMessageKind::Char, 8, kNone, true).action, KeyAction::None);
    // Other keys reaching the window are the scrollbar's business, not a command.
    EXPECT_EQ(atEditor(KeyMessageKind::KeyDown, vk::kNext).action, KeyAction::None);
}

TEST(EditorWindowKeys, TypedCharactersWhateverTheModifiersButNotControlCodes) {
    KeyDecision e = atEditor(KeyMessageKind::Char, 0xE9, kShift | kCtrl | kAlt, true);
    EXPECT_EQ(e.action, KeyAction::TypeCharacter);
    EXPECT_EQ(e.character, 0xE9u);
    EXPECT_EQ(atEditor(KeyMessageKind::Char, ' ').action, KeyAction::TypeCharacter);
    EXPECT_EQ(atEditor(KeyMessageKind::Char, 0xD83D).action, KeyAction::TypeCharacter);
    // Ctrl+B, Ctrl+E, Ctrl+Enter and the other shortcuts without a command arrive as control
    // characters: none of them is text.
    for (unsigned code : {1u, 2u, 5u, 9u, 10u, 13u, 26u, 27u, 31u})
        EXPECT_EQ(atEditor(KeyMessageKind::Char, code, kCtrl).action, KeyAction::None) << code;
    EXPECT_EQ(atEditor(KeyMessageKind::Char, 0).action, KeyAction::None);
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
    TypingState typing;
    performKeyAction(doc, atEditor(KeyMessageKind::Char, 0xE9), &typing);
    EXPECT_EQ(lines(), (Lines{"a\xC3\xA9"
                              "b"}));
    EXPECT_EQ(view.caretColumn, 2);
}

TEST_F(KeyActions, SurrogateHalvesBecomeOneFourByteCharacter) {
    setLines({""});
    TypingState typing;
    performKeyAction(doc, atEditor(KeyMessageKind::Char, 0xD83D), &typing);
    EXPECT_EQ(lines(), (Lines{""}));  // the high half waits for its partner
    performKeyAction(doc, atEditor(KeyMessageKind::Char, 0xDE00), &typing);
    EXPECT_EQ(lines(), (Lines{"\xF0\x9F\x98\x80"}));
    EXPECT_EQ(view.caretColumn, 1);
}

TEST_F(KeyActions, LoneSurrogatesAreKeptAsTheirOwnCharacters) {
    setLines({""});
    TypingState typing;
    // A high half followed by a plain character, then a low half on its own.
    performKeyAction(doc, atEditor(KeyMessageKind::Char, 0xD83D), &typing);
    performKeyAction(doc, atEditor(KeyMessageKind::Char, 'x'), &typing);
    performKeyAction(doc, atEditor(KeyMessageKind::Char, 0xDE00), &typing);
    EXPECT_EQ(lines(), (Lines{"\xED\xA0\xBDx\xED\xB8\x80"}));
    // A high half followed by a command is written before the command runs.
    performKeyAction(doc, atEditor(KeyMessageKind::Char, 0xD83D), &typing);
    performKeyAction(doc, press(vk::kHome), &typing);
    EXPECT_EQ(lines(), (Lines{"\xED\xA0\xBDx\xED\xB8\x80\xED\xA0\xBD"}));
    EXPECT_EQ(view.caretColumn, 0);
}
