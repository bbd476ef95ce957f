#include "editor/edit_history.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "editor/change_apply.h"
#include "editor/document.h"

namespace {

// Room for one more step, taken before the step is: growing by half of what there is, since
// a reserve of exactly one more would move every step on every step.
void roomForOneMore(std::vector<Step>& steps) {
    if (steps.size() == steps.capacity()) steps.reserve(steps.capacity() + steps.capacity() / 2 + 16);
}

// Typing after a pause this long starts a step of its own.
constexpr int64_t kTypingPauseMs = 1000;

int64_t steadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

CaretState CaretState::of(const Document& doc) {
    const ViewState& view = doc.view();
    return {view.caretColumn,    view.caretLine, view.screenColumn,     view.screenRow,
            doc.selectionActive, doc.anchor,     doc.selectionStart,    doc.selectionEnd};
}

void CaretState::restore(Document& doc) const {
    ViewState& view = doc.view();
    doc.hidePointerWhileTyping();
    view.caretVisible = true;
    view.caretColumn = caretColumn;
    view.caretLine = caretLine;
    // The place on the screen as it was, unless the window has since become too small for it.
    view.screenColumn = screenColumn;
    view.screenRow = screenRow;
    if (view.visibleRows() > 0 && screenRow >= view.visibleRows()) view.screenRow = view.visibleRows() - 1;
    if (view.visibleColumns() > 0 && screenColumn > view.visibleColumns()) view.screenColumn = view.visibleColumns();
    doc.selectionActive = selectionActive;
    doc.anchor = anchor;
    doc.selectionStart = selectionStart;
    doc.selectionEnd = selectionEnd;
}

void DocumentContent::swapWith(Document& doc) {
    lines.swap(doc.lines);
    path.swap(doc.path);
    std::swap(format, doc.format);
    std::swap(disk, doc.disk);
    std::swap(crlf, doc.crlf);
    std::swap(space, doc.space);
    std::swap(savedState, doc.history.savedState_);
}

size_t Step::memoryBytes() const {
    size_t bytes = sizeof *this + changes.memoryBytes();
    if (other) bytes += sizeof *other + other->lines.memoryBytes() + other->path.capacity();
    return bytes;
}

EditHistory::EditHistory(size_t budgetBytes) : budget_(budgetBytes), clock_(steadyMilliseconds) {}

void EditHistory::begin(Document& doc, StepKind kind) {
    if (depth_++ > 0) return;
    closeOpen(doc);
    if (kind != StepKind::Typing) typingContinues_ = false;
    open_.emplace();
    open_->kind = kind;
    open_->before = CaretState::of(doc);
}

ChangeRecord& EditHistory::record(const Document& doc) {
    if (!open_) {
        // A change made outside any command still becomes a step of its own.
        open_.emplace();
        open_->before = CaretState::of(doc);
    }
    return open_->changes;
}

void EditHistory::end(Document& doc) {
    if (depth_ > 0 && --depth_ > 0) return;
    closeOpen(doc);
    // A command that only looked like a change (an empty paste, say) leaves the text as saved.
    if (doc.modified != differsFromSaved()) showState(doc);
}

void EditHistory::closeOpen(Document& doc) {
    if (!open_) return;
    if (open_->changes.empty()) {
        open_.reset();
        return;
    }
    open_->after = CaretState::of(doc);
    open_->endedMs = clock_();
    if (joinTyping(*open_)) {
        open_.reset();
    } else {
        // Room first: the step must be kept once it is taken out of open_.
        roomForOneMore(done_);
        forget(undone_);
        Step& step = done_.emplace_back(std::move(*open_));
        open_.reset();
        step.id = nextId_++;
        step.bytes = step.memoryBytes();
        bytes_ += step.bytes;
        typingContinues_ = step.kind == StepKind::Typing;
        trim();
    }
    if (!doc.modified) doc.markModified();
}

bool EditHistory::joinTyping(Step& step) {
    if (step.kind != StepKind::Typing || !typingContinues_ || done_.empty()) return false;
    Step& last = done_.back();
    if (last.kind != StepKind::Typing || last.after != step.before || step.before.selectionActive ||
        step.endedMs - last.endedMs > kTypingPauseMs)
        return false;
    if (!last.changes.tryExtend(step.changes)) return false;
    last.after = step.after;
    last.endedMs = step.endedMs;
    // A new text, so a new identity.
    last.id = nextId_++;
    bytes_ -= last.bytes;
    last.bytes = last.memoryBytes();
    bytes_ += last.bytes;
    return true;
}

void EditHistory::abandon(Document& doc) {
    if (depth_ > 0 && --depth_ > 0) return;
    if (!open_) return;
    typingContinues_ = false;
    try {
        applyRecord(doc.lines, open_->changes, ApplyDirection::Undo);
    } catch (...) {
        // The changes stay; as a step they can still be taken back once memory allows.
        closeOpen(doc);
        throw;
    }
    open_->before.restore(doc);
    open_.reset();
    showState(doc);
}

void EditHistory::replaceDocument(Document& doc, DocumentContent& incoming) {
    closeOpen(doc);
    typingContinues_ = false;
    roomForOneMore(done_);
    auto old = std::make_unique<DocumentContent>();
    Step step;
    step.kind = StepKind::Replacement;
    step.before = CaretState::of(doc);
    step.id = nextId_++;
    // The incoming text is the one on disk (or a new, empty one): it starts unmodified.
    incoming.savedState = step.id;
    incoming.swapWith(doc);
    // Moved, not copied: the old document's lines go into the step as they are.
    old->lines.swap(incoming.lines);
    old->path.swap(incoming.path);
    old->format = incoming.format;
    old->disk = incoming.disk;
    old->crlf = incoming.crlf;
    old->space = incoming.space;
    old->savedState = incoming.savedState;
    step.other = std::move(old);
    step.opened = doc.disk;
    step.openedPath = doc.path;
    doc.setCaret(0, 0);
    step.after = CaretState::of(doc);
    step.endedMs = clock_();
    forget(undone_);
    step.bytes = step.memoryBytes();
    bytes_ += step.bytes;
    done_.push_back(std::move(step));
    trim();
}

bool EditHistory::undo(Document& doc) { return travel(doc, done_, undone_, ApplyDirection::Undo); }

bool EditHistory::redo(Document& doc) { return travel(doc, undone_, done_, ApplyDirection::Redo); }

bool EditHistory::travel(Document& doc, std::vector<Step>& from, std::vector<Step>& to, ApplyDirection direction) {
    closeOpen(doc);
    typingContinues_ = false;
    if (from.empty()) return false;
    // Room first: once the text has moved, the step must move too.
    roomForOneMore(to);
    Step& step = from.back();
    if (step.kind == StepKind::Replacement)
        exchange(doc, step);
    else
        applyRecord(doc.lines, step.changes, direction);
    (direction == ApplyDirection::Undo ? step.before : step.after).restore(doc);
    to.push_back(std::move(step));
    from.pop_back();
    showState(doc);
    return true;
}

void EditHistory::exchange(Document& doc, Step& step) {
    step.other->swapWith(doc);
    bytes_ -= step.bytes;
    step.bytes = step.memoryBytes();
    bytes_ += step.bytes;
}

void EditHistory::showState(Document& doc) {
    if (differsFromSaved()) {
        doc.modified = false;
        doc.markModified();
    } else {
        doc.modified = false;
        doc.setUnmodifiedTitle();
    }
}

void EditHistory::markSaved(Document& doc) {
    closeOpen(doc);
    typingContinues_ = false;
    savedState_ = state();
}

void EditHistory::describeReplacement(const CaretState& before, bool crlf, bool space) {
    if (done_.empty() || done_.back().kind != StepKind::Replacement) return;
    done_.back().before = before;
    done_.back().other->crlf = crlf;
    done_.back().other->space = space;
}

void EditHistory::noteOpened(const FileIdentity& disk) {
    if (!done_.empty() && done_.back().kind == StepKind::Replacement) done_.back().opened = disk;
}

bool EditHistory::restoreStep(Document& doc, StepKind kind, const CaretState& before, const CaretState& after,
                              ChangeRecord&& changes) {
    closeOpen(doc);
    typingContinues_ = false;
    roomForOneMore(done_);
    if (!applyRecordChecked(doc.lines, changes)) return false;
    forget(undone_);
    Step& step = done_.emplace_back();
    step.id = nextId_++;
    step.kind = kind;
    step.before = before;
    step.after = after;
    step.changes = std::move(changes);
    step.bytes = step.memoryBytes();
    bytes_ += step.bytes;
    after.restore(doc);
    trim();
    showState(doc);
    return true;
}

uint64_t EditHistory::state() const { return done_.empty() ? baseState_ : done_.back().id; }

void EditHistory::clear() {
    bool saved = !differsFromSaved();
    forget(done_);
    forget(undone_);
    open_.reset();
    depth_ = 0;
    typingContinues_ = false;
    baseState_ = nextId_++;
    if (saved) savedState_ = baseState_;
}

void EditHistory::setBudget(size_t bytes) {
    budget_ = bytes;
    trim();
}

void EditHistory::forget(std::vector<Step>& steps) {
    for (const Step& step : steps) bytes_ -= step.bytes;
    steps.clear();
}

void EditHistory::trim() {
    // The oldest steps go first, then the redo steps farthest away; one step always stays.
    size_t drop = 0;
    while (bytes_ > budget_ && done_.size() - drop + undone_.size() > 1 && drop < done_.size()) {
        bytes_ -= done_[drop].bytes;
        baseState_ = done_[drop].id;
        ++drop;
    }
    done_.erase(done_.begin(), done_.begin() + static_cast<std::ptrdiff_t>(drop));
    drop = 0;
    while (bytes_ > budget_ && done_.size() + undone_.size() - drop > 1 && drop < undone_.size()) {
        bytes_ -= undone_[drop].bytes;
        ++drop;
    }
    undone_.erase(undone_.begin(), undone_.begin() + static_cast<std::ptrdiff_t>(drop));
}
