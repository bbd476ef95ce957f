#include "editor/find_dialog_input.h"

#include "editor/find.h"

namespace {

bool enterFind(Document& doc, const std::string& text, const DialogKeyState& m) {
    if (text.empty() || m.mouseCaptured) return false;
    if (m.held.none()) {
        search(doc, text, {.fromStart = true});
    } else if (m.held.onlyShift()) {
        search(doc, text, {});
    } else {
        return false;
    }
    return true;
}

bool enterReplace(Document& doc, const std::string& text, const std::string& replacement, const DialogKeyState& m) {
    if (text.empty() || replacement.empty() || m.mouseCaptured) return false;
    if (m.held.none()) {
        replace(doc, text, replacement, {.fromStart = true});
    } else if (m.held.onlyCtrl()) {
        replace(doc, text, replacement, {.fromStart = true, .all = true});
    } else if (m.held.onlyShift()) {
        replace(doc, text, replacement, {});
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool runDialogEnter(Document& doc, FindDialogKind kind, const std::string& first, const std::string& second,
                    const DialogKeyState& modifiers) {
    Document::CommandScope command(doc);
    switch (kind) {
    case FindDialogKind::Find: return enterFind(doc, first, modifiers);
    case FindDialogKind::Replace: return enterReplace(doc, first, second, modifiers);
    case FindDialogKind::GotoLine: gotoLine(doc, first.c_str()); return true;
    case FindDialogKind::GotoOffset: gotoLineOffset(doc, first.c_str()); return true;
    }
    return false;
}
