#include "editor/text_edits.h"

#include <cstring>
#include <optional>
#include <string>

#include "editor/change_apply.h"

namespace edits {

namespace {

// Writes into the record, then takes the memory, then changes the lines: a failure before the
// last part leaves the record and the lines as they were.
template <typename Write, typename Prepare, typename Commit>
void recordThenApply(Document& doc, Write&& write, Prepare&& prepare, Commit&& commit) {
    ChangeRecord& record = doc.history.record(doc);
    ChangeRecord::Mark mark = record.mark();
    try {
        write(record);
        prepare();
    } catch (...) {
        record.truncate(mark);
        throw;
    }
    commit();
}

}  // namespace

void change(Document& doc, const Change& change) {
    std::optional<PreparedChange> prepared;
    recordThenApply(
        doc, [&](ChangeRecord& record) { record.add(change); }, [&] { prepared.emplace(doc.lines, change); },
        [&] { prepared->commit(); });
}

void splice(Document& doc, int line, size_t pos, size_t erase, std::string_view text) {
    std::string_view current = doc.lines.view(line);
    pos = std::min(pos, current.size());
    erase = std::min(erase, current.size() - pos);
    change(doc, {line, pos, current.substr(pos, erase), text});
}

void breakLine(Document& doc, int line, size_t pos) {
    static constexpr char kBreak[1] = {kLineBreak};
    change(doc, {line, pos, {}, std::string_view(kBreak, 1)});
}

void joinWithNext(Document& doc, int line) {
    static constexpr char kBreak[1] = {kLineBreak};
    change(doc, {line, doc.lines.length(line), std::string_view(kBreak, 1), {}});
}

void eraseRange(Document& doc, int line, size_t pos, int endLine, size_t endPos) {
    if (endLine == line) {
        splice(doc, line, pos, endPos > pos ? endPos - pos : 0, {});
        return;
    }
    std::string removed(doc.lines.view(line).substr(pos));
    for (int index = line + 1; index <= endLine; ++index) {
        removed.push_back(kLineBreak);
        std::string_view text = doc.lines.view(index);
        removed.append(index == endLine ? text.substr(0, std::min(endPos, text.size())) : text);
    }
    change(doc, {line, pos, removed, {}});
}

void prefixLines(Document& doc, int first, int last, char unit, size_t units) {
    if (first > last) return;
    // Every prefixed line is written once into one new block that replaces them all.
    LineBatch batch;
    const std::string prefix(units, unit);
    recordThenApply(
        doc,
        [&](ChangeRecord& record) {
            for (int index = first; index <= last; ++index) record.add({index, 0, {}, prefix});
        },
        [&] {
            size_t bytes = 0;
            for (int index = first; index <= last; ++index) bytes += doc.lines.length(index) + units;
            batch.reserve(bytes, static_cast<size_t>(last - first + 1));
            for (int index = first; index <= last; ++index) {
                std::string_view text = doc.lines.view(index);
                char* out = batch.addUninitialized(units + text.size());
                std::memset(out, unit, units);
                std::memcpy(out + units, text.data(), text.size());
            }
            doc.lines.reserveBlocks(1);
        },
        [&] { doc.lines.replace(first, std::move(batch)); });
}

void rewriteLine(Document& doc, int line, std::string_view text, const ChangeRecord& changes) {
    recordThenApply(
        doc, [&](ChangeRecord& record) { record.append(changes); },
        [&] { doc.lines.reserveLine(line, text.size()); },
        [&] { doc.lines.replace(line, text.data(), text.size()); });
}

}  // namespace edits
