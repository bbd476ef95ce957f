#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "curses/document/document_text.h"
#include "curses_fakes.h"
#include "fault_injection.h"

namespace {

using namespace curses_key;

size_t entriesIn(const TempDir& dir) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.folder())) ++n;
    return n;
}

std::string recordText(const UndoRecord& record) {
    std::string out;
    for (size_t i = 0; i < record.lines.size(); ++i) {
        if (i) out += '\n';
        out += record.lines[i].text();
    }
    return out;
}

}  // namespace

// Loading.

TEST(CursesLoad, AFileMostlyInCrLfIsSavedWithCrLf) {
    LoadedText t = parse_document_text("a\r\nb\r\nc\n", 2);
    EXPECT_EQ(t.lines, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(t.write_crlf);  // 2 CRs > 3 / 2
}

TEST(CursesLoad, AFileWithHalfItsLinesInCrLfKeepsLf) {
    LoadedText t = parse_document_text("a\r\nb\r\nc\nd\n", 2);
    EXPECT_FALSE(t.write_crlf);  // 2 CRs, not more than 4 / 2
}

TEST(CursesLoad, AByteOrderMarkIsDropped) {
    LoadedText t = parse_document_text("\xEF\xBB\xBFone\ntwo", 2);
    EXPECT_EQ(t.lines, (std::vector<std::string>{"one", "two"}));
}

TEST(CursesLoad, AFileOfOnlyAByteOrderMarkIsEmpty) {
    EXPECT_TRUE(parse_document_text("\xEF\xBB\xBF", 2).lines.empty());
}

TEST(CursesLoad, AByteOrderMarkAloneOnTheFirstLineLeavesThatLineEmpty) {
    LoadedText t = parse_document_text("\xEF\xBB\xBF\nsecond\n", 2);
    EXPECT_EQ(t.lines, (std::vector<std::string>{"", "second"}));
}

TEST(CursesLoad, ATabIndentedFileGetsIndentSizeFiveAndIsSavedWithTabs) {
    const std::string file = "int f()\n{\n\treturn 1;\n\t\tdeeper\n}\n";
    LoadedText t = parse_document_text(file, 2);
    EXPECT_EQ(t.indent_size, 5);
    EXPECT_EQ(t.save_tab_width, 5);
    EXPECT_EQ(t.lines[2], "     return 1;");
    EXPECT_EQ(t.lines[3], "          deeper");
    std::string saved;
    for (const std::string& line : t.lines) append_saved_line(saved, line, {t.write_crlf, t.save_tab_width});
    EXPECT_EQ(saved, file);
}

TEST(CursesLoad, SpacesAfterTabsWidenTheTabWidth) {
    LoadedText t = parse_document_text("\tone\n\t   two\n", 2);
    EXPECT_EQ(t.save_tab_width, 5);  // max(5, 3 + 1)
    t = parse_document_text("\tone\n      six\n", 2);
    EXPECT_EQ(t.save_tab_width, 7);
}

TEST(CursesLoad, ALineOfEightLeadingSpacesKeepsSpaces) {
    LoadedText t = parse_document_text("\tone\n        eight\n", 2);
    EXPECT_EQ(t.save_tab_width, 0);
    EXPECT_EQ(t.indent_size, 2);
    EXPECT_EQ(t.lines[0], "  one");  // tabs still become indent_size spaces
    std::string saved;
    append_saved_line(saved, t.lines[1], {false, t.save_tab_width});
    EXPECT_EQ(saved, "        eight\n");
}

TEST(CursesLoad, ATabAfterSpacesGivesUpTabMode) {
    EXPECT_EQ(parse_document_text("\tone\n  \ttwo\n", 2).save_tab_width, 0);
}

TEST(CursesLoad, TabsInsideALineBecomeIndentSizeSpaces) {
    LoadedText t = parse_document_text("a\tb\n", 3);
    EXPECT_EQ(t.lines[0], "a   b");
}

TEST(CursesLoad, TrailingCarriageReturnsAreRemovedAndCounted) {
    LoadedText t = parse_document_text("a\r\r\nb", 2);
    EXPECT_EQ(t.lines, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(t.write_crlf);
}

TEST(CursesLoad, ALineLongerThanThirtyTwoMebibytesStaysWhole) {
    std::string file(33u * 1024 * 1024 + 5, 'x');
    file += "\nend\n";
    LoadedText t = parse_document_text(file, 2);
    ASSERT_EQ(t.lines.size(), 2u);
    EXPECT_EQ(t.lines[0].size(), 33u * 1024 * 1024 + 5);
    EXPECT_EQ(t.lines[1], "end");
}

TEST(CursesEditorFile, InitLoadsTheFileAndSavesItBackLineForLine) {
    EditorHarness h;
    ASSERT_EQ(h.load("\xEF\xBB\xBF" "first\r\nsecond\r\nlast"), 0);
    EXPECT_EQ(h.text(), "first\nsecond\nlast");
    EXPECT_TRUE(h.editor->doc.write_crlf);
    EXPECT_FALSE(h.editor->is_modified());
    EXPECT_EQ(h.editor->history.pos, 0);
    EXPECT_EQ(h.editor->history.saved_pos, 0);
    EXPECT_EQ(h.editor->save_file(), 0);
    // Every line ends with a terminator, the last one too; the mark is not written back.
    EXPECT_EQ(h.dir.read("doc.txt"), "first\r\nsecond\r\nlast\r\n");
}

TEST(CursesEditorFile, AMissingFileGivesAnEmptyDocumentAndTypingCreatesTheFirstLine) {
    EditorHarness h;
    EXPECT_EQ(h.open(h.dir.file("missing.txt")), 1);
    EXPECT_TRUE(h.editor->doc.lines.empty());
    EXPECT_FALSE(h.editor->is_modified());
    h.type("hi");
    EXPECT_EQ(h.text(), "hi");
    EXPECT_TRUE(h.editor->is_modified());
    EXPECT_EQ(h.editor->save_file(), 0);
    EXPECT_EQ(h.dir.read("missing.txt"), "hi\n");
    EXPECT_FALSE(h.editor->is_modified());
}

TEST(CursesEditorFile, ATabIndentedFileIsSavedWithItsTabs) {
    EditorHarness h;
    const std::string file = "a\n\tb\n\t\tc\n";
    h.load(file);
    EXPECT_EQ(h.editor->doc.indent_size, 5);
    EXPECT_EQ(h.editor->doc.lines[2], "          c");
    EXPECT_EQ(h.editor->save_file(), 0);
    EXPECT_EQ(h.dir.read("doc.txt"), file);
}

TEST(CursesEditorFile, AFailedWriteIsReportedAndTheFileOnDiskStaysAsItWas) {
    EditorHarness h;
    const std::string original = "keep\nthese\nlines\n";
    h.load(original);
    h.editor->doc.lines.assign(5000, std::string(60, 'n'));  // some 300 kB
    h.editor->push_undo();
    const int saved = h.editor->history.saved_pos;
    int result;
    {
        FileSizeLimit limit(4096);
        result = h.editor->save_file();
    }
    EXPECT_EQ(result, 1);
    EXPECT_EQ(h.editor->history.saved_pos, saved);
    EXPECT_TRUE(h.editor->is_modified());
    EXPECT_EQ(h.dir.read("doc.txt"), original);
    EXPECT_EQ(entriesIn(h.dir), 1u);  // no half-written file left beside it
}

TEST(CursesEditorFile, WritingToAFullDeviceIsReportedAsAFailure) {
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    EditorHarness h;
    h.load("text\n");
    h.type("x");
    const int saved = h.editor->history.saved_pos;
    h.editor->doc.file_name = "/dev/full";
    EXPECT_EQ(h.editor->save_file(), 1);
    EXPECT_EQ(h.editor->history.saved_pos, saved);
    EXPECT_TRUE(h.editor->is_modified());
}

TEST(CursesEditorFile, AFileThatCannotBeOpenedForWritingIsReported) {
    EditorHarness h;
    h.load("text\n");
    h.editor->doc.file_name = h.dir.file("no-such-folder/doc.txt");
    EXPECT_EQ(h.editor->save_file(), 1);
    EXPECT_TRUE(h.editor->doc.lines.size() == 1 && h.editor->doc.lines[0] == "text");
}

TEST(CursesEditorFile, ALongLineIsSavedWithoutABreakItNeverHad) {
    EditorHarness h;
    std::string longLine(33u * 1024 * 1024 + 3, 'y');
    h.load(longLine + "\nshort\n");
    ASSERT_EQ(h.editor->doc.lines.size(), 2u);
    EXPECT_EQ(h.editor->save_file(), 0);
    std::string back = h.dir.read("doc.txt");
    EXPECT_EQ(back.size(), longLine.size() + 7);
    EXPECT_EQ(back.find('\n'), longLine.size());
}

// Undo records.

TEST(CursesUndo, AKeyAfterLoadingThenUndoReturnsToTheLoadedStateAndIsNotModified) {
    EditorHarness h;
    h.load("alpha\nbeta\n");
    h.key('Z');
    EXPECT_TRUE(h.editor->is_modified());
    EXPECT_EQ(h.text(), "Zalpha\nbeta");
    h.ctrlKey('Z');
    EXPECT_EQ(h.text(), "alpha\nbeta");
    EXPECT_FALSE(h.editor->is_modified());
    EXPECT_EQ(h.editor->view.cursor_x, 0);
}

TEST(CursesUndo, UndoRestoresTheViewFromBeforeTheChangeAndRedoTheViewAfterIt) {
    EditorHarness h;
    h.load("one\ntwo\nthree\n");
    h.key(Down);
    h.key(End);  // caret at (3, 1)
    h.type("!");
    EXPECT_EQ(h.editor->view.cursor_x, 4);
    h.key(Home);
    h.ctrlKey('Z');
    EXPECT_EQ(h.editor->view.cursor_x, 3);
    EXPECT_EQ(h.editor->view.cursor_y, 1);
    h.ctrlKey('Y');
    EXPECT_EQ(h.text(), "one\ntwo!\nthree");
    EXPECT_EQ(h.editor->view.cursor_x, 4);
}

TEST(CursesUndo, APushAfterUndoDropsTheRedoHistoryAndALaterSavedStateIsForgotten) {
    EditorHarness h;
    h.load("a\n");
    h.type("bc");
    h.editor->save_file();
    EXPECT_EQ(h.editor->history.saved_pos, 2);
    h.ctrlKey('Z');
    h.ctrlKey('Z');
    h.type("x");
    EXPECT_EQ(h.editor->history.records.size(), 2u);
    EXPECT_EQ(h.editor->history.saved_pos, -1);
    EXPECT_TRUE(h.editor->is_modified());
}

TEST(CursesUndo, ThinningPastMaxUndoKeepsRecordZeroAndTheSavedRecord) {
    EditorHarness h;
    h.load("v0\n");
    CursesEditor& e = *h.editor;
    for (int k = 1; k <= 500; ++k) {
        e.doc.lines = {"v" + std::to_string(k)};
        e.push_undo();
        if (k == 7) e.history.saved_pos = e.history.pos;  // as a save would
    }
    ASSERT_EQ(e.history.records.size(), 501u);
    e.doc.lines = {"new"};
    e.push_undo();
    std::set<std::string> kept;
    for (const UndoRecord& r : e.history.records) kept.insert(recordText(r));
    EXPECT_EQ(recordText(e.history.records[0]), "v0");
    ASSERT_GE(e.history.saved_pos, 0);
    EXPECT_EQ(recordText(e.history.records[static_cast<size_t>(e.history.saved_pos)]), "v7");
    for (const char* gone : {"v1", "v3", "v5", "v9", "v11"}) EXPECT_FALSE(kept.count(gone)) << gone;
    for (const char* stays : {"v2", "v4", "v6", "v8", "v10", "v499", "v500"}) EXPECT_TRUE(kept.count(stays)) << stays;
    EXPECT_EQ(recordText(e.history.records.back()), "new");
    EXPECT_EQ(e.history.pos, static_cast<int>(e.history.records.size()) - 1);
    EXPECT_LT(e.history.records.size(), 400u);
}

TEST(CursesUndo, EqualLinesAreSharedWithTheNeighbouringRecords) {
    EditorHarness h;
    h.load("a\nb\nc\n");
    h.key(Down);
    h.key(Enter);  // a line inserted: the lines below move down by one
    const UndoRecord& before = h.editor->history.records[0];
    const UndoRecord& after = h.editor->history.records[1];
    ASSERT_EQ(after.lines.size(), 4u);
    EXPECT_EQ(after.lines[0].get(), before.lines[0].get());
    EXPECT_EQ(after.lines[3].get(), before.lines[2].get());  // found one index back
    EXPECT_EQ(before.lines[2].get()->refs, 2);
}

TEST(CursesUndo, ATenThousandLineFileEditedAThousandTimesKeepsItsUnchangedLinesShared) {
    EditorHarness h;
    h.load(numberedLines(10000));
    for (int i = 0; i < 1000; ++i) {
        h.editor->view.cursor_y = (i * 37) % 10000;
        h.editor->view.cursor_x = 0;
        h.key('x');
    }
    std::set<const SharedLine*> distinct;
    for (const UndoRecord& r : h.editor->history.records)
        for (const SharedLineRef& line : r.lines) distinct.insert(line.get());
    EXPECT_GT(h.editor->history.records.size(), 300u);
    // The loaded lines once, plus one new line per edit.
    EXPECT_LE(distinct.size(), 10000u + 1000u);
    // A line never edited is one object referred to by every record.
    const SharedLine* untouched = h.editor->history.records.back().lines[1].get();
    EXPECT_EQ(untouched->refs, static_cast<int>(h.editor->history.records.size()));
}

// The shared edits.

TEST(CursesEdits, DeletingFromColumnZeroOfLineThreeToColumnZeroOfLineFiveRemovesLinesThreeAndFour) {
    EditorHarness h;
    h.load("l0\nl1\nl2\nl3\nl4\nl5\nl6\n");
    CursesEditor& e = *h.editor;
    e.sel.selecting = true;
    e.sel.sel_x1 = 0, e.sel.sel_y1 = 3;
    e.sel.sel_x2 = 0, e.sel.sel_y2 = 5;
    e.delete_selection();
    EXPECT_EQ(h.text(), "l0\nl1\nl2\nl5\nl6");
    EXPECT_EQ(e.view.cursor_y, 3);
    EXPECT_EQ(e.view.cursor_x, 0);
    EXPECT_FALSE(e.sel.selecting);
}

TEST(CursesEdits, DeletingFromInsideALineJoinsWhatIsLeftOfTheEndLine) {
    EditorHarness h;
    h.load("abcd\nxyz\nend\n");
    CursesEditor& e = *h.editor;
    e.sel.selecting = true;
    e.sel.sel_x1 = 0, e.sel.sel_y1 = 2;  // the anchor after the moving end: order does not matter
    e.sel.sel_x2 = 2, e.sel.sel_y2 = 0;
    e.delete_selection();
    EXPECT_EQ(h.text(), "abend");
    e.sel.selecting = true;
    e.sel.sel_x1 = 1, e.sel.sel_y1 = 0;
    e.sel.sel_x2 = 3, e.sel.sel_y2 = 0;
    e.delete_selection();
    EXPECT_EQ(h.text(), "and");
    EXPECT_EQ(e.view.cursor_x, 1);
}

TEST(CursesEdits, DeletingEverythingLeavesOneEmptyLine) {
    EditorHarness h;
    h.load("one\ntwo\n");
    h.ctrlKey('A');
    h.key(Delete);
    EXPECT_EQ(h.editor->doc.lines, (std::vector<std::string>{""}));
    EXPECT_EQ(h.editor->view.cursor_y, 0);
}

TEST(CursesEdits, PastingThreeIndentedLinesMidLineReindentsThemToTheCaretLine) {
    EditorHarness h;
    h.load("    call(x);\n");
    CursesEditor& e = *h.editor;
    e.view.cursor_x = 9;  // after "    call("
    e.insert_lines({"        first", "        second", "        third"});
    EXPECT_EQ(h.text(), "    call(first\n    second\n    thirdx);");
    EXPECT_EQ(e.view.cursor_y, 2);
    EXPECT_EQ(e.view.cursor_x, 9);  // after the inserted part of the last line
}

TEST(CursesEdits, InsertingAtColumnZeroKeepsTheTextsAsTheyAre) {
    EditorHarness h;
    h.load("tail\n");
    h.editor->insert_lines({"  a", "    b", ""});
    EXPECT_EQ(h.text(), "  a\n    b\ntail");
    EXPECT_EQ(h.editor->view.cursor_y, 2);
    EXPECT_EQ(h.editor->view.cursor_x, 0);
}

TEST(CursesEdits, ASingleTextIsInsertedInTheLine) {
    EditorHarness h;
    h.load("ab\n");
    h.editor->view.cursor_x = 1;
    h.editor->insert_lines({"XY"});
    EXPECT_EQ(h.text(), "aXYb");
    EXPECT_EQ(h.editor->view.cursor_x, 3);
}

TEST(CursesEdits, InsertingPastTheLastLineCreatesTheCaretLine) {
    EditorHarness h;
    h.open(h.dir.file("none.txt"));
    h.editor->insert_lines({"x", "y"});
    EXPECT_EQ(h.text(), "x\ny");
}

TEST(CursesEdits, ShiftingASelectionIndentsItsLinesButNotAnEndAtColumnZero) {
    EditorHarness h;
    h.load("a\n  b\nc\nd\n");
    CursesEditor& e = *h.editor;
    e.sel.selecting = true;
    e.sel.sel_x1 = 1, e.sel.sel_y1 = 0;
    e.sel.sel_x2 = 0, e.sel.sel_y2 = 2;
    e.view.cursor_x = 0, e.view.cursor_y = 2;
    e.shift_selection(2);
    EXPECT_EQ(h.text(), "  a\n    b\nc\nd");
    EXPECT_EQ(e.sel.sel_x1, 0);
    EXPECT_EQ(e.sel.sel_y2, 2);
    EXPECT_EQ(e.sel.sel_x2, 0);
    EXPECT_EQ(e.view.cursor_x, 0);  // the caret is on the line left out
}

TEST(CursesEdits, UnindentingRemovesTheSmallestCommonIndentWhenItIsLess) {
    EditorHarness h;
    h.load("   a\n     b\n");
    CursesEditor& e = *h.editor;
    e.sel.selecting = true;
    e.sel.sel_x1 = 0, e.sel.sel_y1 = 0;
    e.sel.sel_x2 = 6, e.sel.sel_y2 = 1;
    e.view.cursor_x = 6, e.view.cursor_y = 1;
    e.doc.indent_size = 4;
    e.shift_selection(-4);
    EXPECT_EQ(h.text(), "a\n  b");  // three removed from each, not four
    EXPECT_EQ(e.view.cursor_x, 3);
    EXPECT_EQ(e.sel.sel_x2, 3);  // the end of the last line
}

TEST(CursesCaret, MovingDownThroughAShortLineReturnsToTheWantedColumn) {
    EditorHarness h;
    h.load(std::string(40, 'a') + "\n" + std::string(10, 'b') + "\n" + std::string(50, 'c') + "\n");
    h.editor->view.cursor_x = 30;
    h.editor->set_cursor(false, -1);
    h.key(Down);
    EXPECT_EQ(h.editor->view.cursor_x, 10);
    h.key(Down);
    EXPECT_EQ(h.editor->view.cursor_x, 30);
    EXPECT_EQ(h.editor->view.cursor_y, 2);
    h.key(Left);  // a horizontal move forgets the wanted column
    h.key(Up);
    h.key(Up);
    EXPECT_EQ(h.editor->view.cursor_x, 29);
}

TEST(CursesCaret, TheCaretStaysInsideTheTextAreaHorizontally) {
    EditorHarness h(20, 10);
    h.load(std::string(100, 'x') + "\n");
    h.editor->view.cursor_x = 50;
    h.editor->set_cursor(false, -1);
    EXPECT_EQ(h.editor->view.scroll_x, 50 - 17 + 1);
    EXPECT_EQ(h.screen.cursor_x, 16);
    h.editor->view.cursor_x = 3;
    h.editor->set_cursor(false, -1);
    EXPECT_EQ(h.editor->view.scroll_x, 3);
}

TEST(CursesCaret, CentringPutsTheCaretLineAtThatShareOfThePane) {
    EditorHarness h(80, 22);  // a 20-row pane
    h.load(numberedLines(200));
    h.editor->view.cursor_y = 100;
    h.editor->set_cursor(false, 0.5);
    EXPECT_EQ(h.editor->panes.pane_offset[0], 90);
    h.editor->view.cursor_y = 150;
    h.editor->set_cursor(false, -1);
    EXPECT_EQ(h.editor->panes.pane_offset[0], 131);  // just enough
    EXPECT_EQ(h.screen.cursor_y, 1 + 19);
}

TEST(CursesEditorFile, ReleasingTheDocumentFreesItsLinesAndHistory) {
    EditorHarness h;
    h.load("a\nb\n");
    h.key(Down);
    h.type("x");
    h.editor->release_document();
    EXPECT_TRUE(h.editor->doc.lines.empty());
    EXPECT_TRUE(h.editor->history.records.empty());
    EXPECT_EQ(h.editor->view.cursor_y, 0);
    EXPECT_FALSE(h.editor->is_modified());
}

// The run loop.

namespace {

// An editor whose host closes it when 'q' arrives.
class ClosingEditor final : public CursesEditor {
public:
    ClosingEditor(CursesScreen& screen, const CursesServices& services, std::unique_ptr<CursesEditor>& owner, int& handled)
        : CursesEditor(screen, services), owner_(owner), handled_(handled) {}
    int on_key(int key) override {
        ++handled_;
        if (key == 'q') owner_.reset();  // destroys this editor
        else
            CursesEditor::on_key(key);
        return 0;
    }

private:
    std::unique_ptr<CursesEditor>& owner_;
    int& handled_;
};

}  // namespace

TEST(CursesRun, TheRunLoopEndsAtOnceWhenOnKeyDestroysTheEditor) {
    CursesEditor::shared() = {};
    CursesScreen screen;
    attachFakeWindow(screen, 40, 10);
    FakeModifiers modifiers;
    FakeClipboard clipboard;
    FakeLinks links;
    std::unique_ptr<CursesEditor> editor;
    int handled = 0;
    editor = std::make_unique<ClosingEditor>(screen, CursesServices{&modifiers, &clipboard, &links}, editor, handled);
    for (int key : {'a', 'q', 'b', 'c'}) screen.enqueue_key(key);
    CursesEditor* raw = editor.get();
    raw->run();
    EXPECT_EQ(handled, 2);
    EXPECT_EQ(editor, nullptr);
    EXPECT_EQ(screen.window, nullptr);  // the editor detached the screen
    EXPECT_EQ(screen.user_data, nullptr);
}

TEST(CursesRun, TheRunLoopTakesAtMostSixteenKeys) {
    EditorHarness h;
    h.load("");
    for (int i = 0; i < 20; ++i) h.screen.enqueue_key('k');
    h.editor->run();
    EXPECT_EQ(h.text(), std::string(16, 'k'));
    EXPECT_EQ(h.screen.queue_count, 4);
    EXPECT_TRUE(h.editor->run_guards.empty());
}

TEST(CursesRun, APaneTabKeyStopsTheLoopForThisTick) {
    EditorHarness h;
    h.load("");
    h.modifiers.ctrl = true;
    h.screen.enqueue_key(CtrlCloseBracket);
    h.screen.enqueue_key(ctrl('L'));
    h.editor->run();
    EXPECT_EQ(h.screen.queue_count, 1);
}

TEST(CursesEditorScreen, ConstructionAttachesTheEditorToTheScreen) {
    EditorHarness h(30, 8);
    EXPECT_EQ(h.screen.user_data, h.editor.get());
    EXPECT_NE(h.screen.mouse_callback, nullptr);
    EXPECT_NE(h.screen.resize_callback, nullptr);
    EXPECT_EQ(h.screen.scrollbar_width, 1);
    EXPECT_EQ(h.screen.colors[2].bg, 0x0000C0u);
    EXPECT_EQ(h.screen.colors[27].fg, 0xFFFFFFu);
    EXPECT_EQ(h.screen.colors[30].fg, 0u);
    EXPECT_EQ(h.screen.colors[30].bg, 0u);
}

TEST(CursesEditorScreen, AResizeRedrawsEverythingAndKeepsTheCaretInView) {
    EditorHarness h(30, 8);
    h.load(numberedLines(50));
    h.window->size = {40 * FakeScreenWindow::kCellWidth, 12 * FakeScreenWindow::kCellHeight};
    h.screen.resize_grid();
    h.screen.resize_callback(h.screen);
    EXPECT_EQ(h.screen.cols, 40);
    EXPECT_EQ(h.row(1), "line 1");
    EXPECT_EQ(h.row(10), "line 10");
    EXPECT_EQ(h.screen.cursor_y, 1);
}

TEST(CursesEditorFile, AReadOnlyFileIsNotReplacedAndTheTextStaysModified) {
    EditorHarness h;
    h.load("original\n");
    h.type("x");
    ::chmod(h.dir.file("doc.txt").c_str(), 0444);
    EXPECT_EQ(h.editor->save_file(), 1);
    EXPECT_TRUE(h.editor->is_modified());
    EXPECT_EQ(h.dir.read("doc.txt"), "original\n");
    EXPECT_EQ(entriesIn(h.dir), 1u);
}

TEST(CursesEditorFile, SavingThroughLinksKeepsThem) {
    EditorHarness h(40, 10);
    namespace fs = std::filesystem;
    fs::create_directories(h.dir.file("shared"));
    h.dir.write("shared/preferences.txt", "{}\n");
    fs::create_hard_link(h.dir.file("shared/preferences.txt"), h.dir.file("shared/other-name.txt"));
    fs::create_symlink("shared/preferences.txt", h.dir.file("preferences.txt"));
    ASSERT_EQ(h.open(h.dir.file("preferences.txt")), 0);
    h.type("x");
    ASSERT_EQ(h.editor->save_file(), 0);
    EXPECT_TRUE(fs::is_symlink(h.dir.file("preferences.txt")));
    EXPECT_EQ(h.dir.read("shared/preferences.txt"), "x{}\n");
    EXPECT_EQ(h.dir.read("shared/other-name.txt"), "x{}\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(h.dir.file("shared")), {}), 2);
}
