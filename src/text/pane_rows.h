#pragma once
// The rows one pane of a character-cell screen covers: the screen paints it, the editor
// draws into it and finds its caret in it.
struct PaneRows {
    int top = 0;
    int rows = 0;
    bool contains(int row) const { return rows > 0 && row >= top && row < top + rows; }
};
