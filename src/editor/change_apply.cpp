#include "editor/change_apply.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

size_t breaksIn(std::string_view text) { return static_cast<size_t>(std::count(text.begin(), text.end(), kLineBreak)); }

// Records of more changes than this, none of them breaking lines, are carried out a line at a
// time: each changed line is built once and written in batches of neighbouring lines. Fewer
// changes are carried out one by one where they are.
constexpr size_t kLineAtATime = 16;

}  // namespace

PreparedChange::PreparedChange(LineList& lines, const Change& change)
    : lines_(lines), line_(change.line), byte_(change.byte) {
    std::string_view text = lines.view(line_);
    if (line_ < 0 || line_ >= lines.count() || byte_ > text.size()) {
        // Not a change of these lines: there is nothing it could do.
        done_ = true;
        return;
    }
    const size_t removedBreaks = breaksIn(change.removed);
    linesRemoved_ = static_cast<int>(std::min<size_t>(removedBreaks, static_cast<size_t>(lines.count() - 1 - line_)));
    const size_t insertedBreaks = breaksIn(change.inserted);
    if (removedBreaks == 0 && insertedBreaks == 0) {
        removedInLine_ = std::min(change.removed.size(), text.size() - byte_);
        first_.assign(change.inserted);
        lines.reserveSplice(line_, byte_, removedInLine_, first_.size());
        return;
    }
    // The rest of the last line the change reaches goes behind the last inserted piece.
    std::string_view last = lines.view(line_ + linesRemoved_);
    size_t endByte = removedBreaks == 0 ? byte_ + change.removed.size()
                                        : change.removed.size() - change.removed.rfind(kLineBreak) - 1;
    std::string_view tail = last.substr(std::min(endByte, last.size()));
    removedInLine_ = text.size() - byte_;

    size_t firstBreak = change.inserted.find(kLineBreak);
    first_.assign(change.inserted.substr(0, firstBreak));
    if (firstBreak == std::string_view::npos) {
        first_.append(tail);
    } else {
        std::string_view rest = change.inserted.substr(firstBreak + 1);
        following_.reserve(rest.size() + tail.size(), insertedBreaks);
        for (;;) {
            size_t cut = rest.find(kLineBreak);
            if (cut == std::string_view::npos) break;
            following_.add(rest.substr(0, cut));
            rest.remove_prefix(cut + 1);
        }
        char* out = following_.addUninitialized(rest.size() + tail.size());
        std::copy(rest.begin(), rest.end(), out);
        std::copy(tail.begin(), tail.end(), out + rest.size());
        lines.reserve(static_cast<size_t>(lines.count()) - static_cast<size_t>(linesRemoved_) + insertedBreaks);
        lines.reserveBlocks(1);
    }
    lines.reserveSplice(line_, byte_, removedInLine_, first_.size());
}

void PreparedChange::commit() {
    if (done_) return;
    done_ = true;
    lines_.splice(line_, byte_, removedInLine_, first_.data(), first_.size());
    if (linesRemoved_ > 0) lines_.removeRange(line_ + 1, linesRemoved_);
    if (!following_.empty()) lines_.insert(line_ + 1, std::move(following_));
}

void applyChange(LineList& lines, const Change& change) {
    PreparedChange prepared(lines, change);
    prepared.commit();
}

namespace {

// The changes to carry out on one line's text, in order, all within that line, written to
// out. The caller reuses out from line to line: an allocation per line is what made undoing
// a change of millions of lines slow where the system's allocator is slow.
void rebuildLine(std::string_view text, const std::vector<Change>& ops, std::string& out) {
    bool ascending = true, descending = true;
    for (size_t j = 1; j < ops.size(); ++j) {
        ascending = ascending && ops[j].byte >= ops[j - 1].byte + ops[j - 1].inserted.size();
        descending = descending && ops[j].byte + ops[j].removed.size() <= ops[j - 1].byte;
    }
    out.clear();
    size_t cursor = 0;
    auto copyUpTo = [&](size_t at) {
        at = std::clamp(at, cursor, text.size());
        out.append(text.substr(cursor, at - cursor));
        cursor = at;
    };
    auto replaceAt = [&](size_t at, const Change& op) {
        copyUpTo(at);
        out.append(op.inserted);
        cursor = std::min(cursor + op.removed.size(), text.size());
    };
    if (ascending) {
        // Each change lies behind the result of the one before: one pass, positions shifted
        // back by what the earlier changes added.
        int64_t shift = 0;
        for (const Change& op : ops) {
            replaceAt(static_cast<size_t>(std::max<int64_t>(static_cast<int64_t>(op.byte) - shift, 0)), op);
            shift += static_cast<int64_t>(op.inserted.size()) - static_cast<int64_t>(op.removed.size());
        }
    } else if (descending) {
        // Each change lies before the one before it, so all name places in the text as it is.
        for (size_t j = ops.size(); j-- > 0;) replaceAt(ops[j].byte, ops[j]);
    } else {
        out.assign(text);
        for (const Change& op : ops) {
            size_t at = std::min(op.byte, out.size());
            out.replace(at, std::min(op.removed.size(), out.size() - at), op.inserted);
        }
        return;
    }
    copyUpTo(text.size());
}

// Neighbouring lines, built anew and written in one step. Unchanged lines in short gaps between
// changed ones join the run as they are, so a change of many scattered lines makes a few large
// blocks rather than one per line.
struct LineRun {
    int first = 0;
    int count = 0;
    size_t bytes = 0;
    LineBatch batch;
};

constexpr size_t kRunBytes = size_t{4} << 20;
constexpr size_t kGapBytes = 4096;
constexpr size_t kLongRun = size_t{64} << 10;

class RunBuilder {
public:
    explicit RunBuilder(const LineList& lines) : lines_(lines) {}

    // The new text of line index; lines must come in rising order.
    void add(int index, std::string_view text) {
        if (runs_.empty() || !bridge(index)) {
            if (!runs_.empty()) runs_.back().batch.trim();
            runs_.push_back({index, 0, 0, {}});
        }
        put(text);
    }
    std::vector<LineRun>& runs() {
        if (!runs_.empty()) runs_.back().batch.trim();
        return runs_;
    }

private:
    // Takes the unchanged lines up to index into the current run, if they are few enough.
    bool bridge(int index) {
        LineRun& run = runs_.back();
        int next = run.first + run.count;
        if (index < next || run.bytes > kRunBytes) return false;
        size_t gap = 0;
        for (int k = next; k < index; ++k) {
            gap += lines_.length(k);
            if (gap > kGapBytes) return false;
        }
        for (int k = next; k < index; ++k) put(lines_.view(k));
        return true;
    }
    void put(std::string_view text) {
        LineRun& run = runs_.back();
        // A run that is going to be long gets its whole room at once: growing it step by step
        // copies it and touches fresh memory again at every step where the system's
        // reallocation cannot grow in place.
        if (run.bytes < kLongRun && run.bytes + text.size() + 1 >= kLongRun) run.batch.reserve(kRunBytes, 0);
        run.batch.add(text);
        run.bytes += text.size() + 1;
        ++run.count;
    }

    const LineList& lines_;
    std::vector<LineRun> runs_;
};

void applyLineByLine(LineList& lines, const ChangeRecord& record, ApplyDirection direction) {
    // Every new line is built before any is written, so memory running out changes nothing.
    RunBuilder builder(lines);
    std::vector<Change> group;
    std::vector<Change> ops;
    std::string rebuilt;
    int groupLine = -1;
    auto finishGroup = [&] {
        if (group.empty() || groupLine < 0 || groupLine >= lines.count()) return group.clear();
        ops.clear();
        if (direction == ApplyDirection::Redo) {
            ops = group;
        } else {
            for (size_t j = group.size(); j-- > 0;) ops.push_back(group[j].inverse());
        }
        rebuildLine(lines.view(groupLine), ops, rebuilt);
        builder.add(groupLine, rebuilt);
        group.clear();
    };
    record.forEach([&](const Change& change) {
        if (change.line != groupLine) {
            finishGroup();
            groupLine = change.line;
        }
        group.push_back(change);
    });
    finishGroup();
    std::vector<LineRun>& runs = builder.runs();
    lines.reserveBlocks(runs.size());
    for (LineRun& run : runs) lines.replace(run.first, std::move(run.batch));
}

void applyOneByOne(LineList& lines, const ChangeRecord& record, ApplyDirection direction) {
    std::vector<Change> changes;
    changes.reserve(record.count());
    if (direction == ApplyDirection::Redo)
        record.forEach([&](const Change& change) { changes.push_back(change); });
    else
        record.forEachReversed([&](const Change& change) { changes.push_back(change.inverse()); });
    size_t done = 0;
    try {
        for (; done < changes.size(); ++done) applyChange(lines, changes[done]);
    } catch (...) {
        // Back to where the record began: what was carried out is taken back.
        while (done-- > 0) applyChange(lines, changes[done].inverse());
        throw;
    }
}

}  // namespace

void applyRecord(LineList& lines, const ChangeRecord& record, ApplyDirection direction) {
    if (record.linesInOrder() && record.count() > kLineAtATime)
        applyLineByLine(lines, record, direction);
    else
        applyOneByOne(lines, record, direction);
}

bool textAt(const LineList& lines, int line, size_t byte, std::string_view text) {
    for (;;) {
        if (line < 0 || line >= lines.count()) return false;
        std::string_view current = lines.view(line);
        if (byte > current.size()) return false;
        size_t cut = text.find(kLineBreak);
        std::string_view piece = text.substr(0, cut);
        if (cut == std::string_view::npos) return current.substr(byte, piece.size()) == piece;
        // A piece before a line break runs to the end of its line.
        if (current.substr(byte) != piece) return false;
        text.remove_prefix(cut + 1);
        ++line;
        byte = 0;
    }
}

bool applyRecordChecked(LineList& lines, const ChangeRecord& record) {
    std::vector<Change> changes;
    changes.reserve(record.count());
    record.forEach([&](const Change& change) { changes.push_back(change); });
    size_t done = 0;
    try {
        for (; done < changes.size(); ++done) {
            const Change& change = changes[done];
            if (!textAt(lines, change.line, change.byte, change.removed)) break;
            applyChange(lines, change);
        }
    } catch (...) {
        while (done-- > 0) applyChange(lines, changes[done].inverse());
        throw;
    }
    if (done == changes.size()) return true;
    while (done-- > 0) applyChange(lines, changes[done].inverse());
    return false;
}
