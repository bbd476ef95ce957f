#include "editor/text_buffer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

TextBuffer::TextBuffer(size_t granularity) : granularity_(granularity ? granularity : 1) {}

TextBuffer::~TextBuffer() { std::free(data_); }

TextBuffer::TextBuffer(TextBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      length_(std::exchange(other.length_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      granularity_(other.granularity_) {}

TextBuffer& TextBuffer::operator=(TextBuffer&& other) noexcept {
    if (this != &other) {
        std::free(data_);
        data_ = std::exchange(other.data_, nullptr);
        length_ = std::exchange(other.length_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        granularity_ = other.granularity_;
    }
    return *this;
}

bool TextBuffer::reserve(size_t n) {
    if (n == npos) return false;
    if (data_ && n + 1 <= capacity_) return true;
    size_t wanted = (n + 1 + granularity_ - 1) / granularity_ * granularity_;
    char* grown = static_cast<char*>(std::realloc(data_, wanted));
    if (!grown) return false;
    if (!data_) grown[0] = '\0';
    data_ = grown;
    capacity_ = wanted;
    return true;
}

static size_t boundedLength(const char* text, size_t n) {
    if (!text) return 0;
    if (n == TextBuffer::npos) return std::strlen(text);
    const void* nul = std::memchr(text, '\0', n);
    return nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : n;
}

bool TextBuffer::set(const char* text, size_t n) {
    size_t len = boundedLength(text, n);
    if (!reserve(len)) return false;
    if (len) std::memmove(data_, text, len);
    length_ = len;
    data_[length_] = '\0';
    return true;
}

bool TextBuffer::append(const char* text, size_t n) {
    return insert(length_, text, n);
}

bool TextBuffer::insert(size_t pos, const char* text, size_t n) {
    size_t len = boundedLength(text, n);
    if (pos > length_) pos = length_;
    if (length_ + len < length_ || !reserve(length_ + len)) return false;
    std::memmove(data_ + pos + len, data_ + pos, length_ - pos);
    if (len) std::memmove(data_ + pos, text, len);
    length_ += len;
    data_[length_] = '\0';
    return true;
}

void TextBuffer::erase(size_t pos, size_t n) {
    if (pos >= length_) return;
    if (n > length_ - pos) n = length_ - pos;
    std::memmove(data_ + pos, data_ + pos + n, length_ - pos - n);
    length_ -= n;
    data_[length_] = '\0';
}

void TextBuffer::clear() {
    length_ = 0;
    if (data_) data_[0] = '\0';
}

bool TextBuffer::appendFormatV(size_t maxLength, const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) return false;
    size_t room = length_ < maxLength ? maxLength - length_ : 0;
    size_t take = static_cast<size_t>(needed) < room ? static_cast<size_t>(needed) : room;
    if (!reserve(length_ + static_cast<size_t>(needed))) return false;
    std::vsnprintf(data_ + length_, static_cast<size_t>(needed) + 1, format, args);
    length_ += take;
    data_[length_] = '\0';
    return true;
}

bool TextBuffer::setFormat(size_t maxLength, const char* format, ...) {
    TextBuffer fresh(granularity_);
    va_list args;
    va_start(args, format);
    bool ok = fresh.appendFormatV(maxLength, format, args);
    va_end(args);
    if (ok) *this = std::move(fresh);
    return ok;
}

bool TextBuffer::appendFormat(size_t maxLength, const char* format, ...) {
    va_list args;
    va_start(args, format);
    bool ok = appendFormatV(maxLength, format, args);
    va_end(args);
    return ok;
}
