// Search and replace on any document, search text and replacement give exactly what the
// slow one-at-a-time procedure gives: the same lines, caret, scroll, selection, anchor,
// modified flag, titles and pointer hiding.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "slow_replace.h"

namespace {

// Parts of the input separated by 0x01: the document (lines at LF), the search text, the
// replacement. NUL and LF cannot be typed into a line or a find box.
std::vector<std::string> parts(const std::string& bytes) {
    std::vector<std::string> out(1);
    for (char c : bytes) {
        if (c == '\x01' && out.size() < 3) {
            out.emplace_back();
        } else {
            out.back() += c == '\0' ? 'a' : c;
        }
    }
    out.resize(3);
    for (size_t i = 1; i < 3; ++i)
        for (char& c : out[i])
            if (c == '\n') c = 'b';
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3 || size > 600) return 0;
    const uint8_t flags = data[0];
    const int caretLine = data[1] % 8, caretColumn = data[2] % 12;
    std::vector<std::string> p = parts(std::string(reinterpret_cast<const char*>(data + 3), size - 3));
    std::vector<std::string> lines;
    for (size_t from = 0;;) {
        size_t lf = p[0].find('\n', from);
        lines.push_back(p[0].substr(from, lf == std::string::npos ? std::string::npos : lf - from));
        if (lf == std::string::npos || lines.size() == 12) break;
        from = lf + 1;
    }
    // The commands do nothing for an empty search text; the slow procedure would match it
    // everywhere forever.
    if (p[1].empty()) return 0;
    ReplaceOptions options{.backward = (flags & 1) != 0, .fromStart = (flags & 2) != 0, .all = (flags & 4) != 0};

    slow::Editor fast, slowEditor;
    for (slow::Editor* e : {&fast, &slowEditor}) {
        e->doc.clearLines();
        for (size_t i = 0; i < lines.size(); ++i) e->doc.insertLine(static_cast<int>(i), lines[i].c_str());
        e->doc.overwrite = (flags & 8) != 0;
        e->view.caretLine = std::min(caretLine, e->doc.lineCount() - 1);
        e->view.caretColumn = std::min(caretColumn, charCount(e->doc.line(e->view.caretLine)));
        if (flags & 16) {
            e->doc.extendSelection();
            e->view.caretColumn = 0;
            e->doc.extendSelection();
        }
        e->host.titles.clear();
        e->host.hideCount = 0;
    }
    if (flags & 32) {
        // Search alone, against the slow scan.
        slow::Found expected = options.backward
                                   ? slow::slowBackward(fast.doc, p[1], fast.view.caretLine, fast.view.caretColumn)
                                   : slow::slowForward(fast.doc, p[1], fast.view.caretLine, fast.view.caretColumn);
        fast.doc.clearSelection();
        bool found = search(fast.doc, p[1], {.backward = options.backward});
        FUZZ_CHECK(found == (expected.line >= 0));
        if (found) FUZZ_CHECK(fast.view.caretLine == expected.line && fast.view.caretColumn == expected.column);
        return 0;
    }
    replace(fast.doc, p[1], p[2], options);
    slow::slowReplace(slowEditor.doc, p[1], p[2], options);
    FUZZ_CHECK(slow::state(fast) == slow::state(slowEditor));
    return 0;
}
