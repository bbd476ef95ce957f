// Recovery records: after any session of edits, undo, New and Open, the record rebuilds the
// text, path, modes and caret exactly, with the steps that led there; a record cut short
// gives back a prefix of its steps; a file changed since it was read is never built upon.
#include <gtest/gtest.h>

#include <random>

#include "editor/recovery_journal.h"
#include "editor/recovery_rebuild.h"
#include "small_document.h"
#include "temp_dir.h"
#include "undo_session.h"

namespace {

struct Picture {
    std::vector<std::string> lines;
    std::string path;
    bool crlf = false, space = false, modified = false;
    CaretState caret;
    bool operator==(const Picture&) const = default;
};

Picture pictureOf(const Document& doc) {
    Picture p{{}, doc.path, doc.crlf, doc.space, doc.modified, CaretState::of(doc)};
    for (int i = 0; i < doc.lineCount(); ++i) p.lines.emplace_back(doc.lines.view(i));
    return p;
}

// A document to rebuild into, as a new start of the program has one.
using Fresh = SmallDocument;

void keep(std::string& record, recovery::Update update) {
    switch (update.action) {
    case recovery::Update::Action::None: break;
    case recovery::Update::Action::Append: record += update.bytes; break;
    case recovery::Update::Action::Rewrite: record = std::move(update.bytes); break;
    case recovery::Update::Action::Remove: record.clear(); break;
    }
}

TEST(RecoverySessions, TheRecordRebuildsTextModesCaretAndTheStepsBehindThem) {
    TempDir dir;
    for (unsigned seed = 1; seed <= 120; ++seed) {
        std::mt19937 random(seed);
        std::vector<uint8_t> bytes(500);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
        undo_session::Bytes in(bytes.data(), bytes.size());
        undo_session::Session session(dir.folder() + std::to_string(seed) + "-", true);
        session.start(in);
        Document& doc = session.doc();
        recovery::Journal journal;
        std::string record;
        for (int step = 0; !in.done(); ++step) {
            session.step(in);
            keep(record, journal.update(doc));
            if (step % 7 != 0 && !in.done()) continue;
            if (record.empty()) {
                // No record: nothing unsaved anywhere in reach of Ctrl+Z.
                ASSERT_FALSE(doc.modified) << "seed " << seed;
                continue;
            }
            Fresh fresh;
            recovery::Rebuilt rebuilt = recovery::rebuild(fresh.doc, record);
            ASSERT_EQ(rebuilt.outcome, recovery::Rebuilt::Outcome::Whole) << "seed " << seed << " step " << step << " changed " << rebuilt.changedFile << "\n" << session.failure();
            ASSERT_FALSE(rebuilt.damaged) << "seed " << seed << " step " << step;
            Picture expected = pictureOf(doc);
            Picture got = pictureOf(fresh.doc);
            std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
            ASSERT_EQ(got.lines, expected.lines) << where;
            ASSERT_EQ(got.path, expected.path) << where;
            ASSERT_EQ(got.crlf, expected.crlf) << where;
            ASSERT_EQ(got.space, expected.space) << where;
            ASSERT_EQ(got.modified, expected.modified) << where;
            ASSERT_EQ(got.caret, expected.caret) << where;
        }
        if (record.empty()) continue;
        // The steps came back too: Ctrl+Z walks back as in the session, as far as the record reaches.
        Fresh fresh;
        recovery::rebuild(fresh.doc, record);
        while (fresh.doc.history.canUndo()) {
            fresh.doc.history.undo(fresh.doc);
            doc.history.undo(doc);
            ASSERT_EQ(pictureOf(fresh.doc).lines, pictureOf(doc).lines) << "seed " << seed;
            ASSERT_EQ(CaretState::of(fresh.doc), CaretState::of(doc)) << "seed " << seed;
        }
    }
}

struct RecoveryFile : ::testing::Test {
    RecoveryFile() {
        view.cellWidth = 8;
        view.cellHeight = 9;
        view.clientRect = {0, 0, 160, 90};
        doc.history.setClock(undo_session::fakeClock);
    }
    // Each character a step of its own; the text after each is kept in states.
    void type(const char* text) {
        for (const char* p = text; *p; ++p) {
            insertText(doc, std::string(1, *p).c_str());
            states.push_back(pictureOf(doc).lines);
        }
    }
    std::vector<std::vector<std::string>> states;
    TempDir dir;
    FakeDocumentHost host;
    ViewState view;
    Document doc{host, view};
    recovery::Journal journal;
    std::string record;
};

TEST_F(RecoveryFile, ARecordCutAnywhereGivesBackAPrefixOfItsSteps) {
    dir.write("a.txt", "alpha\nbeta\n");
    ASSERT_EQ(loadDocument(doc, dir.file("a.txt")), LoadResult::Loaded);
    doc.history.clear();
    states.push_back(pictureOf(doc).lines);
    for (const char* word : {"one ", "two ", "three "}) {
        type(word);
        keep(record, journal.update(doc));
    }
    for (size_t cut = 0; cut <= record.size(); ++cut) {
        Fresh fresh;
        recovery::Rebuilt rebuilt = recovery::rebuild(fresh.doc, std::string_view(record).substr(0, cut));
        if (rebuilt.outcome == recovery::Rebuilt::Outcome::Nothing) continue;
        std::vector<std::string> lines = pictureOf(fresh.doc).lines;
        EXPECT_NE(std::find(states.begin(), states.end(), lines), states.end()) << "cut at " << cut;
        if (cut == record.size()) {
            EXPECT_FALSE(rebuilt.damaged);
        }
    }
}

TEST_F(RecoveryFile, AFileChangedSinceItWasReadIsNeverBuiltUpon) {
    dir.write("b.txt", "original\n");
    ASSERT_EQ(loadDocument(doc, dir.file("b.txt")), LoadResult::Loaded);
    doc.history.clear();
    type("typed ");
    keep(record, journal.update(doc));
    dir.write("b.txt", "another program's text\n");

    Fresh fresh;
    recovery::Rebuilt rebuilt = recovery::rebuild(fresh.doc, record);
    EXPECT_EQ(rebuilt.outcome, recovery::Rebuilt::Outcome::Nothing);
    EXPECT_EQ(rebuilt.changedFile, dir.file("b.txt"));
    EXPECT_TRUE(fresh.doc.path.empty());
    EXPECT_EQ(dir.read("b.txt"), "another program's text\n");

    // Text typed into a new document after it still comes back, unnamed.
    doc.newDocument();
    type("kept");
    keep(record, journal.update(doc));
    Fresh again;
    rebuilt = recovery::rebuild(again.doc, record);
    EXPECT_EQ(rebuilt.outcome, recovery::Rebuilt::Outcome::Whole);
    EXPECT_EQ(pictureOf(again.doc).lines, std::vector<std::string>{"kept"});
    EXPECT_TRUE(again.doc.path.empty());
}

TEST_F(RecoveryFile, SavingOrUndoingBackToTheSavedTextRemovesTheRecord) {
    dir.write("c.txt", "c\n");
    ASSERT_EQ(loadDocument(doc, dir.file("c.txt")), LoadResult::Loaded);
    doc.history.clear();
    type("x");
    EXPECT_EQ(journal.update(doc).action, recovery::Update::Action::Rewrite);
    undo(doc);
    EXPECT_EQ(journal.update(doc).action, recovery::Update::Action::Remove);
    redo(doc);
    EXPECT_EQ(journal.update(doc).action, recovery::Update::Action::Rewrite);
    type("y");
    EXPECT_EQ(journal.update(doc).action, recovery::Update::Action::Append);
    ASSERT_EQ(saveDocument(doc).result, SaveResult::Saved);
    EXPECT_EQ(journal.update(doc).action, recovery::Update::Action::Remove);
    // New over unsaved text ends its record (Ctrl+N, then Exit, throws it away); Ctrl+Z after
    // New makes it unsaved text again, with a record that reaches back into it.
    type("z");
    EXPECT_EQ(journal.update(doc).action, recovery::Update::Action::Rewrite);
    doc.newDocument();
    EXPECT_EQ(journal.update(doc).action, recovery::Update::Action::Remove);
    undo(doc);
    EXPECT_EQ(journal.update(doc).action, recovery::Update::Action::Rewrite);
}

}  // namespace
