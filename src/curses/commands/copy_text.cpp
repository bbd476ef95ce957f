#include "curses/commands/copy_text.h"

#include "curses/commands/line_text.h"
#include "text/utf8.h"

namespace {

struct LineRange {
    size_t from = 0;
    size_t to = 0;
};

class SelectedLines {
public:
    SelectedLines(const std::vector<std::string>& lines, const TextRange& range) : lines_(lines), range_(range) {}

    const std::string& at(int y) const {
        static const std::string none;
        return y >= 0 && y < static_cast<int>(lines_.size()) ? lines_[static_cast<size_t>(y)] : none;
    }
    // The bytes of line y inside the selection.
    LineRange part(int y) const {
        const std::string& line = at(y);
        return {y == range_.start.line ? byteOffset(std::string_view(line), range_.start.column) : 0,
                y == range_.end.line ? byteOffset(std::string_view(line), range_.end.column) : line.size()};
    }

private:
    const std::vector<std::string>& lines_;
    const TextRange& range_;
};

// A block that starts after column 0 keeps its shape when the later lines are indented at
// least as far as the first.
bool keepsShape(const SelectedLines& selected, const TextRange& r, size_t indent) {
    if (r.end.line <= r.start.line || r.start.column <= 0) return false;
    for (int y = r.start.line + 1; y <= r.end.line; ++y) {
        const size_t to = selected.part(y).to;
        const size_t spaces = leadingSpaces(selected.at(y), to);
        if (spaces != to && spaces < indent) return false;  // lines of only spaces do not count
    }
    return true;
}

}  // namespace

std::string copiedText(const std::vector<std::string>& lines, const TextRange& r, int save_tab_width) {
    const SelectedLines selected(lines, r);
    const size_t indent = leadingSpaces(selected.at(r.start.line));
    const bool keepShape = keepsShape(selected, r, indent);
    const size_t tabWidth = static_cast<size_t>(save_tab_width > 0 ? save_tab_width : 0);
    std::string out;
    for (int y = r.start.line; y <= r.end.line; ++y) {
        const std::string& line = selected.at(y);
        if (y > r.start.line) out += "\r\n";
        auto [from, to] = selected.part(y);
        if (y == r.start.line && keepShape) {
            out.append(indent, ' ');
            while (from < to && line[from] == ' ') ++from;
        }
        if (to <= from) continue;
        if (from == 0 && tabWidth > 0) {
            const size_t groups = leadingSpaces(line, to) / tabWidth;
            out.append(groups, '\t');
            from = groups * tabWidth;
        }
        out.append(line, from, to - from);
    }
    return out;
}
