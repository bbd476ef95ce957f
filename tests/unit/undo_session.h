#pragma once
// A session of every command of the main editor, driven by bytes, that checks undo and redo
// after every command: each undo gives the text as it was after the step before and the caret,
// selection and scroll from before the step taken back; each redo gives the text, caret and
// selection from right after its step. Shared by the property test and the fuzz target.
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "editor/commands.h"
#include "editor/document.h"
#include "editor/document_file.h"
#include "editor/find.h"
#include "editor/key_map.h"
#include "editor/typing.h"
#include "fake_document_host.h"
#include "memory_source.h"
#include "platform/file_io.h"

namespace undo_session {

struct TextState {
    std::vector<std::string> lines;
    std::string path;
    bool operator==(const TextState&) const = default;
};

// Bytes in, bytes out: the input is consumed a byte at a time, 0 when it runs out.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    bool done() const { return at_ >= size_; }
    // A text of up to maxLength bytes: ASCII, multi-byte, malformed, blanks.
    std::string text(size_t maxLength) {
        static const char* const kPieces[] = {"a", "b", " ", "\t", "x y", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                                              "\xC3", "\x80", "\xED\xA0\x80", "\xFF", "ab", "\r", "bb", "a b"};
        std::string out;
        size_t n = next() % (maxLength + 1);
        while (out.size() < n) out += kPieces[next() % 16];
        return out;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// A file's bytes: lines of the pieces above, some empty, some long, LF or CR LF.
inline std::string fileBytes(Bytes& in) {
    std::string file;
    int lines = in.next() % 9;
    for (int i = 0; i < lines; ++i) {
        uint8_t shape = in.next();
        if (shape % 5 == 0) {
            // empty line
        } else if (shape % 7 == 0) {
            file += std::string(300 + shape, 'L');
        } else {
            file += in.text(24);
        }
        file += shape & 1 ? "\r\n" : "\n";
    }
    if (in.next() & 1) file += in.text(8);  // a last line without a line end
    return file;
}

inline int64_t fakeNow = 0;
inline int64_t fakeClock() { return fakeNow; }

class Session {
public:
    // onDisk: files are written to the folder and opened from there (else read from memory).
    explicit Session(const std::string& folder, bool onDisk = false) : folder_(folder), onDisk_(onDisk) {
        view_.cellWidth = 8;
        view_.cellHeight = 9;
        view_.clientRect = {0, 0, 160, 90};  // a small window, so commands scroll
        doc_.history.setClock(fakeClock);
        doc_.tabSize = 2;
    }

    Document& doc() { return doc_; }
    bool failed() const { return !failure_.empty(); }
    // What went wrong, with the commands that led there.
    std::string failure() const {
        std::string out = failure_ + "\n";
        for (const std::string& line : log_) out += "  " + line + "\n";
        return out;
    }

    // Loads a document from the bytes and forgets the history, as a start with a file does.
    void start(Bytes& in) {
        load(in, "start.txt");
        doc_.history.clear();
        loaded_ = text();
        after_[doc_.history.state()] = {loaded_, CaretState::of(doc_)};
    }

    void step(Bytes& in) {
        fakeNow += in.next() % 4 == 0 ? 1500 : 100;
        note("step");
        const uint64_t stateBefore = doc_.history.state();
        const size_t undoCountBefore = doc_.history.undoCount();
        const CaretState caretBefore = CaretState::of(doc_);
        const uint8_t op = in.next();
        note("op " + std::to_string(op % 16) + "/" + std::to_string((op / 16) % 8));
        if (op % 16 == 0) {
            doc_.history.undo(doc_);
            if (doc_.history.state() != stateBefore) {
                expectText(after_[doc_.history.state()].text, "undo");
                expectCaret(before_[stateBefore], "undo");
            }
        } else if (op % 16 == 1) {
            bool redone = doc_.history.redo(doc_);
            if (redone) {
                expectText(after_[doc_.history.state()].text, "redo");
                expectCaret(after_[doc_.history.state()].caret, "redo");
            }
        } else {
            command(op, in);
            const uint64_t state = doc_.history.state();
            if (state != stateBefore) {
                // A typed character that joined the word before it continues that step.
                bool joined = doc_.history.undoCount() == undoCountBefore;
                before_[state] = joined ? before_[stateBefore] : caretBefore;
                after_[state] = {text(), CaretState::of(doc_)};
            } else {
                expectText(after_[state].text, "a command that changed nothing");
            }
        }
        note("done");
        if (doc_.modified != doc_.history.differsFromSaved()) fail("the modified flag does not follow the text");
        if (!host_.titles.empty() && host_.titles.back() != expectedTitle()) fail("the title does not follow the text");
    }

    // Undo everything, checking each step, then redo everything.
    void unwindAndReplay() {
        const size_t redoable = doc_.history.redoCount();
        std::vector<uint64_t> undone;
        while (doc_.history.canUndo()) {
            uint64_t state = doc_.history.state();
            doc_.history.undo(doc_);
            note("undo all");
            undone.push_back(state);
            expectText(after_[doc_.history.state()].text, "undo all");
            expectCaret(before_[state], "undo all");
        }
        // The loaded text, with the caret and selection from before the first step.
        expectText(loaded_, "undo to the start");
        for (size_t i = undone.size(); i-- > 0;) {
            doc_.history.redo(doc_);
            if (doc_.history.state() != undone[i]) fail("redo reached another state");
            expectText(after_[undone[i]].text, "redo all");
            expectCaret(after_[undone[i]].caret, "redo all");
        }
        if (doc_.history.redoCount() != redoable) fail("redo left other steps to redo than before");
    }

private:
    struct After {
        TextState text;
        CaretState caret;
    };

    std::string expectedTitle() const {
        std::string name = fileNamePart(doc_.path);
        if (doc_.modified) return "Orvane - *" + name;
        return doc_.path.empty() ? "Orvane - *" : "Orvane - " + name;
    }

    TextState text() const {
        TextState state{{}, doc_.path};
        for (int i = 0; i < doc_.lineCount(); ++i) state.lines.emplace_back(doc_.lines.view(i));
        return state;
    }

    void note(const std::string& what) {
        const ViewState& v = doc_.view();
        log_.push_back(what + " -> state " + std::to_string(doc_.history.state()) + " caret " +
                       std::to_string(v.caretColumn) + "," + std::to_string(v.caretLine) + " screen " +
                       std::to_string(v.screenColumn) + "," + std::to_string(v.screenRow) +
                       (doc_.selectionActive ? " selecting" : "") + " lines " + std::to_string(doc_.lineCount()));
        if (log_.size() > 40) log_.erase(log_.begin());
    }

    void fail(const std::string& what) {
        if (failure_.empty()) failure_ = what;
    }
    void expectText(const TextState& expected, const char* when) {
        if (text() != expected) fail(std::string("text differs after ") + when);
    }
    void expectCaret(const CaretState& expected, const char* when) {
        if (CaretState::of(doc_) != expected) fail(std::string("caret, selection or scroll differ after ") + when);
    }

    void load(Bytes& in, const std::string& name) {
        std::string bytes = fileBytes(in);
        if (onDisk_) {
            // Every file opened is a file of its own on disk, as a recovery record needs it.
            std::string path = folder_ + std::to_string(++files_) + "-" + name;
            std::FILE* f = std::fopen(path.c_str(), "wb");
            if (f) {
                std::fwrite(bytes.data(), 1, bytes.size(), f);
                std::fclose(f);
            }
            loadDocument(doc_, path);
        } else {
            MemorySource source(bytes, {.piece = 1 + in.next() % 64});
            loadDocument(doc_, source, folder_ + name);
        }
        note("loaded " + name);
    }

    void perform(KeyAction action, bool clear = false, bool around = false) {
        KeyDecision decision;
        decision.action = action;
        decision.clearSelection = clear;
        decision.around = around;
        performKeyAction(doc_, decision, &typing_);
    }

    void command(uint8_t op, Bytes& in) {
        static const KeyAction kMoves[] = {KeyAction::MoveLeft,  KeyAction::MoveRight,         KeyAction::MoveUp,
                                           KeyAction::MoveDown,  KeyAction::MoveHome,          KeyAction::MoveEnd,
                                           KeyAction::PageUp,    KeyAction::PageDown,          KeyAction::MoveDocumentStart,
                                           KeyAction::MoveDocumentEnd, KeyAction::WordLeft,    KeyAction::WordRight,
                                           KeyAction::ScrollLineUp, KeyAction::ScrollLineDown};
        static const KeyAction kEdits[] = {KeyAction::SplitLine,         KeyAction::Indent,        KeyAction::Unindent,
                                           KeyAction::DeleteForward,     KeyAction::DeleteBackward, KeyAction::DeleteWordForward,
                                           KeyAction::DeleteWordBackward, KeyAction::Cut,          KeyAction::Copy,
                                           KeyAction::Paste,             KeyAction::Cancel,        KeyAction::FlipCrlf,
                                           KeyAction::FlipSpace,         KeyAction::ToggleOverwrite};
        switch ((op / 16) % 8) {
        case 0:
        case 1: {
            // Typing, a few characters at a time, sometimes over a selection.
            std::string typed = in.text(6);
            for (char c : typed) {
                KeyDecision decision;
                decision.action = KeyAction::TypeCharacter;
                decision.character = static_cast<unsigned char>(c) < 0x80 ? static_cast<unsigned char>(c) : 0xE9;
                if (decision.character >= 32) performKeyAction(doc_, decision, &typing_);
            }
            break;
        }
        case 2: {
            uint8_t pick = in.next();
            perform(kMoves[pick % 14], (pick & 0x40) == 0, (pick & 0x40) != 0);
            break;
        }
        case 3:
        case 4: perform(kEdits[in.next() % 14]); break;
        case 5: {
            uint8_t how = in.next();
            std::string find = in.text(3), change = in.text(3);
            if (find.empty()) find = "a";
            if (how & 1)
                search(doc_, find, {.backward = (how & 2) != 0, .fromStart = (how & 4) != 0});
            else
                replace(doc_, find, change, {.backward = (how & 2) != 0, .fromStart = (how & 4) != 0, .all = (how & 8) != 0});
            break;
        }
        case 6: {
            uint8_t which = in.next() % 4;
            if (which == 0) doc_.newDocument();
            if (which == 1) load(in, "other.txt");
            if (which == 2 && !doc_.path.empty()) saveDocument(doc_);
            if (which == 3) gotoLine(doc_, std::to_string(in.next() % 12).c_str());
            break;
        }
        default: {
            // A selection made with Shift and the arrows.
            uint8_t pick = in.next();
            perform(kMoves[pick % 14], false, true);
            break;
        }
        }
    }

    std::string folder_;
    bool onDisk_ = false;
    int files_ = 0;
    FakeDocumentHost host_;
    ViewState view_;
    Document doc_{host_, view_};
    TypingState typing_;
    TextState loaded_;
    std::map<uint64_t, After> after_;
    std::map<uint64_t, CaretState> before_;
    std::string failure_;
    std::vector<std::string> log_;
};

}  // namespace undo_session
