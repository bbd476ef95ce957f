#pragma once
// Undo keeps the whole document in every record, but records share equal lines: a
// SharedLine lives as long as some record refers to it.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

struct SharedLine {
    std::string text;
    size_t length = 0;
    int refs = 0;
};

// One counted reference to a SharedLine.
class SharedLineRef {
public:
    SharedLineRef() = default;
    explicit SharedLineRef(std::string text) : line_(new SharedLine{std::move(text), 0, 1}) {
        line_->length = line_->text.size();
    }
    SharedLineRef(const SharedLineRef& other) : line_(other.line_) {
        if (line_) ++line_->refs;
    }
    SharedLineRef(SharedLineRef&& other) noexcept : line_(std::exchange(other.line_, nullptr)) {}
    SharedLineRef& operator=(SharedLineRef other) noexcept {
        std::swap(line_, other.line_);
        return *this;
    }
    ~SharedLineRef() {
        if (line_ && --line_->refs == 0) delete line_;
    }

    const SharedLine* get() const { return line_; }
    const std::string& text() const { return line_->text; }
    bool equals(const std::string& text) const {
        return line_->length == text.size() && line_->text.compare(0, line_->length, text) == 0;
    }

private:
    SharedLine* line_ = nullptr;
};

// The view around a change: horizontal scroll, caret and the current pane's first line.
struct ViewSnapshot {
    int scroll_x = 0;
    int cursor_x = 0;
    int cursor_y = 0;
    int pane_offset = 0;
};

struct UndoRecord {
    std::vector<SharedLineRef> lines;
    // 0: right after the change that made the record; 1: just before the next change.
    ViewSnapshot view[2];
};
