#include "view/editor_paint.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "editor_fixture.h"
#include "recording_canvas.h"

namespace {

constexpr int kW = RecordingCanvas::kCellWidth;
constexpr int kH = RecordingCanvas::kCellHeight;
constexpr int kPitch = kH + 1;

struct PaintTest : EditorFixture {
    PaintTest() {
        state.backgroundColor = 0x102030;
        state.textColor = 0xC0C0C0;
        state.activeTextColor = 0x8080FF;
        view.caretVisible = false;
        view.blinkAccumulator = 0;
    }
    // 10 rows of 15 pixels, 80 columns.
    PaintResult paint(int width = 640, int height = 10 * kPitch + 3) {
        canvas.ops.clear();
        return paintEditor(canvas, bar, doc, view, state, width, height);
    }
    // Caret placed with the view unscrolled: top line 0, first column 0.
    void onScreen() {
        view.screenColumn = view.caretColumn;
        view.screenRow = view.caretLine;
    }
    std::vector<std::string> texts(unsigned colour) const {
        std::vector<std::string> out;
        for (const CanvasOp& op : canvas.of(CanvasOp::Text))
            if (op.colour == colour) out.push_back(op.text);
        return out;
    }

    EditorPaintState state;
    RecordingCanvas canvas;
    RecordingScrollbar bar;
};

TEST_F(PaintTest, ClearsToTheBackgroundAndMeasuresTheCellFromV) {
    setLines({"abc"});
    paint();
    ASSERT_FALSE(canvas.ops.empty());
    EXPECT_EQ(canvas.ops[0].kind, CanvasOp::Clear);
    EXPECT_EQ(canvas.ops[0].colour, 0xFF102030u);
    EXPECT_EQ(view.cellWidth, kW);
    EXPECT_EQ(view.cellHeight, kH);
    EXPECT_EQ(view.clientRect.right, 640);
    EXPECT_EQ(state.visibleRows, 10);
    EXPECT_EQ(bar.lastMaximum, 1);
    EXPECT_EQ(bar.lastPage, 10);
}

TEST_F(PaintTest, StatusTextOnTheLastRowRightAligned) {
    doc.clearLines();
    paint();
    auto status = canvas.of(CanvasOp::Text);
    ASSERT_EQ(status.size(), 1u);
    EXPECT_EQ(status[0].text, "  1 : 1 CRLF SPACE  ");
    EXPECT_EQ(status[0].rect.left, 640 - 20 * kW);
    EXPECT_EQ(status[0].rect.top, 9 * kPitch);
    EXPECT_EQ(status[0].rect.bottom, 9 * kPitch + kH);
    EXPECT_TRUE(status[0].opaque);
    EXPECT_EQ(status[0].background, 0xFF102030u);
    EXPECT_EQ(status[0].colour, 0xFF8080FFu);
}

TEST_F(PaintTest, StatusTextShowsColumnThenLineAndModes) {
    setLines({"hello", "world"});
    caretAt(3, 1);
    doc.crlf = false;
    doc.space = false;
    paint();
    EXPECT_EQ(texts(0xFF8080FFu).back(), "  4 : 2 LF TAB  ");
}

TEST_F(PaintTest, TabsDrawAsOneBlankAndTextStartsAtFirstColumn) {
    setLines({"a\tb", "0123456789"});
    caretAt(3, 1);
    view.screenColumn = 1;  // first visible column 2
    view.screenRow = 1;
    paint();
    auto rows = texts(0xFFC0C0C0u);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], "b");
    EXPECT_EQ(rows[1], "23456789");
    caretAt(0, 0);
    view.screenColumn = 0;
    paint();
    EXPECT_EQ(texts(0xFFC0C0C0u)[0], "a b");
}

TEST_F(PaintTest, WhitespaceMarksDotForSpaceArrowForTab) {
    setLines({"a \tb"});
    state.showWhitespace = true;
    paint();
    auto pixels = canvas.of(CanvasOp::Pixel);
    ASSERT_EQ(pixels.size(), 1u);
    EXPECT_EQ(pixels[0].x, kW + kW / 2);
    EXPECT_EQ(pixels[0].y, kH / 2);
    EXPECT_FLOAT_EQ(pixels[0].alpha, 0.6f);
    auto arrows = texts(0xFF8080FFu);
    ASSERT_GE(arrows.size(), 1u);
    EXPECT_EQ(arrows[0], "\xE2\x86\x92");
    auto ops = canvas.of(CanvasOp::Text);
    EXPECT_EQ(ops[1].rect.left, 2 * kW);
    EXPECT_EQ(ops[1].rect.right, 3 * kW);
}

TEST_F(PaintTest, WhitespaceMarksStepOneCellPerCharacterNotPerByte) {
    setLines({"\xC3\xA9 "});
    state.showWhitespace = true;
    paint();
    auto pixels = canvas.of(CanvasOp::Pixel);
    ASSERT_EQ(pixels.size(), 1u);
    EXPECT_EQ(pixels[0].x, kW + kW / 2);
}

TEST_F(PaintTest, NoWhitespaceMarksWhenOff) {
    setLines({"a \tb"});
    paint();
    EXPECT_TRUE(canvas.of(CanvasOp::Pixel).empty());
}

TEST_F(PaintTest, InsertCaretIsALineOverwriteCaretABlock) {
    setLines({"abc"});
    caretAt(2, 0);
    view.screenColumn = 2;
    view.caretVisible = true;
    paint();
    auto lines = canvas.of(CanvasOp::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].x, 2 * kW);
    EXPECT_EQ(lines[0].h, kH);
    doc.overwrite = true;
    paint();
    auto fills = canvas.of(CanvasOp::Fill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].x, 2 * kW);
    EXPECT_EQ(fills[0].w, kW);
    EXPECT_EQ(fills[0].h, kH);
    EXPECT_FLOAT_EQ(fills[0].alpha, 0.6f);
    // The caret goes under the text: right after the clear, before any text is drawn.
    ASSERT_GE(canvas.ops.size(), 3u);
    EXPECT_EQ(canvas.ops[0].kind, CanvasOp::Clear);
    EXPECT_EQ(canvas.ops[1].kind, CanvasOp::Fill);
    EXPECT_EQ(canvas.ops[1].x, 2 * kW);
    EXPECT_EQ(canvas.ops[2].kind, CanvasOp::Text);
}

TEST_F(PaintTest, CaretBlinksOnTheEleventhTickAndPaintsLeaveTheBlinkAlone) {
    setLines({"abc"});
    view.caretVisible = true;
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(advanceBlink(view));
    EXPECT_TRUE(view.caretVisible);
    for (int i = 0; i < 5; ++i) paint();
    EXPECT_TRUE(view.caretVisible);
    EXPECT_EQ(view.blinkAccumulator, 500);
    EXPECT_TRUE(advanceBlink(view));
    EXPECT_FALSE(view.caretVisible);
    EXPECT_EQ(view.blinkAccumulator, 0);
}

TEST_F(PaintTest, TwoRowRefreshClearsAndDrawsOnlyItsTwoBands) {
    fillLines(30, "text");
    caretAt(0, 4);
    view.screenRow = 4;
    paint();
    paint();
    EXPECT_TRUE(canvas.of(CanvasOp::Clear).empty());
    auto fills = canvas.of(CanvasOp::Fill);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].y, 4 * kPitch);
    EXPECT_EQ(fills[0].h, kPitch);
    EXPECT_EQ(fills[1].y, 9 * kPitch);
    // The caret row's text and the status text; no other row.
    auto drawn = canvas.of(CanvasOp::Text);
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0].rect.top, 4 * kPitch);
    EXPECT_EQ(drawn[1].rect.top, 9 * kPitch);
}

TEST_F(PaintTest, SnapshotChangesWithEverythingThePaintShows) {
    fillLines(30, "text");
    PaintSnapshot before = takePaintSnapshot(doc, view, state, 640, 200);
    EXPECT_EQ(before, takePaintSnapshot(doc, view, state, 640, 200));
    auto changed = [&](auto&& change) {
        PaintSnapshot was = takePaintSnapshot(doc, view, state, 640, 200);
        change();
        return !(was == takePaintSnapshot(doc, view, state, 640, 200));
    };
    EXPECT_TRUE(changed([&] { doc.replaceLine(3, "other"); }));
    EXPECT_TRUE(changed([&] { caretAt(1, 0); }));
    EXPECT_TRUE(changed([&] { view.caretVisible = !view.caretVisible; }));
    EXPECT_TRUE(changed([&] { select({0, 0}, {2, 1}); }));
    EXPECT_TRUE(changed([&] { doc.overwrite = true; }));
    EXPECT_TRUE(changed([&] { doc.crlf = !doc.crlf; }));
    EXPECT_TRUE(changed([&] { doc.absoluteLineNumbers = true; }));
    EXPECT_TRUE(changed([&] { state.showWhitespace = !state.showWhitespace; }));
    EXPECT_FALSE(changed([] {}));
    EXPECT_NE(takePaintSnapshot(doc, view, state, 640, 200), takePaintSnapshot(doc, view, state, 641, 200));
}

TEST_F(PaintTest, UnchangedViewRefreshesOnlyCaretAndStatusRows) {
    fillLines(30);
    caretAt(0, 4);
    view.screenRow = 4;
    EXPECT_EQ(paint().kind, RefreshKind::Full);
    auto copies = canvas.of(CanvasOp::Copy);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].h, 10 * kPitch + 3);
    PaintResult second = paint();
    EXPECT_EQ(second.kind, RefreshKind::TwoRow);
    EXPECT_EQ(second.caretRow, 4);
    copies = canvas.of(CanvasOp::Copy);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].y, 4 * kPitch);
    EXPECT_EQ(copies[0].h, kPitch);
    EXPECT_EQ(copies[1].y, 9 * kPitch);
    // Caret row and status row only.
    EXPECT_EQ(texts(0xFFC0C0C0u).size(), 2u);
}

TEST_F(PaintTest, CaretMoveOrLineCountChangeForcesFullPaint) {
    fillLines(30);
    paint();
    caretAt(1, 0);
    EXPECT_EQ(paint().kind, RefreshKind::Full);
    EXPECT_EQ(paint().kind, RefreshKind::TwoRow);
    doc.insertLine(5, "x");
    EXPECT_EQ(paint().kind, RefreshKind::Full);
}

TEST_F(PaintTest, OneLineDocumentsAlwaysPaintInFull) {
    setLines({"only"});
    caretAt(1, 0);
    paint();
    EXPECT_EQ(paint().kind, RefreshKind::Full);
}

TEST_F(PaintTest, SelectionOrLineNumbersInvalidateTheCache) {
    fillLines(30);
    caretAt(1, 1);
    onScreen();
    paint();
    EXPECT_TRUE(state.paintCache.valid());
    select({0, 1}, {2, 1});  // the caret moves, so the paint is full
    paint();
    EXPECT_FALSE(state.paintCache.valid());
    doc.clearSelection();
    paint();
    doc.absoluteLineNumbers = true;
    paint();
    EXPECT_FALSE(state.paintCache.valid());
}

TEST_F(PaintTest, RelativeLineNumbersAroundTheCaret) {
    fillLines(30);
    caretAt(0, 5);
    view.screenRow = 3;  // top line 2
    doc.relativeLineNumbers = true;
    paint();
    std::vector<CanvasOp> numbers;
    for (const CanvasOp& op : canvas.of(CanvasOp::Text))
        if (op.opaque && op.background == 0xFF000000u) numbers.push_back(op);
    ASSERT_EQ(numbers.size(), 10u);
    EXPECT_EQ(numbers[0].text, "      -3  ");
    EXPECT_EQ(numbers[3].text, "       0  ");
    EXPECT_EQ(numbers[3].colour, 0xFFFF0000u);
    EXPECT_EQ(numbers[4].text, "      +1  ");
    EXPECT_EQ(numbers[4].colour, 0xFF8080FFu);
    EXPECT_EQ(numbers[0].rect.left, 320 - 40);
    EXPECT_EQ(numbers[0].rect.top, 0);
    EXPECT_EQ(numbers[1].rect.top, kPitch);
    // No status text, and a rule under every row.
    for (const std::string& t : texts(0xFF8080FFu)) EXPECT_EQ(t.find(" : "), std::string::npos);
    auto rules = canvas.of(CanvasOp::Line);
    ASSERT_EQ(rules.size(), 10u);
    EXPECT_EQ(rules[0].y, kH);
    EXPECT_EQ(rules[0].w, 640);
    EXPECT_FLOAT_EQ(rules[0].alpha, 0.2f);
}

TEST_F(PaintTest, AbsoluteLineNumbersCountFromOne) {
    fillLines(30);
    caretAt(0, 5);
    view.screenRow = 3;
    doc.absoluteLineNumbers = true;
    paint();
    std::vector<std::string> numbers;
    for (const CanvasOp& op : canvas.of(CanvasOp::Text))
        if (op.opaque) numbers.push_back(op.text);
    ASSERT_GE(numbers.size(), 4u);
    EXPECT_EQ(numbers[0], "       3  ");
    EXPECT_EQ(numbers[3], "       6  ");
}

TEST_F(PaintTest, SelectionAcrossTwoLines) {
    fillLines(30, "0123456789");
    select({4, 0}, {2, 1});
    onScreen();
    paint();
    std::vector<CanvasOp> fills = canvas.of(CanvasOp::Fill);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].x, 4 * kW);
    EXPECT_EQ(fills[0].w, 640 - 4 * kW);
    EXPECT_EQ(fills[0].h, kH);
    EXPECT_EQ(fills[1].x, 0);
    EXPECT_EQ(fills[1].y, kPitch);
    EXPECT_EQ(fills[1].w, 2 * kW);
    EXPECT_FLOAT_EQ(fills[1].alpha, 0.4f);
}

TEST_F(PaintTest, SelectionOnOneLineAndFullRowsBetween) {
    fillLines(30, "0123456789");
    select({1, 2}, {5, 2});
    onScreen();
    paint();
    auto fills = canvas.of(CanvasOp::Fill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].x, kW);
    EXPECT_EQ(fills[0].y, 2 * kPitch);
    EXPECT_EQ(fills[0].w, 4 * kW);
    doc.clearSelection();
    select({1, 0}, {5, 3});
    onScreen();
    paint();
    fills = canvas.of(CanvasOp::Fill);
    ASSERT_EQ(fills.size(), 4u);
    EXPECT_EQ(fills[1].y, kPitch);
    EXPECT_EQ(fills[1].w, 640);
    EXPECT_EQ(fills[2].y, 2 * kPitch);
}

TEST_F(PaintTest, HugeSelectionDrawsOnlyRowsNearTheScreen) {
    fillLines(100000, "x");
    select({0, 0}, {0, 99999});
    paint();
    EXPECT_LT(canvas.of(CanvasOp::Fill).size(), 20u);
}

TEST_F(PaintTest, TooLowForARowDrawsNoText) {
    setLines({"abc"});
    paint(640, kH);
    EXPECT_EQ(state.visibleRows, 0);
    EXPECT_TRUE(canvas.of(CanvasOp::Text).empty());
}

TEST_F(PaintTest, TopLineAndFirstColumnFollowThePaint) {
    fillLines(30);
    caretAt(3, 12);
    view.screenRow = 2;
    view.screenColumn = 1;
    paint();
    EXPECT_EQ(state.topLine, 10);
    EXPECT_EQ(state.firstColumn, 2);
}

}  // namespace

namespace {

TEST_F(PaintTest, EveryPaintedRowTakesOneCellPerCountedCharacter) {
    const unsigned char pool[] = {'a', ' ', '\t', 0x80, 0xBF, 0xC0, 0xC3, 0xA9, 0xE2, 0x86, 0x92, 0xED, 0xA0,
                                  0xF0, 0x9F, 0x98, 0xF5, 0xF8, 0xFC, 0xFF};
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        doc.clearLines();
        for (int i = 0; i < 8; ++i) {
            std::string line;
            for (int n = static_cast<int>(random() % 30); n > 0; --n) line.push_back(static_cast<char>(pool[random() % sizeof pool]));
            doc.insertLine(i, line.c_str());
        }
        state.paintCache.clear();
        paint();
        for (const CanvasOp& op : canvas.of(CanvasOp::Text)) {
            if (op.colour != 0xFFC0C0C0u) continue;  // the document's own text
            PixelSize size = canvas.measure(op.text.data(), static_cast<int>(op.text.size()));
            ASSERT_EQ(size.width, charCount(op.text.c_str()) * kW) << ::testing::PrintToString(op.text);
        }
    }
}

}  // namespace
