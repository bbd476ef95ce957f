#pragma once
// The curses editor's state in plain parts, each owned by the editor: the document, its undo
// history, the caret and scroll, the selection, the panes, a mouse drag and the prompts.
#include <string>
#include <vector>

#include "curses/document/undo_record.h"
#include "text/text_position.h"

// A selection in document order.
struct TextRange {
    TextPosition start;
    TextPosition end;
    bool empty() const { return start == end; }
};

// The text and how it goes back to its file.
struct CursesDocument {
    std::string file_name;
    std::vector<std::string> lines;  // without line terminators; may be empty
    bool write_crlf = false;
    int save_tab_width = 0;  // 0: leading spaces saved as they are; n: each n leading spaces a tab
    int indent_size = 2;     // spaces per indent step and per tab on load
};

struct UndoHistory {
    std::vector<UndoRecord> records;
    int pos = -1;        // the record that matches the document; -1 before the first
    int saved_pos = -1;  // pos when the file was last loaded or saved; -1 when that state is gone
    int max_undo = 500;  // records kept before thinning
};

// The caret and the horizontal scroll.
struct CaretView {
    int cursor_x = 0;  // caret column in characters
    int cursor_y = 0;  // caret line
    int wanted_x = -1;  // column to return to on vertical moves; -1 none
    int scroll_x = 0;   // first character column shown
};

struct SelectionState {
    bool selecting = false;
    int sel_x1 = 0, sel_y1 = 0;  // the anchor
    int sel_x2 = 0, sel_y2 = 0;  // the moving end
};

// One or two panes between the title row and the bottom row.
struct PaneState {
    int top_margin = 1, bottom_margin = 1;
    int current_pane = 0;  // 0 upper, 1 lower
    double split_ratio = 1.0;  // 1.0 or more: one pane; strictly between 0 and 1: two panes
    int pane_offset[2] = {0, 0};  // first line shown in each pane
    int status_len = 0;  // length of the status text last written on the bottom row
};

struct MouseDrag {
    int drag_state = 0;   // 0 none; 1, 2 a pane's scroll thumb; 3 the pane separator
    int drag_offset = 0;  // pointer offset inside the thumb, pixels
    TextPosition press_cell;   // the cell of the last press
    bool captured = false;
};

struct PromptState {
    int mode = 0;  // 0 editing, 1 a message shows, 2 find, 3 replace, 4 go-to prompt
    bool prompt_typed = false;  // the prompt text was typed or edited since it opened
    std::string search_text, replace_text;
};

// State common to every editor of the process.
struct CursesSharedState {
    int search_mode = 0;  // 0-5: bit 0 match case, bit 1 whole words, 4 and 5 tokens
    bool overwrite = false;
    std::string copy_buffer;
    std::string goto_buffer;
};
