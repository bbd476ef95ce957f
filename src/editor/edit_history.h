#pragma once
// Undo and redo: the steps the user took, each the record of its changes (or, for New and
// Open, the whole document it replaced, moved here and never copied), with the caret,
// selection and scroll from before and after it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/change_apply.h"
#include "editor/change_record.h"
#include "editor/file_format.h"
#include "editor/file_identity.h"
#include "editor/line_list.h"
#include "text/text_position.h"

class Document;

// Where the caret and selection were and how the view was scrolled.
struct CaretState {
    int caretColumn = 0, caretLine = 0;
    int screenColumn = 0, screenRow = 0;
    bool selectionActive = false;
    TextPosition anchor, selectionStart, selectionEnd;
    bool operator==(const CaretState&) const = default;

    static CaretState of(const Document& doc);
    void restore(Document& doc) const;
};

// What New and Open replace: the text and everything that belongs to its file.
struct DocumentContent {
    LineList lines;
    std::string path;
    FileFormat format;
    FileIdentity disk;
    bool crlf = true;
    bool space = true;
    uint64_t savedState = 0;

    // Exchanges this content with the document's.
    void swapWith(Document& doc);
};

enum class StepKind {
    Typing,       // typed characters; neighbours on one line join
    Edit,         // any other command that changes the text
    Replacement,  // New or Open: the document itself changed
};

struct Step {
    uint64_t id = 0;
    StepKind kind = StepKind::Edit;
    CaretState before, after;
    ChangeRecord changes;
    // For a replacement: the document on the other side of the step, and the file the new
    // document was read from (nothing known for New).
    std::unique_ptr<DocumentContent> other;
    FileIdentity opened;
    std::string openedPath;
    int64_t endedMs = 0;
    size_t bytes = 0;  // memoryBytes() as last counted

    size_t memoryBytes() const;
};

class EditHistory {
public:
    static constexpr size_t kDefaultBudget = size_t{256} << 20;
    using Clock = int64_t (*)();

    explicit EditHistory(size_t budgetBytes = kDefaultBudget);
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // A command begins: what the document looks like now is what undo returns to. Commands
    // run inside a command are part of it.
    void begin(Document& doc, StepKind kind);
    // The changes of the command under way; one is opened when a change comes without one.
    ChangeRecord& record(const Document& doc);
    // The command is done: its changes become a step (joined to the typing before it where
    // that continues on the same line within a second).
    void end(Document& doc);
    // Memory ran out during the command: its changes are taken back, the caret and selection
    // put back, and no step is left. Throws again if even that cannot be done.
    void abandon(Document& doc);

    // New or Open: incoming becomes the document and the old one goes into the step; after the
    // call incoming holds nothing of value.
    void replaceDocument(Document& doc, DocumentContent& incoming);

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    // Take back the last step, or do again the last one taken back. False with nothing to do.
    bool undo(Document& doc);
    bool redo(Document& doc);

    // The text now is the one on disk (loaded or saved).
    void markSaved(Document& doc);
    // An identity of the text as it is now: equal identities mean equal text.
    uint64_t state() const;
    // Whether the text differs from the one last loaded or saved.
    bool differsFromSaved() const { return state() != savedState_; }

    // Forgets every step; the document stays as it is.
    void clear();

    // The steps that led to the text as it is, oldest first; the state before the oldest.
    const std::vector<Step>& doneSteps() const { return done_; }
    uint64_t baseState() const { return baseState_; }
    uint64_t savedState() const { return savedState_; }
    // The text no longer matches any saved one (it was brought back from a record, say).
    void forgetSavedState() { savedState_ = nextId_++; }
    // A New or Open step rebuilt from a record: where the caret was before it, and the modes
    // the document it replaced had then.
    void describeReplacement(const CaretState& before, bool crlf, bool space);
    // The file the document just opened was read from; the Open step keeps it.
    void noteOpened(const FileIdentity& disk);
    // A step rebuilt from a record of it: carried out on the text and kept, as if just done.
    // False, with nothing changed, when the changes do not fit the text (each removed text must
    // be there).
    bool restoreStep(Document& doc, StepKind kind, const CaretState& before, const CaretState& after,
                     ChangeRecord&& changes);
    size_t memoryBytes() const { return bytes_; }
    size_t budget() const { return budget_; }
    void setBudget(size_t bytes);
    void setClock(Clock clock) { clock_ = clock; }
    size_t undoCount() const { return done_.size(); }
    size_t redoCount() const { return undone_.size(); }

private:
    friend struct DocumentContent;
    void closeOpen(Document& doc);
    bool joinTyping(Step& step);
    bool travel(Document& doc, std::vector<Step>& from, std::vector<Step>& to, ApplyDirection direction);
    void exchange(Document& doc, Step& step);
    void showState(Document& doc);
    void trim();
    void forget(std::vector<Step>& steps);

    size_t budget_;
    size_t bytes_ = 0;
    Clock clock_;
    std::vector<Step> done_;    // oldest first
    std::vector<Step> undone_;  // the next to redo last
    std::optional<Step> open_;
    int depth_ = 0;             // commands under way, one inside another
    uint64_t nextId_ = 1;
    uint64_t baseState_ = 0;  // the state before the oldest step kept
    uint64_t savedState_ = 0;
    // The last step may still take the next typed character.
    bool typingContinues_ = false;
};
