#include "editor/find_dialog_input.h"

#include "editor/find.h"

namespace {

bool none(const DialogModifiers& m) { return !m.ctrl && !m.shift && !m.alt; }
bool onlyShift(const DialogModifiers& m) { return m.shift && !m.ctrl && !m.alt; }
bool onlyCtrl(const DialogModifiers& m) { return m.ctrl && !m.shift && !m.alt; }

bool enterFind(Document& doc, const std::string& text, const DialogModifiers& m) {
    if (text.empty() || m.mouseCaptured) return false;
    if (none(m)) {
        search(doc, text, {.fromStart = true});
    } else if (onlyShift(m)) {
        search(doc, text, {});
    } else {
        return false;
    }
    return true;
}

bool enterReplace(Document& doc, const std::string& text, const std::string& replacement, const DialogModifiers& m) {
    if (text.empty() || replacement.empty() || m.mouseCaptured) return false;
    if (none(m)) {
        replace(doc, text, replacement, {.fromStart = true});
    } else if (onlyCtrl(m)) {
        replace(doc, text, replacement, {.fromStart = true, .all = true});
    } else if (onlyShift(m)) {
        replace(doc, text, replacement, {});
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool runDialogEnter(Document& doc, FindDialogKind kind, const std::string& first, const std::string& second,
                    const DialogModifiers& modifiers) {
    Document::CommandScope command(doc);
    switch (kind) {
    case FindDialogKind::Find: return enterFind(doc, first, modifiers);
    case FindDialogKind::Replace: return enterReplace(doc, first, second, modifiers);
    case FindDialogKind::GotoLine: gotoLine(doc, first.c_str()); return true;
    case FindDialogKind::GotoOffset: gotoLineOffset(doc, first.c_str()); return true;
    }
    return false;
}
