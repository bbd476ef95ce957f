// Drawing waits while keys are handled: commands ask for what must be drawn, and the outermost
// batch draws it from the state once they are done.
#include <algorithm>

#include "curses/editor/curses_editor.h"

CursesEditor::PaintBatch::PaintBatch(CursesEditor& editor) : editor_(editor) {
    editor_.run_guards.push_back(&destroyed_);
    ++editor_.paint_.depth;
}

CursesEditor::PaintBatch::~PaintBatch() {
    // An editor destroyed inside the batch is not touched again.
    if (destroyed_) return;
    auto& guards = editor_.run_guards;
    guards.erase(std::find(guards.begin(), guards.end(), &destroyed_));
    if (--editor_.paint_.depth == 0) editor_.paintRequested();
}

void CursesEditor::requestDraw(int line) {
    if (line < 0)
        paint_.add({PaintRequest::Everything});
    else
        paint_.add({PaintRequest::Line, line});
}

void CursesEditor::requestStatus() { paint_.add({PaintRequest::Status}); }

void CursesEditor::requestCursor() { paint_.add({PaintRequest::Cursor}); }

void CursesEditor::paintRequested() {
    for (const PaintRequest& request : paint_.take()) {
        switch (request.kind) {
        case PaintRequest::Everything: draw(-1); break;
        case PaintRequest::Line: draw(request.line); break;
        case PaintRequest::Status: paintStatus(); break;
        case PaintRequest::Cursor: paintCursor(); break;
        case PaintRequest::Message: paintMessage(request.text); break;
        case PaintRequest::Prompt: paintPrompt(); break;
        case PaintRequest::TopLine: draw_top_line(); break;
        }
    }
}

void CursesEditor::draw_status() {
    PaintBatch batch(*this);
    requestStatus();
}

void CursesEditor::show_message(const std::string& text) {
    PaintBatch batch(*this);
    // The message stays until the next key.
    if (!text.empty() && prompt.mode == Editing) prompt.mode = Message;
    paint_.add({PaintRequest::Message, 0, text});
}

void CursesEditor::draw_prompt() {
    PaintBatch batch(*this);
    paint_.add({PaintRequest::Prompt});
}

void CursesEditor::place_screen_cursor() {
    PaintBatch batch(*this);
    requestCursor();
}
