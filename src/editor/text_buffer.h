#pragma once
// A growable heap byte string that is always NUL-terminated. Growth happens in steps of a
// fixed granularity; when an allocation fails the old contents stay as they were and the
// operation reports false.
#include <cstdarg>
#include <cstddef>

class TextBuffer {
public:
    static constexpr size_t npos = static_cast<size_t>(-1);

    explicit TextBuffer(size_t granularity = 128);
    ~TextBuffer();
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    TextBuffer(TextBuffer&& other) noexcept;
    TextBuffer& operator=(TextBuffer&& other) noexcept;

    const char* c_str() const { return data_ ? data_ : ""; }
    char* data() { return data_; }
    size_t size() const { return length_; }
    bool empty() const { return length_ == 0; }

    // Copies at most n bytes of text (up to its NUL when n is npos).
    bool set(const char* text, size_t n = npos);
    bool append(const char* text, size_t n = npos);
    // Inserts at byte position pos, limited to the current length.
    bool insert(size_t pos, const char* text, size_t n = npos);
    // Removes n bytes from pos; both are limited to the current length.
    void erase(size_t pos, size_t n);
    void clear();
    // printf-style formatting, cut so the result stays within maxLength bytes.
    bool setFormat(size_t maxLength, const char* format, ...);
    bool appendFormat(size_t maxLength, const char* format, ...);
    // Makes room for at least n bytes plus the terminator.
    bool reserve(size_t n);

private:
    bool appendFormatV(size_t maxLength, const char* format, va_list args);

    char* data_ = nullptr;
    size_t length_ = 0;
    size_t capacity_ = 0;
    size_t granularity_;
};
