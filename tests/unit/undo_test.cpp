// Undo and redo in the main editor: random sessions of every command, and the rules a user
// sees (words, New and Open, the saved text, the memory budget).
#include <gtest/gtest.h>

#include <random>

#include "editor/commands.h"
#include "editor/find.h"
#include "editor_fixture.h"
#include "temp_dir.h"
#include "undo_session.h"

namespace {

TEST(UndoSessions, UndoEverythingGivesTheStartAndRedoEverythingTheEnd) {
    TempDir dir;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        std::vector<uint8_t> bytes(600);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
        undo_session::Bytes in(bytes.data(), bytes.size());
        undo_session::Session session(dir.folder());
        session.start(in);
        while (!in.done() && !session.failed()) session.step(in);
        if (!session.failed()) session.unwindAndReplay();
        ASSERT_FALSE(session.failed()) << "seed " << seed << ": " << session.failure();
    }
}

struct Undo : EditorFixture {
    Undo() {
        doc.history.setClock(clock);
        now = 0;
    }
    static int64_t clock() { return now; }
    static inline int64_t now = 0;

    void type(const char* text) {
        for (const char* p = text; *p; ++p) {
            KeyDecision decision;
            decision.action = KeyAction::TypeCharacter;
            decision.character = static_cast<unsigned char>(*p);
            performKeyAction(doc, decision, &typing);
            now += 100;
        }
    }
    TypingState typing;
};

TEST_F(Undo, AWordTypedIsOneStepAndAPauseOrAMoveStartsTheNext) {
    setLines({""});
    doc.history.clear();
    type("one");
    now += 1500;
    type(" two");
    for (KeyAction move : {KeyAction::MoveLeft, KeyAction::MoveRight}) {
        KeyDecision decision;
        decision.action = move;
        performKeyAction(doc, decision, &typing);
    }
    type("!");
    EXPECT_EQ(lines(), (Lines{"one two!"}));
    undo(doc);
    EXPECT_EQ(lines(), (Lines{"one two"}));
    undo(doc);
    EXPECT_EQ(lines(), (Lines{"one"}));
    undo(doc);
    EXPECT_EQ(lines(), (Lines{""}));
    EXPECT_FALSE(doc.history.canUndo());
}

TEST_F(Undo, NewBringsBackTheUnsavedTextWithItsPathModesAndTitle) {
    TempDir dir;
    dir.write("a.txt", "alpha\n");
    ASSERT_EQ(loadDocument(doc, dir.file("a.txt")), LoadResult::Loaded);
    doc.history.clear();
    caretAt(5, 0);
    type("!");
    doc.crlf = false;
    doc.newDocument();
    EXPECT_EQ(lines(), (Lines{""}));
    EXPECT_EQ(host.titles.back(), "Orvane - *");

    undo(doc);
    EXPECT_EQ(lines(), (Lines{"alpha!"}));
    EXPECT_EQ(doc.path, dir.file("a.txt"));
    EXPECT_FALSE(doc.crlf);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(host.titles.back(), "Orvane - *a.txt");
    EXPECT_EQ(caret(), (TextPosition{6, 0}));
    undo(doc);
    EXPECT_EQ(lines(), (Lines{"alpha"}));
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(host.titles.back(), "Orvane - a.txt");

    redo(doc);
    redo(doc);
    EXPECT_EQ(lines(), (Lines{""}));
    EXPECT_TRUE(doc.path.empty());
}

TEST_F(Undo, SaveKeepsTheHistoryAndUndoPastTheSaveMarksTheTextChanged) {
    TempDir dir;
    doc.path = dir.file("b.txt");
    setLines({"x"});
    doc.history.clear();
    caretAt(1, 0);
    type("yz");
    ASSERT_EQ(saveDocument(doc).result, SaveResult::Saved);
    EXPECT_EQ(host.titles.back(), "Orvane - b.txt");
    undo(doc);
    EXPECT_EQ(lines(), (Lines{"x"}));
    EXPECT_EQ(host.titles.back(), "Orvane - *b.txt");
    redo(doc);
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(host.titles.back(), "Orvane - b.txt");
}

TEST_F(Undo, AReplaceAllIsOneStepThatKeepsTheHitsNotTheLines) {
    std::string line(2000, 'x');
    for (size_t i = 0; i < line.size(); i += 20) line[i] = 'a';
    fillLines(500, line.c_str());
    doc.history.clear();
    replace(doc, "a", "bb", {.fromStart = true, .all = true});
    EXPECT_EQ(doc.history.undoCount(), 1u);
    // Each hit costs a few bytes, far less than the million bytes of text it changed.
    EXPECT_LT(doc.history.memoryBytes(), 500u * 100u * 8u);
    undo(doc);
    for (int i = 0; i < doc.lineCount(); ++i) ASSERT_EQ(doc.lines.view(i), line);
    redo(doc);
    EXPECT_EQ(doc.lines.length(0), line.size() + 100);
}

TEST_F(Undo, PastTheBudgetTheOldestStepsGoAndAnUndoWithNothingLeftDoesNothing) {
    setLines({""});
    doc.history.clear();
    doc.history.setBudget(4096);
    for (int i = 0; i < 200; ++i) {
        type("word");
        splitLine(doc);
    }
    EXPECT_LE(doc.history.memoryBytes(), 4096u);
    while (doc.history.canUndo()) undo(doc);
    EXPECT_GT(doc.lineCount(), 1);  // the oldest steps are gone for good
    Lines kept = lines();
    undo(doc);
    EXPECT_EQ(lines(), kept);

    // One step larger than the budget still stays, alone.
    setLines({std::string(10000, 'q').c_str()});
    doc.history.clear();
    select({0, 0}, {10000, 0});
    deleteSelection(doc);
    EXPECT_EQ(doc.history.undoCount(), 1u);
    undo(doc);
    EXPECT_EQ(doc.lines.length(0), 10000u);
}

}  // namespace
