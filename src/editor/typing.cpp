#include "editor/typing.h"

#include "editor/commands.h"

void TypingState::type(Document& doc, unsigned unit) {
    text_.clear();
    joiner_.feed(static_cast<char16_t>(unit & 0xFFFF), text_);
    if (!text_.empty()) insertText(doc, text_.c_str());
}

void TypingState::flush(Document& doc) {
    text_.clear();
    joiner_.flush(text_);
    if (!text_.empty()) insertText(doc, text_.c_str());
}
