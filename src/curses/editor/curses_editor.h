#pragma once
// A small keyboard-driven text editor drawn on a CursesScreen: one document of UTF-8 lines,
// one or two panes, a selection, undo and redo, the system clipboard, and find, replace and
// go-to prompts on the bottom row. Hosts derive from it and override its virtual operations.
//
// Its shape: the state lives in the plain parts of editor_state.h; a key goes through the key
// table (key_table.h) to one command; commands change the state and ask for what must be
// drawn; the drawing runs once after each batch of keys (paint_queue.h).
#include <string>
#include <vector>

#include "curses/editor/editor_state.h"
#include "curses/editor/key_table.h"
#include "curses/editor/paint_queue.h"
#include "curses/screen/curses_screen.h"
#include "curses/system/curses_services.h"
#include "text/utf16.h"

constexpr int kLiteralCharacter = curses_key::LiteralCharacter;

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

    // Document and undo (document/).
    void push_undo();
    void note_view_before_change();
    void restore(const UndoRecord& record, int snapshot);
    bool is_modified() const { return history.pos != history.saved_pos; }
    void delete_selection();
    void shift_selection(int amount);
    void insert_lines(const std::vector<std::string>& texts);
    // Lets go of the lines and the undo history and puts the caret at the start, as a host
    // does when its window closes.
    void release_document();

    // Takes up to 16 keys from the screen and draws once after them; ends at once when
    // on_key destroys the editor.
    void run();

    // Drawing (draw/): each draws at once, or after the keys when a batch is open.
    void draw_status();
    void show_message(const std::string& text);
    void draw_prompt();
    void place_screen_cursor();

    // Find, replace and go-to (find/).
    void prompt_key(int key, std::string& text);
    void find(bool backward, bool replace_all);
    void goto_line();

    // Geometry and positions.
    PaneRows pane(int p) const;
    bool is_split() const { return panes.split_ratio > 0.0 && panes.split_ratio < 1.0; }
    int pane_count() const { return is_split() ? 2 : 1; }
    // Rows of the document area between the margins.
    int text_rows() const;
    int line_count() const { return static_cast<int>(doc.lines.size()); }
    // Characters of a line; 0 past the last line.
    int line_length(int y) const;
    TextRange selection() const;
    bool has_selection() const { return sel.selecting && !selection().empty(); }
    // The selected text, lines joined with LF.
    std::string selection_text() const;
    // Whether the caret line is shown in the current pane.
    bool caret_visible() const;

    static CursesSharedState& shared();
    static const char* search_mode_name(int mode);
    static std::string ellipsize(const std::string& text);

    CursesScreen& screen;
    CursesDocument doc;
    UndoHistory history;
    CaretView view;
    SelectionState sel;
    PaneState panes;
    MouseDrag drag;
    PromptState prompt;
    std::vector<bool*> run_guards;

protected:
    // Keeps drawing back until the outermost batch ends, then draws what was asked for.
    class PaintBatch {
    public:
        explicit PaintBatch(CursesEditor& editor);
        ~PaintBatch();
        PaintBatch(const PaintBatch&) = delete;
        PaintBatch& operator=(const PaintBatch&) = delete;

    private:
        CursesEditor& editor_;
        bool destroyed_ = false;
    };

    // Asks for drawing: everything (line -1) or one document line; the status text; the
    // screen cursor on the caret.
    void requestDraw(int line);
    void requestStatus();
    void requestCursor();
    void paintRequested();

    // Performs the command the key table chose (commands/).
    void perform(const CursesKeyDecision& decision, int key);
    void performPrompt(const CursesKeyDecision& decision, int key);
    CursesKeyInput keyInput(int key) const;
    bool dropSelectionForMovement(int key);
    void moveCaret(int key);
    void moveVertically(int key);
    void moveHorizontally(int key);
    void moveToLineEnds(int key);
    void extendOrRedraw(bool vertical, bool redrawWithout);
    void typeText(const std::string& text);
    void typeCharacter(int key);
    void enter();
    void backspace();
    void joinWithPreviousLine();
    void deleteKey();
    void shiftSelectionKey(int direction);
    void indentKey();
    void unindentKey();
    void duplicate();
    void togglePanes();
    void otherPane();
    void undo();
    void redo();
    void dropSelection();
    void toggleOverwrite();
    void copyOrCut(bool cut);
    void paste();
    void selectAll();
    void openFindPrompt(bool replace);
    void openGotoPrompt();
    void switchPrompt(int toMode);
    void closePrompt();
    void flushPendingSurrogate();
    // Replaces bytes of line y, asking edit_needs_full_redraw before and after; true when
    // everything must be redrawn.
    bool replaceInLine(int y, size_t pos, size_t removed, const std::string& inserted);
    // Deletes a selection (or drops an empty one) before an edit; true when there was one.
    bool clearSelectionForEdit();
    // Redraws the caret line or everything, pushes the undo record, keeps the caret in view.
    void finishEdit(bool fullRedraw);
    // Backspace and Delete with a selection remove just the selection; true when they did.
    bool deleteSelectionInstead();
    // Only the caret is kept in view (after a key that changed nothing), redrawing everything
    // when an empty selection was dropped.
    void settleCaret(bool redraw);
    std::vector<std::string> clipboardLines();
    void replaceAll();
    void findNext(bool backward);

    // Mouse (mouse/).
    int mouseButtonDown(ScreenWindow& window, const MouseEvent& event, bool left, bool doubleClick);
    bool pressScrollBar(ScreenWindow& window, const MouseEvent& event, int p, int col);
    void pressText(ScreenWindow& window, const MouseEvent& event, int p, int row, int col, bool left, bool doubleClick);
    void mouseMove(const MouseEvent& event);
    void dragSeparator(int row);
    void dragThumb(const MouseEvent& event);
    void dragSelection(int row, int col);
    void mouseWheel(const MouseEvent& event);
    bool openLinkAt(ScreenWindow& window, int row, int col);
    void scrollPaneTo(int p, int offset);
    int paneAtRow(int row) const;
    void refreshBarGeometry();
    void endDrag();

    // Drawing at once (draw/).
    void drawRow(int row, int y, int& state);
    void drawHelpRow();
    void paintStatus();
    void paintMessage(const std::string& text);
    void paintPrompt();
    void paintCursor();

    // The modifiers recorded with the key being handled, else the live ones.
    ModifierKeys modifiers() const;
    bool shiftHeld() const { return modifiers().shift; }
    bool ctrlHeld() const { return modifiers().ctrl; }
    bool altHeld() const { return modifiers().alt; }
    void setCaret(TextPosition p) {
        view.cursor_x = p.column;
        view.cursor_y = p.line;
    }
    TextPosition caret() const { return {view.cursor_x, view.cursor_y}; }
    void loadLines(const std::string& bytes);

    CursesServices services;
    SurrogateJoiner joiner_;
    PaintQueue paint_;
};
