#pragma once
// How the open file's bytes map to the document's text, found at load and kept until the
// next load or New. The text inside the document is always UTF-8 lines.
enum class TextEncoding {
    Utf8,     // the bytes as they are (any byte but NUL)
    Utf16LE,  // decoded from UTF-16 with the mark FF FE; saved back the same way
    Utf16BE,  // decoded from UTF-16 with the mark FE FF; saved back the same way
};

struct FileFormat {
    TextEncoding encoding = TextEncoding::Utf8;
    // The file held NUL bytes the lines cannot keep: saving over it would cut them out.
    bool holdsNul = false;
    // The file starts with a UTF-16 mark but is not well-formed UTF-16 (an odd length, a lone
    // surrogate): its bytes were taken as they are, and saving over it would change them.
    bool malformedUtf16 = false;
    // Saving over the file would cut out or change bytes that the lines do not hold.
    bool keepsBytesTheLinesCannot() const { return holdsNul || malformedUtf16; }
    bool operator==(const FileFormat&) const = default;
};
