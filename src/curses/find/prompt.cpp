// The prompts on the bottom row: opening them, switching between find and replace, and the
// line editor for their texts.
#include "curses/editor/curses_editor.h"
#include "text/utf8.h"

using namespace curses_key;

namespace {

bool isSurrogate(int unit) { return unit >= 0xD800 && unit <= 0xDFFF; }
bool isLowSurrogate(int unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

void CursesEditor::prompt_key(int key, std::string& text) {
    PaintBatch batch(*this);
    const bool textPrompt = prompt.mode == FindPrompt || prompt.mode == ReplacePrompt;
    if (joiner_.holding() && !isLowSurrogate(key)) joiner_.flush(text);
    // What the key adds to the text, replacing it when nothing was typed since it opened.
    std::string added;
    bool adds = false;
    switch (key) {
    case 0:
        prompt.prompt_typed = false;
        paint_.add({PaintRequest::TopLine});
        break;
    case Backspace:
        if (!text.empty()) text.erase(previousCharStart(text.c_str(), text.size()));
        prompt.prompt_typed = true;
        break;
    case Escape: closePrompt(); return;
    case Enter:
    case CtrlJ: prompt.mode = Editing; return;
    case Down:
        if (textPrompt) shared().search_mode = (shared().search_mode + 1) % 6;
        break;
    case Up:
        if (textPrompt) shared().search_mode = (shared().search_mode + 5) % 6;
        break;
    case Insert:
        if (!shiftHeld() && !altHeld()) break;
        [[fallthrough]];
    case ctrl('V'): {
        const std::vector<std::string> clip = clipboardLines();
        adds = !clip.empty();
        if (adds) added = clip[0];
        break;
    }
    default:
        if (!curses_key_is_printable(key)) break;
        if (isSurrogate(curses_key_character(key)) || joiner_.holding())
            joiner_.feed(static_cast<char16_t>(curses_key_character(key)), added);
        else
            appendCodePoint(added, curses_key_character(key));
        adds = !added.empty();
        break;
    }
    if (adds) {
        if (!prompt.prompt_typed) text.clear();
        text += added;
        prompt.prompt_typed = true;
    }
    draw_prompt();
}

void CursesEditor::openFindPrompt(bool replace) {
    if (sel.selecting) {
        const TextRange r = selection();
        if (r.start.line == r.end.line && !r.empty()) prompt.search_text = selection_text();
    }
    if (replace && prompt.search_text.empty()) {
        show_message("Use Ctrl+F first, or run Ctrl+R from Find prompt");
        return;
    }
    switchPrompt(replace ? ReplacePrompt : FindPrompt);
}

void CursesEditor::openGotoPrompt() {
    shared().goto_buffer.clear();
    switchPrompt(GotoPrompt);
}

void CursesEditor::switchPrompt(int toMode) {
    prompt.mode = toMode;
    std::string& text = toMode == ReplacePrompt ? prompt.replace_text
                        : toMode == GotoPrompt  ? shared().goto_buffer
                                                : prompt.search_text;
    prompt_key(0, text);
}

void CursesEditor::closePrompt() {
    prompt.mode = Editing;
    settleCaret(true);
}

void CursesEditor::performPrompt(const CursesKeyDecision& decision, int key) {
    switch (decision.action) {
    case CursesAction::ClosePrompt: closePrompt(); return;
    case CursesAction::PromptToFind: switchPrompt(FindPrompt); return;
    case CursesAction::PromptToReplace: switchPrompt(ReplacePrompt); return;
    default: break;
    }
    if (prompt.mode == GotoPrompt) {
        prompt_key(key, shared().goto_buffer);
        if (key == Enter) goto_line();
        return;
    }
    const bool replacing = prompt.mode == ReplacePrompt;
    prompt_key(key, replacing ? prompt.replace_text : prompt.search_text);
    if (key == Enter || key == CtrlJ) find(false, replacing);
}
