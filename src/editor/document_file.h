#pragma once
// Reading a file into the document line by line, and writing it back with the chosen line end.
#include <string>

class ByteSink;
class ByteSource;
class Document;

enum class LoadResult {
    Loaded,
    CannotOpen,   // the file could not be opened
    ReadFailed,   // a read failed part-way
    OutOfMemory,  // the text is too large to hold
};

// Anything but Loaded leaves the document exactly as it was.
LoadResult loadDocument(Document& document, const std::string& path);
// The same from any source of bytes; path becomes the document's path.
LoadResult loadDocument(Document& document, ByteSource& source, const std::string& path);

enum class SaveResult {
    Saved,
    NotSaved,       // the file on disk is as it was
    FailedInPlace,  // the file had to be written where it is and may be incomplete
};

// Saved only when every byte reached the file. The file is replaced as a whole, so a failed
// save leaves it as it was, unless its folder takes no new file and it had to be written in
// place. On failure the title and modified flag stay.
SaveResult saveDocument(Document& document);
// The document's text exactly as a save writes it.
void writeDocumentText(const Document& document, ByteSink& sink);
