#include "app/windows/switch_entries.h"

#include <algorithm>

std::string switchLabel(const std::string& title) {
    for (size_t at = title.find("- "); at != std::string::npos; at = title.find("- ", at + 1))
        if (at + 2 < title.size()) return title.substr(at + 2);
    return title;
}

bool switchLabelLess(const std::string& a, const std::string& b) {
    auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return fold(static_cast<unsigned char>(x)) < fold(static_cast<unsigned char>(y)); });
}
