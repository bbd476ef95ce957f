#pragma once
// The one open document: its lines, selection, modes, path and modified flag, plus the
// caret and scroll record it shares with the editor view.
#include <memory>
#include <string>
#include <vector>

#include "editor/edit_history.h"
#include "editor/file_format.h"
#include "editor/line_list.h"
#include "editor/text_buffer.h"
#include "text/pixel_geometry.h"

// The modes a document starts with and returns to at New and Open, from the preferences.
struct EditorDefaults {
    bool crlf = true;
    bool space = true;
    int tabSize = 2;
};

// Caret and scroll record. The scroll position is implied: the first visible column is
// caretColumn - screenColumn and the top visible line caretLine - screenRow.
struct ViewState {
    int caretColumn = 0;
    int caretLine = 0;
    int cellWidth = 0;
    int cellHeight = 0;
    int screenColumn = 0;
    int screenRow = 0;
    bool caretVisible = false;
    int blinkAccumulator = 0;
    PixelRect clientRect;

    int visibleColumns() const;
    int visibleRows() const;
    int firstColumn() const { return caretColumn - screenColumn; }
    int topLine() const { return caretLine - screenRow; }
};

// What the document needs from the window that shows it.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    virtual void setTitle(const char* utf8) = 0;
    virtual const char* applicationName() const = 0;
    // A drag selection holds the mouse capture.
    virtual bool mouseCaptured() const = 0;
    // The pointer lies inside the editor window's client rectangle (edges included).
    virtual bool pointerInEditor() const = 0;
    virtual void hidePointer() = 0;
    // The system clipboard, beside the document's private copy buffer. Copy and cut hand their
    // pieces on; paste asks for the text another program put there since the last copy or cut.
    // Hosts without a clipboard keep these: the copy buffer alone serves.
    virtual void shareCopy(const std::vector<std::string>& pieces) { (void)pieces; }
    virtual bool foreignClipboard(std::vector<std::string>& pieces) {
        (void)pieces;
        return false;
    }
};

class Document {
public:
    Document(DocumentHost& host, ViewState& view, const EditorDefaults& defaults = {});

    DocumentHost& host() { return host_; }
    ViewState& view() { return view_; }
    const ViewState& view() const { return view_; }
    const EditorDefaults& defaults() const { return defaults_; }

    // Line-list primitives and queries.
    LineList lines;
    int lineCount() const { return lines.count(); }
    const char* line(int index) const { return lines.at(index); }
    void insertLine(int index, const char* text) { lines.insert(index, text); }
    void removeLine(int index) { lines.remove(index); }
    void replaceLine(int index, const char* text) { lines.replace(index, text); }
    void clearLines() { lines.clear(); }
    int longestLine() const;

    TextBuffer scratch{128};
    std::vector<std::string> copyBuffer;

    bool selectionActive = false;
    TextPosition anchor;
    TextPosition selectionStart;
    TextPosition selectionEnd;

    bool relativeLineNumbers = false;
    bool absoluteLineNumbers = false;
    bool crlf = true;
    bool space = true;
    int tabSize = 2;
    std::string path;
    FileFormat format;
    // The file as the text was last read from or written to it.
    FileIdentity disk;
    bool modified = false;
    bool overwrite = false;
    std::string findText;
    std::string replaceText;

    // Every change of the text, for undo and redo.
    EditHistory history;

    // Caret moves; they accept any value (callers clamp) and keep the caret in its band.
    void setCaretColumn(int column);
    void setCaretLine(int line);
    void setCaret(int column, int line);
    // Hides the pointer when it lies over the editor and no drag holds the mouse. Inside a
    // command the host is asked once: the answer cannot change while the command runs, and
    // each question is a system call, which a command that moves the caret per match or per
    // character would otherwise make hundreds of thousands of times.
    void hidePointerWhileTyping();
    // A drag selection holds the mouse; asked of the host once per command, as above.
    bool mouseCaptured();

    // Marks one command (a key, a dialog action, a step of the history); scopes nest.
    class CommandScope {
    public:
        explicit CommandScope(Document& doc) : doc_(doc) {
            if (doc_.commandDepth_++ == 0) doc_.forgetHostAnswers();
        }
        ~CommandScope() {
            if (--doc_.commandDepth_ == 0) doc_.forgetHostAnswers();
        }
        CommandScope(const CommandScope&) = delete;
        CommandScope& operator=(const CommandScope&) = delete;

    private:
        Document& doc_;
    };

    void extendSelection();
    void clearSelection();
    void markModified();

    void newDocument();
    // Title "%s - %s" with the application name and the file-name part of path.
    void setSavedTitle();
    // The title of unchanged text: "%s - %s" for a file, "%s - *" for a new document.
    void setUnmodifiedTitle();
    void setTitleFormat(const char* format, const char* fileName);

private:
    DocumentHost& host_;
    ViewState& view_;
    EditorDefaults defaults_;
    void forgetHostAnswers() {
        pointerSettled_ = false;
        captureKnown_ = false;
    }

    int commandDepth_ = 0;
    // What this command has asked the host already.
    bool pointerSettled_ = false;
    bool captureKnown_ = false;
    bool captured_ = false;
};

// The text after the last '\' or '/', or the whole path.
std::string fileNamePart(const std::string& path);
