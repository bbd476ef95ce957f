#pragma once
// The bytes of a recovery record: what it takes to rebuild the text being edited, with its
// history, after the program ended without saving it. A record is a header and a list of
// entries, each with its own checksum, written one after another and never changed: a record
// cut short (by a power loss, say) still gives every entry before the damage.
//
//   Base   where the text starts: an empty new document, a file as it was read or saved
//          (told apart from a changed one by its size and fingerprint), or the text itself
//   Push   a step done (its changes, or for New and Open the document it began)
//   Pop    the last step taken back
//   State  the caret, the line-end and indent modes and the path as they are now
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/edit_history.h"

namespace recovery {

struct DocumentStart {
    enum class Kind : uint8_t { Empty = 0, File = 1, Text = 2 };
    Kind kind = Kind::Empty;
    std::string path;
    FileFormat format;
    FileIdentity identity;  // Kind::File: the file the text is
    bool crlf = true, space = true;
    std::string text;  // Kind::Text: the lines, a NUL between each two
};

struct Entry {
    enum class Kind : uint8_t { Base = 1, Push = 2, Pop = 3, State = 4 };
    Kind kind = Kind::State;
    // Base, and the document a replacement step began.
    DocumentStart start;
    // Push.
    StepKind step = StepKind::Edit;
    CaretState before, after;
    std::string changes;            // the step's ChangeRecord bytes
    bool replacedCrlf = true, replacedSpace = true;  // a replacement: the modes of what it replaced
    // State.
    CaretState caret;
    bool crlf = true, space = true;
    std::string path;
    FileFormat format;
};

// The header every record begins with.
std::string header();
// One entry as bytes, checksum included.
std::string encode(const Entry& entry);

// The entries of a record, as far as they are whole; damaged tells whether something after
// them was cut short or does not add up.
struct Parsed {
    std::vector<Entry> entries;
    bool damaged = false;
};
Parsed parse(std::string_view bytes);

}  // namespace recovery
