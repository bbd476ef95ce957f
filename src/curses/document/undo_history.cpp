// Undo records: the whole document in each, sharing equal lines with the records around it,
// with the view right after the change and just before the next one.
#include "curses/editor/curses_editor.h"

namespace {

// Neighbouring records and line indexes searched for an equal line, nearest first.
constexpr int kRecordOrder[5] = {0, 1, -1, -2, -3};
constexpr int kLineReach = 7;

// An equal line of the records near pos, or null.
const SharedLineRef* sharedLine(const UndoHistory& history, size_t i, const std::string& text) {
    const int recordCount = static_cast<int>(history.records.size());
    for (int r : kRecordOrder) {
        const int index = history.pos + r;
        if (index < 0 || index >= recordCount) continue;
        const std::vector<SharedLineRef>& candidates = history.records[static_cast<size_t>(index)].lines;
        const long long size = static_cast<long long>(candidates.size());
        for (int step = 0; step <= 2 * kLineReach; ++step) {
            // i, i - 1, i + 1, i - 2, i + 2, ...
            const long long j = static_cast<long long>(i) + (step % 2 ? -(step + 1) / 2 : step / 2);
            if (j >= 0 && j < size && candidates[static_cast<size_t>(j)].equals(text)) return &candidates[static_cast<size_t>(j)];
        }
    }
    return nullptr;
}

// Past max_undo records, every second old record goes; the saved one stays.
void thin(UndoHistory& history) {
    std::vector<UndoRecord>& records = history.records;
    if (static_cast<int>(records.size()) <= history.max_undo || records.size() < 4) return;
    int i = 1;
    while (i < static_cast<int>(records.size()) / 2) {
        if (i == history.saved_pos) {
            i += 2;
            continue;
        }
        records.erase(records.begin() + i);
        if (history.saved_pos > i) --history.saved_pos;
        ++i;
    }
}

}  // namespace

void CursesEditor::note_view_before_change() {
    if (history.pos < 0 || history.pos >= static_cast<int>(history.records.size())) return;
    history.records[static_cast<size_t>(history.pos)].view[1] = {view.scroll_x, view.cursor_x, view.cursor_y,
                                                                 panes.pane_offset[panes.current_pane]};
}

void CursesEditor::push_undo() {
    UndoRecord record;
    record.view[0] = record.view[1] = {view.scroll_x, view.cursor_x, view.cursor_y, panes.pane_offset[panes.current_pane]};
    record.lines.reserve(doc.lines.size());
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        const SharedLineRef* found = sharedLine(history, i, doc.lines[i]);
        if (found)
            record.lines.push_back(*found);
        else
            record.lines.emplace_back(doc.lines[i]);
    }
    // The redo history goes.
    history.records.erase(history.records.begin() + (history.pos + 1), history.records.end());
    if (history.saved_pos > history.pos) history.saved_pos = -1;
    thin(history);
    history.pos = static_cast<int>(history.records.size());
    history.records.push_back(std::move(record));
}

void CursesEditor::restore(const UndoRecord& record, int snapshot) {
    doc.lines.clear();
    doc.lines.reserve(record.lines.size());
    for (const SharedLineRef& line : record.lines) doc.lines.push_back(line.text());
    const ViewSnapshot& shot = record.view[snapshot == 0 ? 0 : 1];
    view.scroll_x = shot.scroll_x;
    view.cursor_x = shot.cursor_x;
    view.cursor_y = shot.cursor_y;
    panes.pane_offset[panes.current_pane] = shot.pane_offset;
    sel.selecting = false;
}
