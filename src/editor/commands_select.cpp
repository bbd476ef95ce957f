#include <algorithm>
#include <string_view>
#include <vector>

#include "editor/commands.h"
#include "editor/edit_helpers.h"

namespace {

// What a double-click takes as one word: letters, digits, '_' and every character beyond
// ASCII belong together; blanks belong together; each other sign stands with its like.
int wordClass(const char* character) {
    auto b = static_cast<unsigned char>(*character);
    if (b == ' ' || b == '\t') return 0;
    if (b >= 0x80 || b == '_' || (b >= '0' && b <= '9') || ((b | 0x20) >= 'a' && (b | 0x20) <= 'z')) return 1;
    return 2;
}

void select(Document& doc, TextPosition anchor, TextPosition caret) {
    doc.selectionActive = true;
    doc.anchor = anchor;
    const bool caretFirst = caret.before(anchor);
    doc.selectionStart = caretFirst ? caret : anchor;
    doc.selectionEnd = caretFirst ? anchor : caret;
    doc.setCaret(caret.column, caret.line);
}

}  // namespace

void selectAll(Document& doc) {
    if (doc.lineCount() == 0) return;
    int last = doc.lineCount() - 1;
    select(doc, {0, 0}, {edit::lineLength(doc, last), last});
}

void selectWordAt(Document& doc, TextPosition at) {
    std::string_view line = edit::lineText(doc, at.line);
    if (!edit::lineExists(doc, at.line) || line.empty()) return;
    // The columns' characters, each with its class.
    std::vector<size_t> starts;
    for (size_t b = 0; b < line.size(); b += static_cast<size_t>(charLength(line.data() + b))) starts.push_back(b);
    int count = static_cast<int>(starts.size());
    int column = std::clamp(at.column, 0, count - 1);
    int kind = wordClass(line.data() + starts[static_cast<size_t>(column)]);
    int from = column, to = column + 1;
    while (from > 0 && wordClass(line.data() + starts[static_cast<size_t>(from - 1)]) == kind) --from;
    while (to < count && wordClass(line.data() + starts[static_cast<size_t>(to)]) == kind) ++to;
    select(doc, {from, at.line}, {to, at.line});
}

void extendSelectionTo(Document& doc, TextPosition at) {
    const ViewState& view = doc.view();
    TextPosition anchor = doc.selectionActive ? doc.anchor : TextPosition{view.caretColumn, view.caretLine};
    select(doc, anchor, at);
}
