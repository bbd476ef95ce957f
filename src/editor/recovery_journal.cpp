#include "editor/recovery_journal.h"

#include <algorithm>

namespace recovery {

namespace {

// A record that grows past the document by this much is written anew, as the document itself
// when that is smaller than its steps.
constexpr size_t kLeastRecordBytes = size_t{1} << 20;

uint64_t stateAt(const Document& doc, size_t index) {
    return index == 0 ? doc.history.baseState() : doc.history.doneSteps()[index - 1].id;
}

DocumentStart fileStart(const std::string& path, const FileIdentity& disk, const FileFormat& format, bool crlf, bool space) {
    DocumentStart start;
    start.kind = DocumentStart::Kind::File;
    start.path = path;
    start.identity = disk;
    start.format = format;
    start.crlf = crlf;
    start.space = space;
    return start;
}

Entry pushEntry(const Step& step) {
    Entry entry;
    entry.kind = Entry::Kind::Push;
    entry.step = step.kind;
    entry.before = step.before;
    entry.after = step.after;
    if (step.kind == StepKind::Replacement) {
        if (step.opened.known) entry.start = fileStart(step.openedPath, step.opened, {}, true, true);
        entry.replacedCrlf = step.other->crlf;
        entry.replacedSpace = step.other->space;
    } else {
        entry.changes = step.changes.toBytes();
    }
    return entry;
}

size_t textBytes(const Document& doc) {
    size_t bytes = 0;
    for (int i = 0; i < doc.lineCount(); ++i) bytes += doc.lines.length(i) + 1;
    return bytes;
}

}  // namespace

bool recordNeeded(const Document& doc) { return doc.history.differsFromSaved(); }

StartPoint findStart(const Document& doc) {
    const std::vector<Step>& done = doc.history.doneSteps();
    // The document current at the state looked at: its save point and what it was saved as.
    struct Holder {
        uint64_t saved;
        const FileIdentity* disk;
        const std::string* path;
        FileFormat format;
        bool crlf, space;
    } holder{doc.history.savedState(), &doc.disk, &doc.path, doc.format, doc.crlf, doc.space};
    // The unsaved document that the highest New or Open replaced: a start with its text serves
    // when nothing below it is known.
    StartPoint fallback;
    for (size_t i = done.size();; --i) {
        if (stateAt(doc, i) == holder.saved && holder.disk->known && holder.disk->holdsText)
            return {true, i, fileStart(*holder.path, *holder.disk, holder.format, holder.crlf, holder.space)};
        if (i >= 1 && done[i - 1].kind == StepKind::Replacement) {
            const Step& replacement = done[i - 1];
            const DocumentContent& replaced = *replacement.other;
            // A record can only open again a file that still holds what was opened: one saved
            // over since cannot serve.
            if (replacement.opened.known && !(*holder.disk == replacement.opened)) return fallback;
            if (replaced.savedState == stateAt(doc, i - 1)) {
                // What New or Open replaced was saved: the record can start at the new document.
                if (!replacement.opened.known) return {true, i, {}};
                return {true, i, fileStart(replacement.openedPath, replacement.opened, {}, true, true)};
            }
            // It held unsaved text, which Ctrl+Z brings back: the record reaches down into it.
            if (!fallback.found) {
                fallback = {true, i - 1, {}, &replaced.lines};
                fallback.start.kind = DocumentStart::Kind::Text;
                fallback.start.path = replaced.path;
                fallback.start.format = replaced.format;
                fallback.start.crlf = replaced.crlf;
                fallback.start.space = replaced.space;
            }
            holder = {replaced.savedState, &replaced.disk, &replaced.path, replaced.format, replaced.crlf, replaced.space};
        }
        if (i == 0) return fallback;
    }
}

std::string wholeText(const LineList& lines) {
    size_t bytes = 0;
    for (int i = 0; i < lines.count(); ++i) bytes += lines.length(i) + 1;
    std::string text;
    text.reserve(bytes);
    for (int i = 0; i < lines.count(); ++i) {
        if (i > 0) text.push_back('\0');
        text.append(lines.view(i));
    }
    return text;
}

std::string Journal::stateEntry(const Document& doc) const {
    Entry entry;
    entry.kind = Entry::Kind::State;
    entry.caret = CaretState::of(doc);
    entry.crlf = doc.crlf;
    entry.space = doc.space;
    entry.path = doc.path;
    entry.format = doc.format;
    return encode(entry);
}

void Journal::forget() {
    exists_ = false;
    steps_.clear();
    written_ = 0;
    lastState_.clear();
}

Update Journal::rewrite(const Document& doc) {
    const std::vector<Step>& done = doc.history.doneSteps();
    StartPoint point = findStart(doc);
    std::string out = header();
    std::vector<uint64_t> steps;
    // The size of the file stands for the text's (measuring the text itself would walk every
    // line); a new document's text is measured.
    size_t docBytes = doc.disk.known ? static_cast<size_t>(std::max<int64_t>(doc.disk.stamp.size, 0)) : textBytes(doc);
    size_t limit = std::max(docBytes, kLeastRecordBytes);
    if (point.found) {
        Entry entry;
        entry.kind = Entry::Kind::Base;
        entry.start = point.start;
        if (point.textOf) entry.start.text = wholeText(*point.textOf);
        out += encode(entry);
        for (size_t j = point.index; j < done.size() && out.size() <= limit; ++j) {
            out += encode(pushEntry(done[j]));
            steps.push_back(done[j].id);
        }
    }
    startsWithText_ = !point.found || out.size() > limit;
    base_ = startsWithText_ ? doc.history.state() : stateAt(doc, point.index);
    if (startsWithText_) {
        // No known start, or the steps outweigh the text: the record holds the text itself.
        Entry entry;
        entry.kind = Entry::Kind::Base;
        entry.start.kind = DocumentStart::Kind::Text;
        entry.start.path = doc.path;
        entry.start.format = doc.format;
        entry.start.crlf = doc.crlf;
        entry.start.space = doc.space;
        entry.start.text = wholeText(doc.lines);
        out = header() + encode(entry);
        steps.clear();
    }
    lastState_ = stateEntry(doc);
    out += lastState_;
    exists_ = true;
    steps_ = std::move(steps);
    written_ = out.size();
    limit_ = std::max(limit, 2 * written_);
    return {Update::Action::Rewrite, std::move(out)};
}

Update Journal::update(const Document& doc) {
    const std::vector<Step>& done = doc.history.doneSteps();
    if (!recordNeeded(doc)) {
        // The text is the one on disk (or a new, empty one), with nothing unsaved behind it.
        if (!exists_) return {};
        forget();
        return {Update::Action::Remove, {}};
    }
    if (!exists_) return rewrite(doc);
    StartPoint point = findStart(doc);
    // The record must start where it would start if written now: a save (or a save that will
    // not read back as written) moves that place, and the file there is another file then.
    bool sameStart = point.found ? !startsWithText_ && stateAt(doc, point.index) == base_ : startsWithText_;
    if (!sameStart) return rewrite(doc);
    size_t baseIndex = done.size() + 1;
    for (size_t i = 0; i <= done.size(); ++i) {
        if (stateAt(doc, i) == base_) {
            baseIndex = i;
            break;
        }
    }
    // The text went back below where the record starts (or those steps are gone).
    if (baseIndex > done.size()) return rewrite(doc);
    size_t kept = 0;
    while (kept < steps_.size() && baseIndex + kept < done.size() && steps_[kept] == done[baseIndex + kept].id) ++kept;
    std::string bytes;
    Entry pop;
    pop.kind = Entry::Kind::Pop;
    for (size_t k = kept; k < steps_.size(); ++k) bytes += encode(pop);
    steps_.resize(kept);
    for (size_t j = baseIndex + kept; j < done.size(); ++j) {
        bytes += encode(pushEntry(done[j]));
        steps_.push_back(done[j].id);
    }
    std::string state = stateEntry(doc);
    if (state != lastState_ || !bytes.empty()) {
        bytes += state;
        lastState_ = std::move(state);
    }
    if (bytes.empty()) return {};
    written_ += bytes.size();
    if (written_ > limit_) return rewrite(doc);
    return {Update::Action::Append, std::move(bytes)};
}

}  // namespace recovery
