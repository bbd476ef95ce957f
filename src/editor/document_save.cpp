// Writing the document's lines back with the chosen line end.
#include "editor/document_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "editor/byte_scan.h"
#include "editor/document.h"
#include "editor/file_identity.h"
#include "editor/transfer_progress.h"
#include "editor/write_behind.h"
#include "platform/file_io.h"
#include "platform/safe_file_writer.h"
#include "text/utf16.h"

namespace {

constexpr size_t kWriteStep = size_t{1} << 20;
constexpr size_t kTextStep = size_t{1} << 14;  // writeDocumentText's pieces
// From this many lines on, a save's pieces are written on a second thread.
constexpr int kWriteBehindFromLines = 65536;

}  // namespace

namespace {

// Gathers the text of a save into large pieces, so the writer sees few calls whatever the
// line count. The pieces are put together in the memory of the sink they go to.
class SaveBuffer {
public:
    static constexpr size_t kSlack = 64;
    // step: the size of the pieces the writer is given; the sink's pieces must have kSlack
    // bytes of room beyond it.
    SaveBuffer(bool crlf, size_t step) : crlf_(crlf), step_(step) {}
    static size_t pieceBytes(size_t step) { return step + kSlack; }

    void attach(PieceSink& pieces) {
        pieces_ = &pieces;
        piece_ = pieces.room();
    }
    // One line and its line end.
    void line(const char* text, size_t length) {
        noteEnd(text, length);
        if (used_ + length + 2 > step_) {
            put(text, length);
            put(crlf_ ? "\r\n" : "\n", crlf_ ? 2 : 1);
            return;
        }
        std::memcpy(piece_ + used_, text, length);
        used_ += length;
        if (crlf_) piece_[used_++] = '\r';
        piece_[used_++] = '\n';
    }
    // Where the next bytes go, and the last place where a short line may still be copied as
    // one block of kSlack bytes (the buffer has kSlack bytes of room beyond its step).
    char* cursor() { return piece_ + used_; }
    char* shortLineLimit() { return piece_ + step_ - kSlack - 2; }
    void setCursor(char* at) { used_ = static_cast<size_t>(at - piece_); }
    bool crlf() const { return crlf_; }
    // A line that ends in CR, written with an LF line end, reads back as a different text:
    // the CR and the LF make one line end. Noted on the way, so no second pass is needed.
    void noteEnd(const char* text, size_t length) {
        if (length > 0 && text[length - 1] == '\r') endsInCr_ = true;
    }
    // Loading the bytes written so far gives back the same lines.
    bool readsBackAsWritten() const { return crlf_ || !endsInCr_; }
    void finish() {
        if (!used_) return;
        pieces_->handOn(used_);
        handedOn_ += used_;
        used_ = 0;
        piece_ = pieces_->room();
    }
    // The bytes given to the writer so far.
    int64_t handedOn() const { return static_cast<int64_t>(handedOn_); }

private:
    void put(const char* bytes, size_t n) {
        while (n > 0) {
            if (used_ == step_) finish();
            size_t take = std::min(n, step_ - used_);
            std::memcpy(piece_ + used_, bytes, take);
            used_ += take;
            bytes += take;
            n -= take;
        }
    }

    PieceSink* pieces_ = nullptr;
    char* piece_ = nullptr;  // the room of the piece being put together
    bool crlf_;
    size_t step_;
    size_t used_ = 0;
    size_t handedOn_ = 0;
    bool endsInCr_ = false;
};

// Turns the document's UTF-8 text into the file's encoding on its way to the file: UTF-8
// passes through; UTF-16 starts with its mark and is converted a piece at a time (a character
// cut between two pieces waits for the rest). Takes its memory when made.
class EncodingSink final : public ByteSink {
public:
    // step: the most the save buffer hands on at once.
    EncodingSink(TextEncoding encoding, size_t step) : encoding_(encoding) {
        if (encoding_ != TextEncoding::Utf8) converted_.reserve(2 * (step + SaveBuffer::kSlack) + 64);
    }
    void attach(ByteSink& file) {
        file_ = &file;
        if (encoding_ == TextEncoding::Utf16LE) file_->write("\xFF\xFE", 2);
        if (encoding_ == TextEncoding::Utf16BE) file_->write("\xFE\xFF", 2);
    }
    int64_t write(const void* bytes, int64_t n) override {
        if (encoding_ == TextEncoding::Utf8) return file_->write(bytes, n);
        std::string_view text(static_cast<const char*>(bytes), static_cast<size_t>(n));
        converted_.clear();
        if (!held_.empty()) {
            // The held bytes with enough of the new ones to finish their character.
            const size_t held = held_.size();
            held_.append(text.substr(0, kBorrow));
            size_t done = appendUtf16Bytes(held_, order(), false, converted_);
            if (done < held) {
                held_.erase(0, done);  // this piece was too short to finish it
                text = {};
            } else {
                text.remove_prefix(done - held);
                held_.clear();
            }
        }
        size_t done = appendUtf16Bytes(text, order(), false, converted_);
        held_.append(text.substr(done));
        file_->write(converted_.data(), static_cast<int64_t>(converted_.size()));
        return n;
    }
    // What is still held goes out as it is shown.
    void finish() {
        if (held_.empty()) return;
        converted_.clear();
        appendUtf16Bytes(held_, order(), true, converted_);
        held_.clear();
        file_->write(converted_.data(), static_cast<int64_t>(converted_.size()));
    }

private:
    static constexpr size_t kBorrow = 8;  // more than the longest character
    ByteOrder order() const {
        return encoding_ == TextEncoding::Utf16BE ? ByteOrder::BigEndian : ByteOrder::LittleEndian;
    }

    TextEncoding encoding_;
    ByteSink* file_ = nullptr;
    std::string converted_;
    std::string held_;
};

// Writes lines [first, last], one stretch of a shared block, without measuring each line on
// its own: one pass over the stretch finds the terminators, and a line's text ends at the
// first terminator at or after its start (the others are bytes no line shows).
void saveStretch(const LineList& lines, int first, int last, SaveBuffer& out) {
    const char* begin = lines.at(first);
    const char* end = lines.at(last) + lines.length(last) + 1;  // the last line's terminator too
    constexpr ptrdiff_t kSlack = static_cast<ptrdiff_t>(SaveBuffer::kSlack);
    int k = first;
    const char* start = begin;  // line k
    // Locals, so the stores of the text cannot make the compiler reload them. A short line
    // that may be read kSlack bytes on is copied as one fixed-size block, without a loop that
    // ends at a different place every time.
    char* to = out.cursor();
    char* limit = out.shortLineLimit();
    const bool crlf = out.crlf();
    forEachByte(begin, static_cast<size_t>(end - begin), '\0', [&](size_t at) {
        const char* nul = begin + at;
        if (k > last || nul < start) return;  // bytes that no line shows
        ptrdiff_t length = nul - start;
        if (length <= kSlack && to <= limit && end - start > kSlack) {
            out.noteEnd(start, static_cast<size_t>(length));
            std::memcpy(to, start, static_cast<size_t>(kSlack));
            to += length;
            if (crlf) *to++ = '\r';
            *to++ = '\n';
        } else {
            out.setCursor(to);
            out.line(start, static_cast<size_t>(length));
            // The line may have finished a piece: the next one has memory of its own.
            to = out.cursor();
            limit = out.shortLineLimit();
        }
        if (++k <= last) start = lines.at(k);
    });
    out.setCursor(to);
    for (; k <= last; ++k) {
        std::string_view text = lines.view(k);
        out.line(text.data(), text.size());
    }
}

}  // namespace

namespace {

void writeLines(const Document& document, SaveBuffer& out, TransferProgress* progress = nullptr) {
    const LineList& lines = document.lines;
    const int count = lines.count();
    for (int i = 0; i < count;) {
        int last = lines.stretchEnd(i, count - 1, kWriteStep);
        if (last > i) {
            saveStretch(lines, i, last, out);
        } else {
            std::string_view text = lines.view(i);
            out.line(text.data(), text.size());
        }
        i = last + 1;
        // A save goes on whatever the answer: the file is only replaced once all of it is there.
        if (progress) progress->advanced({out.handedOn(), 0, static_cast<double>(i) / count});
    }
    out.finish();
}

SaveOutcome saveTo(Document& document, const std::string& path, TransferProgress* progress) {
    if (path.empty()) return {};
    // The memory comes first, so that running out of it touches no file.
    SaveBuffer out(document.crlf, kWriteStep);
    EncodingSink encoded(document.format.encoding, kWriteStep);
    // A long document's pieces go to the file on a second thread while the next is put together.
    WriteBehind behind(encoded, SaveBuffer::pieceBytes(kWriteStep), document.lineCount() >= kWriteBehindFromLines);
    // The new text goes beside the file and replaces it only once all of it is on the disk.
    SafeFileWriter writer(path);
    if (!writer.isOpen()) return {SaveResult::NotSaved, writer.error(), {}};
    HashingSink hashed(writer);
    encoded.attach(hashed);
    out.attach(behind);
    writeLines(document, out, progress);
    behind.finish();
    encoded.finish();
    if (!writer.commit())
        return {writer.targetDamaged() ? SaveResult::FailedInPlace : SaveResult::NotSaved, writer.error(),
                writer.keptCopy()};
    document.path = path;
    // The file now holds exactly the text: nothing of it is out of reach any more.
    document.format.holdsNul = false;
    document.format.malformedUtf16 = false;
    document.setSavedTitle();
    document.modified = false;
    document.disk = {true, fileStamp(document.path), hashed.digest(), out.readsBackAsWritten()};
    document.history.markSaved(document);
    return {SaveResult::Saved, FileError::None, {}};
}

}  // namespace

void writeDocumentText(const Document& document, ByteSink& sink) {
    // Pieces of a smaller size give the same bytes, with less memory taken at once.
    SaveBuffer out(document.crlf, kTextStep);
    EncodingSink encoded(document.format.encoding, kTextStep);
    PieceBuffer pieces(encoded, SaveBuffer::pieceBytes(kTextStep));
    encoded.attach(sink);
    out.attach(pieces);
    writeLines(document, out);
    encoded.finish();
}

SaveOutcome saveDocument(Document& document, TransferProgress* progress) {
    // Saving over the file would cut out the bytes that the lines do not hold.
    if (document.format.keepsBytesTheLinesCannot()) return {SaveResult::RefusedNul, FileError::None, {}};
    return saveTo(document, document.path, progress);
}

SaveOutcome saveDocumentAs(Document& document, const std::string& path, TransferProgress* progress) {
    if (document.format.keepsBytesTheLinesCannot() && !document.path.empty() &&
        file_system::sameFile(path, document.path))
        return {SaveResult::RefusedNul, FileError::None, {}};
    return saveTo(document, path, progress);
}
