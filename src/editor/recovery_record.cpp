#include "editor/recovery_record.h"

#include "text/fast_hash.h"

namespace recovery {

namespace {

constexpr std::string_view kMagic = "Orvane recovery record 1\n";

class Writer {
public:
    void byte(uint8_t b) { out.push_back(static_cast<char>(b)); }
    void number(uint64_t v) {
        while (v >= 0x80) {
            byte(static_cast<uint8_t>((v & 0x7F) | 0x80));
            v >>= 7;
        }
        byte(static_cast<uint8_t>(v));
    }
    void signedNumber(int64_t v) { number((static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63)); }
    void text(std::string_view t) {
        number(t.size());
        out.append(t);
    }
    void fixed64(uint64_t v) {
        for (int i = 0; i < 8; ++i) byte(static_cast<uint8_t>(v >> (8 * i)));
    }
    void caret(const CaretState& c) {
        for (int v : {c.caretColumn, c.caretLine, c.screenColumn, c.screenRow, c.anchor.column, c.anchor.line,
                      c.selectionStart.column, c.selectionStart.line, c.selectionEnd.column, c.selectionEnd.line})
            signedNumber(v);
        byte(c.selectionActive ? 1 : 0);
    }
    void format(const FileFormat& f) {
        byte(static_cast<uint8_t>(f.encoding));
        byte(f.holdsNul ? 1 : 0);
    }
    void start(const DocumentStart& s) {
        byte(static_cast<uint8_t>(s.kind));
        text(s.path);
        format(s.format);
        byte(s.crlf ? 1 : 0);
        byte(s.space ? 1 : 0);
        if (s.kind == DocumentStart::Kind::File) {
            signedNumber(s.identity.stamp.size);
            signedNumber(s.identity.stamp.lastWrite);
            fixed64(s.identity.hash);
        }
        if (s.kind == DocumentStart::Kind::Text) text(s.text);
    }

    std::string out;
};

class Reader {
public:
    explicit Reader(std::string_view in) : in_(in) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return at_ == in_.size(); }

    uint8_t byte() {
        if (at_ >= in_.size()) return fail(), 0;
        return static_cast<uint8_t>(in_[at_++]);
    }
    uint64_t number() {
        uint64_t v = 0;
        for (int shift = 0; shift < 64 && ok_; shift += 7) {
            uint8_t b = byte();
            v |= static_cast<uint64_t>(b & 0x7F) << shift;
            if (!(b & 0x80)) return v;
        }
        return fail(), 0;
    }
    int64_t signedNumber() {
        uint64_t v = number();
        return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
    }
    int integer() {
        int64_t v = signedNumber();
        if (v < INT32_MIN || v > INT32_MAX) return fail(), 0;
        return static_cast<int>(v);
    }
    bool flag() {
        uint8_t b = byte();
        if (b > 1) fail();
        return b == 1;
    }
    std::string_view view(uint64_t n) {
        if (!ok_ || n > in_.size() - at_) return fail(), std::string_view();
        std::string_view t = in_.substr(at_, static_cast<size_t>(n));
        at_ += static_cast<size_t>(n);
        return t;
    }
    std::string text() { return std::string(view(number())); }
    uint64_t fixed64() {
        uint64_t v = 0;
        for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(byte()) << (8 * i);
        return v;
    }
    CaretState caret() {
        CaretState c;
        c.caretColumn = integer();
        c.caretLine = integer();
        c.screenColumn = integer();
        c.screenRow = integer();
        c.anchor.column = integer();
        c.anchor.line = integer();
        c.selectionStart.column = integer();
        c.selectionStart.line = integer();
        c.selectionEnd.column = integer();
        c.selectionEnd.line = integer();
        c.selectionActive = flag();
        return c;
    }
    FileFormat format() {
        FileFormat f;
        uint8_t encoding = byte();
        if (encoding > static_cast<uint8_t>(TextEncoding::Utf16BE)) fail();
        f.encoding = static_cast<TextEncoding>(encoding);
        f.holdsNul = flag();
        return f;
    }
    DocumentStart start() {
        DocumentStart s;
        uint8_t kind = byte();
        if (kind > static_cast<uint8_t>(DocumentStart::Kind::Text)) fail();
        s.kind = static_cast<DocumentStart::Kind>(kind);
        s.path = text();
        s.format = format();
        s.crlf = flag();
        s.space = flag();
        if (s.kind == DocumentStart::Kind::File) {
            s.identity.known = true;
            s.identity.stamp.exists = true;
            s.identity.stamp.size = signedNumber();
            s.identity.stamp.lastWrite = signedNumber();
            s.identity.hash = fixed64();
        }
        if (s.kind == DocumentStart::Kind::Text) s.text = text();
        return s;
    }

private:
    void fail() { ok_ = false; }

    std::string_view in_;
    size_t at_ = 0;
    bool ok_ = true;
};

uint64_t checksum(std::string_view bytes) {
    FastHash hash;
    hash.update(bytes.data(), bytes.size());
    return hash.digest();
}

bool decodeBody(Entry::Kind kind, Reader& in, Entry& entry) {
    entry.kind = kind;
    switch (kind) {
    case Entry::Kind::Base: entry.start = in.start(); break;
    case Entry::Kind::Push: {
        uint8_t step = in.byte();
        if (step > static_cast<uint8_t>(StepKind::Replacement)) return false;
        entry.step = static_cast<StepKind>(step);
        entry.before = in.caret();
        entry.after = in.caret();
        if (entry.step == StepKind::Replacement) {
            entry.start = in.start();
            entry.replacedCrlf = in.flag();
            entry.replacedSpace = in.flag();
        } else {
            entry.changes = in.text();
        }
        break;
    }
    case Entry::Kind::Pop: break;
    case Entry::Kind::State:
        entry.caret = in.caret();
        entry.crlf = in.flag();
        entry.space = in.flag();
        entry.path = in.text();
        entry.format = in.format();
        break;
    default: return false;
    }
    return in.ok() && in.atEnd();
}

}  // namespace

std::string header() { return std::string(kMagic); }

std::string encode(const Entry& entry) {
    Writer body;
    body.byte(static_cast<uint8_t>(entry.kind));
    switch (entry.kind) {
    case Entry::Kind::Base: body.start(entry.start); break;
    case Entry::Kind::Push:
        body.byte(static_cast<uint8_t>(entry.step));
        body.caret(entry.before);
        body.caret(entry.after);
        if (entry.step == StepKind::Replacement) {
            body.start(entry.start);
            body.byte(entry.replacedCrlf ? 1 : 0);
            body.byte(entry.replacedSpace ? 1 : 0);
        } else {
            body.text(entry.changes);
        }
        break;
    case Entry::Kind::Pop: break;
    case Entry::Kind::State:
        body.caret(entry.caret);
        body.byte(entry.crlf ? 1 : 0);
        body.byte(entry.space ? 1 : 0);
        body.text(entry.path);
        body.format(entry.format);
        break;
    }
    // Length first, so a reader can step over an entry; checksum last, so a torn write shows.
    Writer out;
    out.number(body.out.size());
    out.out.append(body.out);
    out.fixed64(checksum(body.out));
    return std::move(out.out);
}

Parsed parse(std::string_view bytes) {
    Parsed parsed;
    if (bytes.substr(0, kMagic.size()) != kMagic) {
        parsed.damaged = !bytes.empty();
        return parsed;
    }
    Reader in(bytes.substr(kMagic.size()));
    while (!in.atEnd()) {
        std::string_view body = in.view(in.number());
        uint64_t sum = in.fixed64();
        Entry entry;
        if (!in.ok() || body.empty() || sum != checksum(body)) break;
        Reader fields(body.substr(1));
        if (!decodeBody(static_cast<Entry::Kind>(static_cast<uint8_t>(body[0])), fields, entry)) break;
        parsed.entries.push_back(std::move(entry));
    }
    parsed.damaged = !in.ok() || !in.atEnd();
    return parsed;
}

}  // namespace recovery
