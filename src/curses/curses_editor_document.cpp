// The curses editor's document: loading and saving, undo records, and the edits shared by
// several keys (deleting and shifting the selection, inserting lines), and keeping the caret
// in view.
#include <algorithm>
#include <cmath>

#include "curses/curses_editor.h"
#include "curses/document_text.h"
#include "platform/safe_file_writer.h"
#include "text/utf8.h"

namespace {

// Neighbouring records and line indexes searched for an equal line, nearest first.
constexpr int kRecordOrder[5] = {0, 1, -1, -2, -3};
constexpr int kLineReach = 7;
// The save is written out in pieces of about this size.
constexpr size_t kSaveChunk = 1 << 20;

int leadingSpaces(const std::string& text) {
    size_t n = 0;
    while (n < text.size() && text[n] == ' ') ++n;
    return static_cast<int>(n);
}

bool isBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

}  // namespace

int CursesEditor::init(const std::string& name) {
    file_name = name;
    lines.clear();
    undo_records.clear();
    undo_pos = -1;
    saved_pos = -1;
    std::string bytes;
    bool read = readWholeFile(file_name, bytes);
    if (read) loadLines(bytes);
    push_undo();
    saved_pos = undo_pos;
    return read ? 0 : 1;
}

void CursesEditor::loadLines(const std::string& bytes) {
    LoadedText loaded = parse_document_text(bytes, indent_size);
    lines = std::move(loaded.lines);
    write_crlf = loaded.write_crlf;
    save_tab_width = loaded.save_tab_width;
    indent_size = loaded.indent_size;
}

int CursesEditor::save_file() {
    // The new text is written beside the file and takes its place only when all of it
    // reached the disk: a failed save leaves the old file as it was.
    SafeFileWriter writer(file_name);
    if (!writer.isOpen()) return 1;
    const SaveForm form{write_crlf, save_tab_width};
    std::string chunk;
    chunk.reserve(kSaveChunk + 4096);
    for (const std::string& line : lines) {
        append_saved_line(chunk, line, form);
        if (chunk.size() >= kSaveChunk) {
            writer.write(chunk.data(), static_cast<int64_t>(chunk.size()));
            chunk.clear();
        }
    }
    if (!chunk.empty()) writer.write(chunk.data(), static_cast<int64_t>(chunk.size()));
    if (!writer.commit()) return 1;
    saved_pos = undo_pos;
    return 0;
}

void CursesEditor::note_view_before_change() {
    if (undo_pos < 0 || undo_pos >= static_cast<int>(undo_records.size())) return;
    undo_records[static_cast<size_t>(undo_pos)].view[1] = {scroll_x, cursor_x, cursor_y, pane_offset[current_pane]};
}

void CursesEditor::push_undo() {
    UndoRecord record;
    record.view[0] = record.view[1] = {scroll_x, cursor_x, cursor_y, pane_offset[current_pane]};
    record.lines.reserve(lines.size());
    const int recordCount = static_cast<int>(undo_records.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& text = lines[i];
        const SharedLineRef* found = nullptr;
        for (int r : kRecordOrder) {
            int index = undo_pos + r;
            if (index < 0 || index >= recordCount) continue;
            const std::vector<SharedLineRef>& candidates = undo_records[static_cast<size_t>(index)].lines;
            const long long size = static_cast<long long>(candidates.size());
            for (int step = 0; step <= 2 * kLineReach && !found; ++step) {
                // i, i - 1, i + 1, i - 2, i + 2, ...
                long long j = static_cast<long long>(i) + (step % 2 ? -(step + 1) / 2 : step / 2);
                if (j >= 0 && j < size && candidates[static_cast<size_t>(j)].equals(text)) found = &candidates[static_cast<size_t>(j)];
            }
            if (found) break;
        }
        if (found)
            record.lines.push_back(*found);
        else
            record.lines.emplace_back(text);
    }
    // The redo history goes.
    undo_records.erase(undo_records.begin() + (undo_pos + 1), undo_records.end());
    if (saved_pos > undo_pos) saved_pos = -1;
    if (static_cast<int>(undo_records.size()) > max_undo && undo_records.size() >= 4) {
        // Every second old record goes; the saved one stays.
        int i = 1;
        while (i < static_cast<int>(undo_records.size()) / 2) {
            if (i == saved_pos) {
                i += 2;
                continue;
            }
            undo_records.erase(undo_records.begin() + i);
            if (saved_pos > i) --saved_pos;
            ++i;
        }
    }
    undo_pos = static_cast<int>(undo_records.size());
    undo_records.push_back(std::move(record));
}

void CursesEditor::restore(const UndoRecord& record, int snapshot) {
    lines.clear();
    lines.reserve(record.lines.size());
    for (const SharedLineRef& line : record.lines) lines.push_back(line.text());
    const ViewSnapshot& view = record.view[snapshot == 0 ? 0 : 1];
    scroll_x = view.scroll_x;
    cursor_x = view.cursor_x;
    cursor_y = view.cursor_y;
    pane_offset[current_pane] = view.pane_offset;
    selecting = false;
}

void CursesEditor::delete_selection() {
    if (!selecting) return;
    TextRange r = selection();
    setCaret(r.start);
    selecting = false;
    const int n = line_count();
    if (!r.empty() && r.start.y < n) {
        const int sy = r.start.y;
        const int ey = r.end.y;
        std::string& first = lines[static_cast<size_t>(sy)];
        const size_t from = byteOffset(std::string_view(first), r.start.x);
        if (sy == ey) {
            size_t to = byteOffset(std::string_view(first), r.end.x);
            if (to > from) first.erase(from, to - from);
        } else {
            const bool endExists = ey < n;
            std::string tail;
            if (endExists) {
                const std::string& last = lines[static_cast<size_t>(ey)];
                tail = last.substr(byteOffset(std::string_view(last), r.end.x));
            }
            auto at = [&](int y) { return lines.begin() + std::min(y, n); };
            if (from == 0) {
                // The start line is covered whole: it goes with the lines between.
                if (endExists) lines[static_cast<size_t>(ey)] = std::move(tail);
                lines.erase(at(sy), at(ey));
            } else {
                // The start line keeps its head and takes the end line's remainder.
                first.erase(from);
                first += tail;
                lines.erase(at(sy + 1), at(ey + 1));
            }
        }
    }
    while (cursor_y >= line_count()) lines.emplace_back();
}

void CursesEditor::shift_selection(int amount) {
    TextRange r = selection();
    const int n = line_count();
    const int first = r.start.y;
    const bool endLeftOut = r.end.x == 0 && r.end.y > r.start.y;
    const int last = std::min(endLeftOut ? r.end.y - 1 : r.end.y, n - 1);
    if (amount < 0 && first <= last) {
        int fewest = -amount;
        for (int y = first; y <= last; ++y) fewest = std::min(fewest, leadingSpaces(lines[static_cast<size_t>(y)]));
        if (fewest > 0 && fewest < -amount) amount = -fewest;
    }
    for (int y = first; y <= last; ++y) {
        std::string& line = lines[static_cast<size_t>(y)];
        if (amount > 0)
            line.insert(0, static_cast<size_t>(amount), ' ');
        else
            line.erase(0, static_cast<size_t>(std::min(leadingSpaces(line), -amount)));
    }
    if (cursor_y >= first && cursor_y <= last) cursor_x = std::max(0, cursor_x + amount);
    selecting = true;
    sel_x1 = 0;
    sel_y1 = first;
    if (endLeftOut || last < first) {
        sel_x2 = r.end.x;
        sel_y2 = r.end.y;
    } else {
        sel_x2 = line_length(last);
        sel_y2 = last;
    }
}

void CursesEditor::insert_lines(const std::vector<std::string>& texts) {
    if (texts.empty()) return;
    cursor_y = std::max(cursor_y, 0);
    while (cursor_y >= line_count()) lines.emplace_back();
    std::vector<std::string> parts = texts;
    std::string& line = lines[static_cast<size_t>(cursor_y)];
    const size_t split = byteOffset(std::string_view(line), cursor_x);
    std::string head = line.substr(0, split);
    std::string tail = line.substr(split);
    if (parts.size() >= 2 && cursor_x != 0) {
        // The block keeps its shape at the caret line's indentation.
        int common = 1024;
        bool anyText = false;
        for (const std::string& part : parts) {
            if (isBlank(part)) continue;
            anyText = true;
            common = std::min(common, leadingSpaces(part));
        }
        if (!anyText) common = 0;
        const std::string indent(static_cast<size_t>(leadingSpaces(line)), ' ');
        for (size_t i = 0; i < parts.size(); ++i) {
            parts[i].erase(0, static_cast<size_t>(std::min(common, leadingSpaces(parts[i]))));
            if (i > 0) parts[i].insert(0, indent);
        }
    }
    if (parts.size() == 1) {
        line = head + parts[0];
        cursor_x = charCount(std::string_view(line));
        line += tail;
        return;
    }
    line = head + parts[0];
    std::vector<std::string> added(parts.begin() + 1, parts.end());
    cursor_x = charCount(std::string_view(added.back()));
    added.back() += tail;
    const int y = cursor_y;
    lines.insert(lines.begin() + (y + 1), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    cursor_y = y + static_cast<int>(parts.size()) - 1;
}

void CursesEditor::set_cursor(bool vertical, double center) {
    cursor_y = std::clamp(cursor_y, 0, line_count());
    const int length = line_length(cursor_y);
    if (vertical) {
        if (wanted_x >= 0) cursor_x = wanted_x;
        wanted_x = cursor_x;
    } else if (cursor_x <= length) {
        wanted_x = -1;
    }
    cursor_x = std::clamp(cursor_x, 0, length);

    bool scrolled = false;
    const int width = std::max(1, screen.cols - 3);
    if (cursor_x < scroll_x) {
        scroll_x = cursor_x;
        scrolled = true;
    }
    if (cursor_x >= scroll_x + width) {
        scroll_x = cursor_x - width + 1;
        scrolled = true;
    }
    const int rows = pane(current_pane).rows;
    int& offset = pane_offset[current_pane];
    int wanted = offset;
    if (center >= 0 && center < 1) {
        wanted = std::max(0, cursor_y - static_cast<int>(std::trunc(rows * center)));
    } else if (cursor_y < offset) {
        wanted = cursor_y;
    } else if (rows > 0 && cursor_y >= offset + rows) {
        wanted = cursor_y - rows + 1;
    }
    if (wanted != offset) {
        offset = wanted;
        scrolled = true;
    }
    if (scrolled) draw(-1);
    draw_status();
    place_screen_cursor();
}
