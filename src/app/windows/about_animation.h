#pragma once
// The about window's animation without the window: where each credit line stands in a
// frame, when the scroll ends, and the fade that starts it over.
#include <cstddef>
#include <vector>

struct CreditPlacement {
    int index = 0;  // into the credits table
    int top = 0;    // band top in frame pixels: where the line is drawn
};

class AboutAnimation {
public:
    // separators: the indexes of the empty lines, ascending.
    AboutAnimation(int lineCount, std::vector<int> separators);

    struct Frame {
        std::vector<CreditPlacement> lines;
        int alpha = 255;  // of the text colour
    };
    // One tick: the lines to draw in this frame (the first frame also fixes the end point),
    // then the scroll or fade advances for the next one.
    Frame frame();

    int scroll() const { return scroll_; }
    int fadeLevel() const { return fade_; }
    int endPoint() const { return endPoint_; }

private:
    int lineCount_;
    std::vector<int> separators_;
    int scroll_ = 0;
    int fade_ = 255;
    int endPoint_ = 0;
    bool firstFrame_ = true;
};

// The empty lines of a table.
template <typename Lines>
std::vector<int> separatorIndexes(const Lines& lines) {
    std::vector<int> out;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i)
        if (lines[static_cast<size_t>(i)].empty()) out.push_back(i);
    return out;
}
