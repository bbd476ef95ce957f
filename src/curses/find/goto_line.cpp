// Enter in the go-to prompt: an absolute line number, or one relative to the caret with + or -.
#include <algorithm>
#include <climits>

#include "curses/editor/curses_editor.h"

void CursesEditor::goto_line() {
    PaintBatch batch(*this);
    const std::string& input = shared().goto_buffer;
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < input.size() && (input[i] == ' ' || input[i] == '\t')) ++i;
    };
    skipBlanks();
    int sign = 0;
    if (i < input.size() && (input[i] == '+' || input[i] == '-')) sign = input[i++] == '+' ? 1 : -1;
    skipBlanks();
    long long number = 0;
    while (i < input.size() && input[i] >= '0' && input[i] <= '9') {
        number = std::min<long long>(number * 10 + (input[i] - '0'), INT_MAX);
        ++i;
    }
    if (number > 0) {
        long long target = sign ? view.cursor_y + sign * number : number - 1;
        target = std::clamp<long long>(target, 0, line_count());
        view.cursor_y = static_cast<int>(target);
        view.cursor_x = line_length(view.cursor_y);
        sel.selecting = false;
    }
    settleCaret(true);
}
