#pragma once
// Which bytes of which file a document's text was read from or written to: enough to tell
// later that the file still holds them (a recovery record needs them unchanged) or that
// another program changed it (a save would write over its work).
#include <cstdint>

#include "platform/file_io.h"
#include "platform/file_stamp.h"
#include "text/fast_hash.h"

struct FileIdentity {
    bool known = false;  // the text was read from, or written to, the file as it is below
    FileStamp stamp;
    uint64_t hash = 0;  // of the file's bytes
    // Reading the file gives back the text exactly. Not so after a save with LF line ends of a
    // line that ends in CR: read back, that CR and the LF make one line end.
    bool holdsText = true;
    bool operator==(const FileIdentity&) const = default;
};

// A source that fingerprints the bytes it hands on.
class HashingSource final : public ByteSource {
public:
    explicit HashingSource(ByteSource& inner) : inner_(inner) {}
    int64_t size() override { return inner_.size(); }
    int64_t read(void* buffer, int64_t n) override {
        int64_t got = inner_.read(buffer, n);
        if (got > 0) hash_.update(buffer, static_cast<size_t>(got));
        return got;
    }
    bool failed() const override { return inner_.failed(); }
    uint64_t digest() const { return hash_.digest(); }

private:
    ByteSource& inner_;
    FastHash hash_;
};

// A sink that fingerprints the bytes it passes on.
class HashingSink final : public ByteSink {
public:
    explicit HashingSink(ByteSink& inner) : inner_(inner) {}
    int64_t write(const void* bytes, int64_t n) override {
        if (n > 0) hash_.update(bytes, static_cast<size_t>(n));
        return inner_.write(bytes, n);
    }
    uint64_t digest() const { return hash_.digest(); }

private:
    ByteSink& inner_;
    FastHash hash_;
};
