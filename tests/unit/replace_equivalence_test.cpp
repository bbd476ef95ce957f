// Replace-all and search work on the stored text in one pass; these tests hold them to the
// one-at-a-time procedure (written out slowly in slow_replace.h) on random documents:
// the same lines, caret, scroll, selection, modified flag, titles and pointer hiding.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "editor/commands.h"
#include "editor/document.h"
#include "editor/document_file.h"
#include "editor/find.h"
#include "fake_document_host.h"
#include "slow_replace.h"
#include "temp_dir.h"
#include "text/utf8.h"

using namespace slow;

namespace {

// Pieces that make well-formed text, malformed bytes and characters that share lead bytes.
const char* const kPieces[] = {"a", "b", "aa", "ab", " ", "\xC3\xA9", "\xC3", "\xA9", "\xE2\x82\xAC", "\xE2\x82", "x"};
const char* const kTexts[] = {"a", "aa", "ab", "ba", "\xC3\xA9", "\xC3", "\xA9", "a\xC3\xA9", "\xE2\x82"};
const char* const kChanges[] = {"bb", "a", "", "xyz", "\xC3\xA9", "\xA9", "aa", "\xC3", "b"};

template <size_t N>
const char* pick(std::mt19937& random, const char* const (&from)[N]) {
    return from[random() % N];
}

std::string randomLine(std::mt19937& random, bool wellFormed) {
    std::string line;
    int pieces = static_cast<int>(random() % 9);
    for (int i = 0; i < pieces; ++i) {
        const char* piece = pick(random, kPieces);
        if (wellFormed && utf8_kind(piece) < 0) piece = "a";
        line += piece;
    }
    return line;
}

// Both editors get the same random start: lines, caret, selection and mode.
void randomStart(std::mt19937& random, Editor& a, Editor& b, bool wellFormed) {
    int count = 1 + static_cast<int>(random() % 6);
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back(randomLine(random, wellFormed));
    bool overwrite = random() % 2;
    int caretLine = static_cast<int>(random() % static_cast<unsigned>(count));
    int caretColumn = static_cast<int>(random() % 5);
    bool select = random() % 3 == 0;
    for (Editor* e : std::array<Editor*, 2>{&a, &b}) {
        e->doc.clearLines();
        for (int i = 0; i < count; ++i) e->doc.insertLine(i, lines[static_cast<size_t>(i)].c_str());
        e->doc.overwrite = overwrite;
        e->view.caretLine = caretLine;
        e->view.caretColumn = std::min(caretColumn, charCount(e->doc.line(caretLine)));
        e->view.screenColumn = std::min(e->view.caretColumn, 12);
        if (select) {
            e->doc.extendSelection();
            e->view.caretColumn = 0;
            e->doc.extendSelection();
        }
        e->host.titles.clear();
        e->host.hideCount = 0;
    }
}

}  // namespace

TEST(ReplaceEquivalence, ReplaceAllGivesExactlyTheOneAtATimeResults) {
    std::mt19937 random(2024);
    for (int round = 0; round < 3000; ++round) {
        Editor fast, slow;
        randomStart(random, fast, slow, round % 2 == 0);
        std::string text = pick(random, kTexts);
        std::string change = pick(random, kChanges);
        ReplaceOptions options{.backward = false, .fromStart = random() % 2 == 0, .all = true};
        std::string before = state(fast);
        replace(fast.doc, text, change, options);
        slowReplace(slow.doc, text, change, options);
        ASSERT_EQ(state(fast), state(slow)) << "round " << round << " find '" << text << "' change '" << change
                                            << "' from\n" << before;
        // One undo takes the whole replace back, byte for byte.
        auto linesOf = [](const std::string& s) { return s.substr(0, s.find("caret ")); };
        if (linesOf(state(fast)) == linesOf(before)) continue;
        undo(fast.doc);
        ASSERT_EQ(linesOf(state(fast)), linesOf(before)) << "round " << round;
    }
}

TEST(ReplaceEquivalence, SingleAndBackwardReplacementsFollowTheSameSteps) {
    std::mt19937 random(99);
    for (int round = 0; round < 2000; ++round) {
        Editor fast, slow;
        randomStart(random, fast, slow, false);
        std::string text = pick(random, kTexts);
        std::string change = pick(random, kChanges);
        ReplaceOptions options{.backward = random() % 2 == 0, .fromStart = random() % 2 == 0, .all = random() % 2 == 0};
        replace(fast.doc, text, change, options);
        slowReplace(slow.doc, text, change, options);
        ASSERT_EQ(state(fast), state(slow)) << "round " << round;
    }
}

TEST(ReplaceEquivalence, ReplaceAllInOneLongLineIsTheOneAtATimeResult) {
    Editor fast, slow;
    std::string line;
    for (int i = 0; i < 3000; ++i) line += i % 7 ? "xa\xC3\xA9 " : "aa ";
    for (Editor* e : std::array<Editor*, 2>{&fast, &slow}) {
        e->doc.clearLines();
        e->doc.insertLine(0, line.c_str());
        e->doc.insertLine(1, "tail a");
        e->doc.overwrite = true;
    }
    replace(fast.doc, "a", "bb", {.fromStart = true, .all = true});
    slowReplace(slow.doc, "a", "bb", {.fromStart = true, .all = true});
    EXPECT_EQ(state(fast), state(slow));
}

// A loaded document keeps its lines in one shared block; edits leave bytes there that no line
// shows any more. Searching the stored text must still find exactly what a line-by-line scan
// of the lines finds, forward and backward, and replace-all must match the slow procedure.
TEST(ReplaceEquivalence, SearchOverStoredTextFindsWhatTheLinesHold) {
    std::mt19937 random(5);
    TempDir dir;
    for (int round = 0; round < 60; ++round) {
        std::string bytes;
        int count = 50 + static_cast<int>(random() % 400);
        for (int i = 0; i < count; ++i) {
            bytes += randomLine(random, false);
            if (random() % 9 == 0) bytes.push_back('\0');  // bytes after a NUL belong to no line
            if (random() % 5 == 0) bytes += "aa";
            bytes += random() % 4 ? "\n" : "\r\n";
        }
        dir.write("doc.txt", bytes);
        Editor fast, slow;
        for (Editor* e : std::array<Editor*, 2>{&fast, &slow}) ASSERT_EQ(loadDocument(e->doc, dir.file("doc.txt")), LoadResult::Loaded);
        // The same edits on both: cut line ends, drop leading bytes, remove lines.
        for (int edit = 0; edit < 20; ++edit) {
            int line = static_cast<int>(random() % static_cast<unsigned>(fast.doc.lineCount()));
            unsigned kind = random() % 3;
            for (Editor* e : std::array<Editor*, 2>{&fast, &slow}) {
                e->view.caretLine = line;
                e->view.caretColumn = 1;
                e->doc.clearSelection();
                if (kind == 0 && line + 1 < e->doc.lineCount()) {
                    e->doc.extendSelection();
                    e->view.caretLine = line + 1;
                    e->view.caretColumn = 0;
                    e->doc.extendSelection();
                    unindent(e->doc);
                } else if (kind == 1) {
                    e->view.caretColumn = 0;
                    deleteWordForward(e->doc);
                } else {
                    e->doc.removeLine(line);
                }
            }
        }
        for (int probe = 0; probe < 30; ++probe) {
            std::string text = pick(random, kTexts);
            int line = static_cast<int>(random() % static_cast<unsigned>(fast.doc.lineCount()));
            int column = static_cast<int>(random() % 4);
            bool backward = random() % 2;
            Found expected = backward ? slowBackward(fast.doc, text, line, column) : slowForward(fast.doc, text, line, column);
            fast.doc.clearSelection();
            fast.view.caretLine = line;
            fast.view.caretColumn = column;
            bool found = search(fast.doc, text, {.backward = backward});
            ASSERT_EQ(found, expected.line >= 0) << round << " " << text;
            if (found) {
                ASSERT_EQ(fast.view.caretLine, expected.line);
                ASSERT_EQ(fast.view.caretColumn, expected.column);
            }
        }
        for (Editor* e : std::array<Editor*, 2>{&fast, &slow}) {
            e->doc.clearSelection();
            e->view.caretLine = 0;
            e->view.caretColumn = 0;
            e->view.screenColumn = 0;
            e->view.screenRow = 0;
            e->host.hideCount = 0;
        }
        std::string text = pick(random, kTexts);
        replace(fast.doc, text, "bb", {.fromStart = true, .all = true});
        slowReplace(slow.doc, text, "bb", {.fromStart = true, .all = true});
        ASSERT_EQ(state(fast), state(slow)) << round;
    }
}
