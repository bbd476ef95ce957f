// The selection habits (select all, a word, Shift+click) and the system clipboard beside the
// copy buffer.
#include "editor/commands.h"
#include "editor_fixture.h"

namespace {

// A host with a system clipboard that another program may write to.
class ClipboardHost : public FakeDocumentHost {
public:
    void shareCopy(const std::vector<std::string>& pieces) override {
        shared = pieces;
        foreign.clear();
    }
    bool foreignClipboard(std::vector<std::string>& pieces) override {
        if (foreign.empty()) return false;
        pieces = foreign;
        return true;
    }
    std::vector<std::string> shared, foreign;
};

struct Selecting : EditorFixture {};

TEST_F(Selecting, SelectAllTakesEveryLineWithTheCaretAtTheEnd) {
    setLines({"one", "two", "three!"});
    selectAll(doc);
    EXPECT_EQ(doc.selectionStart, (TextPosition{0, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{6, 2}));
    EXPECT_EQ(caret(), (TextPosition{6, 2}));
    copySelection(doc);
    EXPECT_EQ(doc.copyBuffer, (Lines{"one", "two", "three!"}));
}

TEST_F(Selecting, ADoubleClickTakesTheWordTheBlanksOrTheSignsUnderIt) {
    setLines({"call(foo_b\xC3\xA9r,  x);"});
    selectWordAt(doc, {7, 0});
    EXPECT_EQ(doc.selectionStart, (TextPosition{5, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{12, 0}));
    EXPECT_EQ(caret(), (TextPosition{12, 0}));
    selectWordAt(doc, {13, 0});
    EXPECT_EQ(doc.selectionStart, (TextPosition{13, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{15, 0}));
    selectWordAt(doc, {40, 0});  // past the end: the last character's run
    EXPECT_EQ(doc.selectionStart, (TextPosition{16, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{18, 0}));
}

TEST_F(Selecting, AShiftClickExtendsFromTheAnchorOrTheCaret) {
    setLines({"abcdef", "ghijkl"});
    caretAt(2, 0);
    extendSelectionTo(doc, {3, 1});
    EXPECT_EQ(doc.selectionStart, (TextPosition{2, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{3, 1}));
    extendSelectionTo(doc, {1, 0});  // the anchor stays where the first click left it
    EXPECT_EQ(doc.selectionStart, (TextPosition{1, 0}));
    EXPECT_EQ(doc.selectionEnd, (TextPosition{2, 0}));
}

struct Clipboard : ::testing::Test {
    Clipboard() {
        view.cellWidth = 8;
        view.cellHeight = 9;
        view.clientRect = {0, 0, 640, 300};
        doc.newDocument();
        doc.clearLines();
        doc.insertLine(0, "abXY");
    }
    ClipboardHost host;
    ViewState view;
    Document doc{host, view};
};

TEST_F(Clipboard, CopyReachesTheSystemClipboardAndAnotherProgramsTextPastesFirst) {
    view.caretColumn = 2;
    doc.extendSelection();
    view.caretColumn = 4;
    doc.extendSelection();
    copySelection(doc);
    EXPECT_EQ(host.shared, std::vector<std::string>{"XY"});
    doc.clearSelection();
    view.caretColumn = 0;
    paste(doc);
    EXPECT_STREQ(doc.line(0), "XYabXY");

    host.foreign = {"from", "elsewhere"};
    paste(doc);
    EXPECT_STREQ(doc.line(0), "XYfrom");
    EXPECT_STREQ(doc.line(1), "elsewhereabXY");
    // The copy buffer is still the last copy.
    EXPECT_EQ(doc.copyBuffer, std::vector<std::string>{"XY"});
}

}  // namespace
