#pragma once
// The credits the about window scrolls: 71 lines in groups, an empty line between groups.
#include <string>
#include <vector>

inline constexpr int kCreditLineCount = 71;

struct CreditsTable {
    std::vector<std::string> lines;        // exactly kCreditLineCount
    std::vector<std::string> alternative;  // per line: the form shown while Ctrl is held, or empty
};

// The table for this build: its version, build time and source revision.
CreditsTable aboutCredits(const std::string& buildTimestamp, const std::string& revision);
