#pragma once
// A small keyboard-driven text editor drawn on a CursesScreen: one document of UTF-8 lines,
// one or two panes, a selection, undo and redo, the system clipboard, and find, replace and
// go-to prompts on the bottom row. Hosts derive from it and override its virtual operations.
#include <string>
#include <vector>

#include "curses/curses_screen.h"
#include "curses/curses_services.h"
#include "curses/undo_record.h"
#include "text/utf16.h"

constexpr int kLiteralCharacter = curses_key::LiteralCharacter;
// A key code that types a character: codes 128 and up that are not special keys, and ASCII
// white space and graphic characters.
bool curses_key_is_printable(int key);
// The UTF-16 unit a printable key code stands for.
int curses_key_character(int key);

// A position in the document: character column and line.
struct TextPos {
    int x = 0;
    int y = 0;
    friend bool operator==(const TextPos&, const TextPos&) = default;
    bool before(const TextPos& o) const { return y < o.y || (y == o.y && x < o.x); }
};

// A selection in document order.
struct TextRange {
    TextPos start;
    TextPos end;
    bool empty() const { return start == end; }
};

// The rows of one of the editor's panes.
struct EditorPane {
    int top = 0;
    int rows = 0;
};

// State common to every editor of the process.
struct CursesSharedState {
    int search_mode = 0;   // 0-5: bit 0 match case, bit 1 whole words, 4 and 5 tokens
    bool overwrite = false;
    std::string copy_buffer;
    std::string goto_buffer;
};

class CursesEditor {
public:
    enum Mode { Editing = 0, Message = 1, FindPrompt = 2, ReplacePrompt = 3, GotoPrompt = 4 };

    explicit CursesEditor(CursesScreen& screen);
    CursesEditor(CursesScreen& screen, const CursesServices& services);
    CursesEditor(const CursesEditor&) = delete;
    CursesEditor& operator=(const CursesEditor&) = delete;

    // The virtual operations, in slot order.
    virtual ~CursesEditor();
    virtual int on_key(int key);
    virtual void on_right_click(ScreenWindow* window);
    virtual int save_file();
    virtual void set_cursor(bool vertical, double center);
    virtual int init(const std::string& file_name);
    virtual void draw(int line);
    // The token at or after cursor, up to end: its start (null when none) and length.
    virtual const char* next_token(const char*& cursor, const char* end, int& length, int& state);
    virtual int on_mouse(ScreenWindow& window, const MouseEvent& event);
    // Searches document line `line` for `text` from byte position start: the byte position
    // of the hit, or -1.
    virtual int search_line(const std::string& text, int line, int start, bool forward, int& match_length);
    virtual int line_start_state(int line);
    // state carries from one row to the next while a pane is drawn.
    virtual void draw_line(int row, const std::string& text, int& state, int line);
    virtual void draw_top_line();
    virtual void draw_help_extra();
    virtual bool edit_needs_full_redraw(const std::string& text, size_t byte_pos, size_t byte_length);
    virtual int tab_count();
    virtual CursesEditor* tab_editor(int index);
    virtual void switch_tab(int index, bool relative);

    // Document and undo.
    void push_undo();
    void note_view_before_change();
    void restore(const UndoRecord& record, int snapshot);
    bool is_modified() const { return undo_pos != saved_pos; }
    void delete_selection();
    void shift_selection(int amount);
    void insert_lines(const std::vector<std::string>& texts);
    // Takes up to 16 keys from the screen; ends at once when on_key destroys the editor.
    void run();
    // Lets go of the lines and the undo history and puts the caret at the start, as a host
    // does when its window closes.
    void release_document();

    // Drawing.
    void draw_status();
    void show_message(const std::string& text);
    void draw_prompt();

    // Find, replace and go-to.
    void prompt_key(int key, std::string& text);
    void find(bool backward, bool replace_all);
    void goto_line();

    // Geometry and positions.
    EditorPane pane(int p) const;
    bool is_split() const { return split_ratio > 0.0 && split_ratio < 1.0; }
    int pane_count() const { return is_split() ? 2 : 1; }
    // Rows of the document area between the margins.
    int text_rows() const;
    int line_count() const { return static_cast<int>(lines.size()); }
    // Characters of a line; 0 past the last line.
    int line_length(int y) const;
    TextRange selection() const;
    bool has_selection() const { return selecting && !selection().empty(); }
    // The selected text, lines joined with LF.
    std::string selection_text() const;
    // Whether the caret line is shown in the current pane.
    bool caret_visible() const;
    void place_screen_cursor();

    static CursesSharedState& shared();
    static const char* search_mode_name(int mode);
    static std::string ellipsize(const std::string& text);

    CursesScreen& screen;
    int top_margin = 1, bottom_margin = 1;
    int indent_size = 2;
    int max_undo = 500;
    std::string file_name;
    bool write_crlf = false;
    int save_tab_width = 0;
    std::vector<std::string> lines;
    std::vector<UndoRecord> undo_records;
    int undo_pos = -1;
    int saved_pos = -1;
    int mode = Editing;
    bool selecting = false;
    int sel_x1 = 0, sel_y1 = 0;
    int sel_x2 = 0, sel_y2 = 0;
    int scroll_x = 0;
    int cursor_x = 0;
    int cursor_y = 0;
    int wanted_x = -1;
    int drag_state = 0;
    int drag_offset = 0;
    int current_pane = 0;
    double split_ratio = 1.0;
    int pane_offset[2] = {0, 0};
    int status_len = 0;
    bool prompt_typed = false;
    std::string search_text, replace_text;
    std::vector<bool*> run_guards;

protected:
    CursesServices services;

    // Key commands.
    void handleKey(int key);
    bool dropSelectionForMovement(int key);
    void moveCaret(int key);
    void extendOrRedraw(bool vertical, bool redrawWithout);
    void typeText(const std::string& text);
    void typeCharacter(int key);
    void enter();
    void backspace();
    void deleteKey();
    void tabKey();
    void shiftTabKey();
    void duplicate();
    void togglePanes();
    void otherPane();
    void undo();
    void redo();
    void copyOrCut(bool cut);
    void paste();
    void selectAll();
    void openFindPrompt(bool replace);
    void openGotoPrompt();
    void promptOnKey(int key);
    void closePrompt();
    void flushPendingSurrogate();
    bool modifiersAllow(bool allowShift) const;
    // Replaces bytes of line y, asking edit_needs_full_redraw before and after; true when
    // everything must be redrawn.
    bool replaceInLine(int y, size_t pos, size_t removed, const std::string& inserted);
    // Deletes a selection (or drops an empty one) before an edit; true when there was one.
    bool clearSelectionForEdit();
    // Redraws the caret line or everything, pushes the undo record, keeps the caret in view.
    void finishEdit(bool fullRedraw);
    // Backspace and Delete with a selection remove just the selection; true when they did.
    bool deleteSelectionInstead();
    // Copy text with the indentation rules of copy.
    std::string copyText() const;
    std::vector<std::string> clipboardLines();

    // Mouse.
    int mouseButtonDown(ScreenWindow& window, const MouseEvent& event, bool left, bool doubleClick);
    void mouseMove(const MouseEvent& event);
    void mouseWheel(const MouseEvent& event);
    bool openLinkAt(ScreenWindow& window, int row, int col);
    void scrollPaneTo(int p, int offset);
    int paneAtRow(int row) const;
    void refreshBarGeometry();

    // Searching helpers.
    bool tokenize(const char* begin, const char* end, std::vector<std::pair<int, int>>& tokens);

    // The modifiers recorded with the key being handled, else the live ones.
    bool shiftHeld() const {
        const KeyModifierState& k = screen.key_modifiers();
        return k.known ? k.shift : services.modifiers && services.modifiers->shiftHeld();
    }
    bool ctrlHeld() const {
        const KeyModifierState& k = screen.key_modifiers();
        return k.known ? k.ctrl : services.modifiers && services.modifiers->ctrlHeld();
    }
    bool altHeld() const {
        const KeyModifierState& k = screen.key_modifiers();
        return k.known ? k.alt : services.modifiers && services.modifiers->altHeld();
    }
    void setCaret(TextPos p) {
        cursor_x = p.x;
        cursor_y = p.y;
    }
    TextPos caret() const { return {cursor_x, cursor_y}; }
    void loadLines(const std::string& bytes);

    SurrogateJoiner joiner_;
    TextPos press_cell_;
    bool mouse_captured_ = false;
};
