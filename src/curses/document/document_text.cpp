#include "curses/document/document_text.h"

#include <algorithm>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Leading spaces beyond this in any line mean the file is not indented with tabs.
constexpr int kMostSpacesAfterTabs = 7;
constexpr int kNarrowestTabWidth = 5;

// The indentation survey: tab mode is on when some line starts with a tab, and given up for
// the file when a line has a tab after spaces or more than seven leading spaces.
class IndentSurvey {
public:
    void look(std::string_view line) {
        if (gaveUp_) return;
        size_t i = 0;
        if (!line.empty() && line[0] == '\t') {
            tabMode_ = true;
            while (i < line.size() && line[i] == '\t') ++i;
        }
        size_t spacesStart = i;
        while (i < line.size() && line[i] == ' ') ++i;
        int spaces = static_cast<int>(i - spacesStart);
        if ((i < line.size() && line[i] == '\t') || spaces > kMostSpacesAfterTabs) {
            gaveUp_ = true;
            return;
        }
        widest_ = std::max(widest_, spaces + 1);
    }
    // The tab width when the file is tab-indented, else 0.
    int tabWidth() const { return tabMode_ && !gaveUp_ ? widest_ : 0; }

private:
    bool tabMode_ = false;
    bool gaveUp_ = false;
    int widest_ = kNarrowestTabWidth;
};

}  // namespace

LoadedText parse_document_text(std::string_view bytes, int indent_size) {
    LoadedText out;
    std::vector<std::string_view> raw;
    IndentSurvey survey;
    long long crCount = 0;
    size_t pos = 0;
    bool first = true;
    while (pos < bytes.size()) {
        size_t lf = bytes.find('\n', pos);
        size_t end = lf == std::string_view::npos ? bytes.size() : lf + 1;
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end;
        if (first) {
            first = false;
            if (line.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
                line.remove_prefix(kByteOrderMark.size());
                if (line.empty()) break;
            }
        }
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
            if (line.back() == '\r') ++crCount;
            line.remove_suffix(1);
        }
        survey.look(line);
        raw.push_back(line);
    }
    out.save_tab_width = survey.tabWidth();
    out.indent_size = out.save_tab_width > 0 ? out.save_tab_width : indent_size;
    const std::string tabSpaces(static_cast<size_t>(std::max(out.indent_size, 0)), ' ');
    out.lines.reserve(raw.size());
    for (std::string_view line : raw) {
        if (line.find('\t') == std::string_view::npos) {
            out.lines.emplace_back(line);
            continue;
        }
        std::string expanded;
        expanded.reserve(line.size() + 8);
        for (char c : line) {
            if (c == '\t')
                expanded += tabSpaces;
            else
                expanded += c;
        }
        out.lines.push_back(std::move(expanded));
    }
    out.write_crlf = crCount > static_cast<long long>(out.lines.size() / 2);
    return out;
}

void append_saved_line(std::string& out, const std::string& line, SaveForm form) {
    size_t rest = 0;
    if (form.tab_width > 0 && !line.empty()) {
        size_t spaces = 0;
        while (spaces < line.size() && line[spaces] == ' ') ++spaces;
        size_t groups = spaces / static_cast<size_t>(form.tab_width);
        out.append(groups, '\t');
        rest = groups * static_cast<size_t>(form.tab_width);
    }
    out.append(line, rest, std::string::npos);
    if (form.crlf) out += '\r';
    out += '\n';
}
