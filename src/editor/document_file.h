#pragma once
// Reading a file into the document line by line, and writing it back with the chosen line end.
#include <string>

#include "platform/file_io.h"

class Document;
class TransferProgress;

enum class LoadResult {
    Loaded,
    CannotOpen,   // the file could not be opened
    ReadFailed,   // a read failed part-way
    OutOfMemory,  // the text is too large to hold
    Cancelled,    // the user stopped it
};

// Anything but Loaded leaves the document exactly as it was. progress, when given, is told
// after every request and may stop the load.
LoadResult loadDocument(Document& document, const std::string& path, TransferProgress* progress = nullptr);
// The same from any source of bytes; path becomes the document's path.
LoadResult loadDocument(Document& document, ByteSource& source, const std::string& path);

enum class SaveResult {
    Saved,
    NotSaved,       // the file on disk is as it was
    FailedInPlace,  // the file had to be written where it is and may be incomplete
    RefusedNul,     // the file holds bytes the lines cannot keep: it is not saved over
};

struct SaveOutcome {
    SaveResult result = SaveResult::NotSaved;
    FileError error = FileError::None;  // why it failed, as far as the system said
    // FailedInPlace: a copy of the file's earlier bytes, when one could be kept.
    std::string keptCopy;
};

// Saved only when every byte reached the file. The file is replaced as a whole, so a failed
// save leaves it as it was, unless its folder takes no new file and it had to be written in
// place. On failure the title, the modified flag and the path stay. The text is written in
// the file's own encoding (UTF-8 lines, or UTF-16 with its mark). A document whose file holds
// bytes the lines cannot keep (NUL bytes, or UTF-16 that is not well formed) is not saved
// over that file.
// progress, when given, is told after every request.
SaveOutcome saveDocument(Document& document, TransferProgress* progress = nullptr);
// The same to another path, which becomes the document's path once the text is saved there.
SaveOutcome saveDocumentAs(Document& document, const std::string& path, TransferProgress* progress = nullptr);
// The document's text exactly as a save writes it.
void writeDocumentText(const Document& document, ByteSink& sink);
