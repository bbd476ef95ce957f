// Commands that need more memory than there is: they throw before changing anything, so
// the document is exactly as it was when the user is told.
#include <new>
#include <string>

#include "editor/commands.h"
#include "editor/find.h"
#include "editor_fixture.h"
#include "fault_injection.h"

namespace {

constexpr size_t kBig = size_t{96} << 20;   // a line that cannot be copied under the cap
constexpr size_t kRoom = size_t{24} << 20;  // what is left to allocate

struct OutOfMemory : EditorFixture {
    // "short" then a huge line of 'a' that shares its block with the first line, so any edit
    // of it needs a copy of its own.
    void loadHugeSecondLine() {
        LineBatch batch;
        batch.add("short");
        batch.add(std::string(kBig, 'a'));
        doc.clearLines();
        doc.lines.insert(0, std::move(batch));
        doc.modified = false;
    }
    struct State {
        std::vector<std::string> lines;
        TextPosition caret;
        bool selecting, modified;
        TextPosition start, end;
    };
    State state() const { return {lines(), caret(), doc.selectionActive, doc.modified, doc.selectionStart, doc.selectionEnd}; }
    void expectSame(const State& before) const {
        EXPECT_TRUE(lines() == before.lines) << "the text changed";
        EXPECT_EQ(caret(), before.caret);
        EXPECT_EQ(doc.selectionActive, before.selecting);
        EXPECT_EQ(doc.modified, before.modified);
        EXPECT_EQ(doc.selectionStart, before.start);
        EXPECT_EQ(doc.selectionEnd, before.end);
    }
};

#define REQUIRE_CAP(limit) \
    if (!(limit).active()) GTEST_SKIP() << "no address-space cap here"

}  // namespace

TEST_F(OutOfMemory, TypingIntoAHugeLineThatCannotBeCopiedChangesNothing) {
    loadHugeSecondLine();
    caretAt(5, 1);
    const State before = state();
    {
        AddressSpaceLimit cap(kRoom);
        REQUIRE_CAP(cap);
        EXPECT_THROW(insertText(doc, "x"), std::bad_alloc);
        EXPECT_THROW(splitLine(doc), std::bad_alloc);
    }
    expectSame(before);
}

TEST_F(OutOfMemory, TypingOverASelectionKeepsTheSelectionWhenTheMemoryIsMissing) {
    loadHugeSecondLine();
    // Deleting the start of a line in shared storage needs no memory; typing there does.
    select({0, 1}, {3, 1});
    const State before = state();
    {
        AddressSpaceLimit cap(kRoom);
        REQUIRE_CAP(cap);
        EXPECT_THROW(insertText(doc, "x"), std::bad_alloc);
    }
    expectSame(before);
}

TEST_F(OutOfMemory, APasteTooLargeToHoldDoesNothing) {
    setLines({"one", "two"});
    doc.copyBuffer = {"head", std::string(kBig / 2, 'p'), std::string(kBig / 2, 'q'), "tail"};
    caretAt(1, 0);
    const State before = state();
    {
        AddressSpaceLimit cap(kRoom);
        REQUIRE_CAP(cap);
        EXPECT_THROW(paste(doc), std::bad_alloc);
    }
    expectSame(before);
}

TEST_F(OutOfMemory, ACopyTooLargeToHoldKeepsTheOldCopyBuffer) {
    loadHugeSecondLine();
    doc.copyBuffer = {"kept"};
    select({0, 0}, {static_cast<int>(kBig), 1});
    AddressSpaceLimit cap(kRoom);
    REQUIRE_CAP(cap);
    EXPECT_THROW(copySelection(doc), std::bad_alloc);
    EXPECT_EQ(doc.copyBuffer, std::vector<std::string>{"kept"});
}

TEST_F(OutOfMemory, AReplaceAllThatCannotRebuildALineChangesNothing) {
    loadHugeSecondLine();
    caretAt(0, 0);
    const State before = state();
    {
        AddressSpaceLimit cap(kRoom);
        REQUIRE_CAP(cap);
        EXPECT_THROW(replace(doc, "a", "bb", {.all = true}), std::bad_alloc);
    }
    expectSame(before);
}

TEST_F(OutOfMemory, EditsThatNeedLittleMemoryStillWorkUnderTheCap) {
    loadHugeSecondLine();
    AddressSpaceLimit cap(kRoom);
    REQUIRE_CAP(cap);
    caretAt(5, 0);
    insertText(doc, "!");
    EXPECT_STREQ(doc.line(0), "short!");
    caretAt(0, 1);
    // Deleting the huge line would need room to keep its text for undo: the delete is refused
    // and the text stays.
    EXPECT_THROW(deleteWordForward(doc), std::bad_alloc);
    EXPECT_EQ(doc.lines.length(1), kBig);
    EXPECT_EQ(caret(), (TextPosition{0, 1}));
}
