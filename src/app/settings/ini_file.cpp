#include "app/settings/ini_file.h"

#include <climits>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kNewLine = "\r\n";

std::string_view trim(std::string_view text) {
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// One line of the file: where it starts, its text without the line end, and the full
// length including the line end.
struct Line {
    size_t start;
    std::string_view content;
    size_t fullLength;
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        size_t next = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view content = text.substr(pos, (end == std::string_view::npos ? text.size() : end) - pos);
        if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
        lines.push_back({pos, content, next - pos});
        pos = next;
    }
    return lines;
}

// The section name of a "[name]" line.
std::optional<std::string_view> sectionName(std::string_view content) {
    std::string_view line = trim(content);
    if (line.empty() || line.front() != '[') return std::nullopt;
    size_t close = line.find(']');
    if (close == std::string_view::npos) return trim(line.substr(1));
    return trim(line.substr(1, close - 1));
}

bool isComment(std::string_view content) {
    std::string_view line = trim(content);
    return !line.empty() && line.front() == ';';
}

// The key of a "key=value" line.
std::optional<std::string_view> keyName(std::string_view content) {
    if (isComment(content)) return std::nullopt;
    size_t equals = content.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return trim(content.substr(0, equals));
}

struct Location {
    std::optional<size_t> section;  // index of the section's header line
    std::optional<size_t> key;      // index of the key's line
    size_t lastEntry = 0;           // last non-blank line of the section
};

Location locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Location where;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (auto name = sectionName(lines[i].content)) {
            if (where.section) break;  // the section ended
            if (sameName(*name, section)) where.section = where.lastEntry = i;
            continue;
        }
        if (!where.section) continue;
        if (!trim(lines[i].content).empty()) where.lastEntry = i;
        auto name = keyName(lines[i].content);
        if (name && sameName(*name, key)) {
            where.key = i;
            break;
        }
    }
    return where;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::string();
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

std::optional<std::string> iniFindValue(std::string_view text, std::string_view section, std::string_view key) {
    std::vector<Line> lines = splitLines(text);
    Location where = locate(lines, section, key);
    if (!where.key) return std::nullopt;
    std::string_view content = lines[*where.key].content;
    std::string_view value = trim(content.substr(content.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

int iniParseInt(std::string_view value, int defaultValue) {
    size_t pos = value.find_first_not_of(kBlanks);
    if (pos == std::string_view::npos) return defaultValue;
    bool negative = false;
    if (value[pos] == '+' || value[pos] == '-') negative = value[pos++] == '-';
    long long number = 0;
    size_t digits = 0;
    for (; pos < value.size() && value[pos] >= '0' && value[pos] <= '9'; ++pos, ++digits) {
        if (number <= INT_MAX) number = number * 10 + (value[pos] - '0');
    }
    if (digits == 0) return 0;  // a value that is there but not a number reads as 0, as on Windows
    if (negative) number = -number;
    if (number > INT_MAX) return INT_MAX;
    if (number < INT_MIN) return INT_MIN;
    return static_cast<int>(number);
}

std::string iniWithValue(std::string_view text, std::string_view section, std::string_view key,
                           std::string_view value) {
    std::vector<Line> lines = splitLines(text);
    Location where = locate(lines, section, key);
    std::string result(text);
    if (where.key) {
        const Line& line = lines[*where.key];
        std::string replacement = std::string(*keyName(line.content)) + "=" + std::string(value);
        result.replace(line.start, line.content.size(), replacement);
        return result;
    }
    std::string entry = std::string(key) + "=" + std::string(value) + std::string(kNewLine);
    if (where.section) {
        const Line& last = lines[where.lastEntry];
        size_t insertAt = last.start + last.fullLength;
        // Only a line feed ends a line: a last line without one gets it first (after a lone
        // CR, the CR becomes part of the line end it starts).
        char lastByte = text[last.start + last.fullLength - 1];
        if (lastByte == '\r')
            entry.insert(0, "\n");
        else if (lastByte != '\n')
            entry.insert(0, kNewLine);
        result.insert(insertAt, entry);
        return result;
    }
    if (!result.empty() && result.back() == '\r') result += '\n';
    if (!result.empty() && result.back() != '\n') result += kNewLine;
    result.append(1, '[').append(section).append(1, ']').append(kNewLine).append(entry);
    return result;
}

int iniGetInt(const std::string& path, std::string_view section, std::string_view key, int defaultValue) {
    std::optional<std::string> value = iniFindValue(readFile(path), section, key);
    return value ? iniParseInt(*value, defaultValue) : defaultValue;
}

bool iniSetString(const std::string& path, std::string_view section, std::string_view key, std::string_view value) {
    std::string updated = iniWithValue(readFile(path), section, key, value);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << updated;
    return static_cast<bool>(out.flush());
}
