// Files Orvane cannot hold as bytes: UTF-16 with a mark is decoded to UTF-8 lines and saved
// back as it was; a file with NUL bytes (or UTF-16 that is not well formed) loads up to each
// line's first NUL and is never saved over.
#include <gtest/gtest.h>

#include <random>

#include "editor/document.h"
#include "editor/document_file.h"
#include "fake_document_host.h"
#include "temp_dir.h"
#include "text/utf8.h"
#include "view/editor_paint.h"

namespace {

// UTF-16 bytes of code points, with the mark of the byte order.
std::string utf16(const std::u32string& text, bool bigEndian, bool mark = true) {
    std::string out;
    auto unit = [&](char32_t u) {
        char low = static_cast<char>(u & 0xFF), high = static_cast<char>(u >> 8);
        out += bigEndian ? std::string{high, low} : std::string{low, high};
    };
    if (mark) unit(0xFEFF);
    for (char32_t c : text) {
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(c);
        }
    }
    return out;
}

std::string utf8(const std::u32string& text) {
    std::string out;
    for (char32_t c : text) appendCodePoint(out, static_cast<int>(c));
    return out;
}

struct DocumentEncoding : ::testing::Test {
    std::vector<std::string> load(const std::string& name, const std::string& bytes) {
        dir.write(name, bytes);
        EXPECT_EQ(loadDocument(document, dir.file(name)), LoadResult::Loaded);
        std::vector<std::string> lines;
        for (int i = 0; i < document.lineCount(); ++i) lines.emplace_back(document.lines.view(i));
        return lines;
    }
    std::string status() {
        TextBuffer out{128};
        formatStatusText(document, view, out);
        return out.c_str();
    }

    TempDir dir;
    FakeDocumentHost host;
    ViewState view;
    Document document{host, view, {.crlf = true}};
};

}  // namespace

TEST_F(DocumentEncoding, Utf16FilesOfAnyTextLoadAsTheirCharactersAndSaveBackByteForByte) {
    std::mt19937 random(16);
    const char32_t samples[] = {U'a', U'z', U' ', U'\t', 0xE9, 0x3B1, 0x4E2D, 0xFFFD, 0xFFFE, 0x1F600, 0x10FFFF, 0xD7FF, 0xE000};
    for (int round = 0; round < 200; ++round) {
        const bool bigEndian = round % 2, crlf = round % 4 < 2;
        std::u32string text;
        std::vector<std::string> lines(1);
        const int count = 1 + static_cast<int>(random() % 12);
        for (int line = 0; line < count; ++line) {
            std::u32string chars;
            for (int n = static_cast<int>(random() % 20); n > 0; --n) chars += samples[random() % std::size(samples)];
            text += chars + (crlf ? U"\r\n" : U"\n");
            lines[lines.size() - 1] = utf8(chars);
            lines.emplace_back();
        }
        lines.pop_back();
        const std::string bytes = utf16(text, bigEndian);
        ASSERT_EQ(load("in.txt", bytes), lines) << round;
        EXPECT_EQ(document.format.encoding, bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE);
        EXPECT_FALSE(document.format.keepsBytesTheLinesCannot());
        document.crlf = crlf;
        ASSERT_EQ(saveDocument(document).result, SaveResult::Saved);
        ASSERT_EQ(dir.read("in.txt"), bytes) << round;
    }
}

TEST_F(DocumentEncoding, LineEndsFollowTheModeAndTheStatusNamesTheEncoding) {
    load("le.txt", utf16(U"one\r\ntwo\r\n", false));
    EXPECT_EQ(status(), "  1 : 1 CRLF UTF-16LE SPACE  ");
    document.crlf = false;  // F9
    ASSERT_EQ(saveDocument(document).result, SaveResult::Saved);
    EXPECT_EQ(dir.read("le.txt"), utf16(U"one\ntwo\n", false));
    load("be.txt", utf16(U"x\n", true));
    document.crlf = false;
    EXPECT_EQ(status(), "  1 : 1 LF UTF-16BE SPACE  ");
    load("plain.txt", "x\n");
    EXPECT_EQ(status(), "  1 : 1 CRLF SPACE  ");
}

TEST_F(DocumentEncoding, AMarkAloneIsAnEmptyUtf16Document) {
    EXPECT_EQ(load("bom.txt", "\xFF\xFE"), std::vector<std::string>{""});
    EXPECT_EQ(document.format.encoding, TextEncoding::Utf16LE);
    ASSERT_EQ(saveDocument(document).result, SaveResult::Saved);
    EXPECT_EQ(dir.read("bom.txt"), std::string("\xFF\xFE\r\0\n\0", 6));
}

TEST_F(DocumentEncoding, Utf16ThatIsNotWellFormedLoadsAsBytesAndIsNeverSavedOver) {
    const std::string odd = utf16(U"ab\r\n", false) + "x";
    const std::string lone = utf16(U"ab", true) + std::string("\xD8\x01\x00q", 4);
    for (const std::string& bytes : {odd, lone}) {
        load("bad.txt", bytes);
        EXPECT_EQ(document.format.encoding, TextEncoding::Utf8);
        EXPECT_TRUE(document.format.malformedUtf16);
        EXPECT_EQ(std::string(document.line(0)), bytes.substr(0, bytes.find('\0')));
        document.markModified();
        EXPECT_EQ(saveDocument(document).result, SaveResult::RefusedNul);
        EXPECT_EQ(dir.read("bad.txt"), bytes);
        EXPECT_TRUE(document.modified);
    }
}

TEST_F(DocumentEncoding, AFileWithNulBytesIsRefusedButSavesAsAnotherFile) {
    const char raw[] = "MZ\x90\0\x03\0\0\0\nsecond\0line\n";
    const std::string binary(raw, sizeof raw - 1);
    EXPECT_EQ(load("tool.exe", binary), (std::vector<std::string>{"MZ\x90", "second"}));
    EXPECT_TRUE(document.format.holdsNul);
    EXPECT_EQ(saveDocument(document).result, SaveResult::RefusedNul);
    // Not over the same file by another name either.
    EXPECT_EQ(saveDocumentAs(document, dir.folder() + "./tool.exe").result, SaveResult::RefusedNul);
    EXPECT_EQ(dir.read("tool.exe"), binary);
    // Save as to another file works, and from then on the document is that file.
    ASSERT_EQ(saveDocumentAs(document, dir.file("copy.txt")).result, SaveResult::Saved);
    EXPECT_EQ(dir.read("copy.txt"), "MZ\x90\r\nsecond\r\n");
    EXPECT_EQ(document.path, dir.file("copy.txt"));
    EXPECT_EQ(saveDocument(document).result, SaveResult::Saved);
    EXPECT_EQ(dir.read("tool.exe"), binary);
}

TEST_F(DocumentEncoding, Utf16HoldingU0000KeepsItsEncodingAndIsRefused) {
    const std::string bytes = utf16(std::u32string(U"a\0b\n", 4), false);
    EXPECT_EQ(load("nul16.txt", bytes), std::vector<std::string>{"a"});
    EXPECT_EQ(document.format.encoding, TextEncoding::Utf16LE);
    EXPECT_TRUE(document.format.holdsNul);
    EXPECT_EQ(saveDocument(document).result, SaveResult::RefusedNul);
    EXPECT_EQ(dir.read("nul16.txt"), bytes);
}

TEST_F(DocumentEncoding, ACharacterCutBetweenTheSavesPiecesComesOutWhole) {
    // A line of three-byte characters longer than one piece of the save: the pieces end
    // inside a character.
    std::u32string text(400000, U'\u20AC');
    text += U"\U0001F600\n";
    const std::string bytes = utf16(text, false);
    load("long.txt", bytes);
    document.crlf = false;
    ASSERT_EQ(saveDocument(document).result, SaveResult::Saved);
    EXPECT_TRUE(dir.read("long.txt") == bytes);
    // The text as a save writes it, given on in smaller pieces, is the same.
    struct Collected final : ByteSink {
        std::string text;
        int64_t write(const void* data, int64_t n) override {
            text.append(static_cast<const char*>(data), static_cast<size_t>(n));
            return n;
        }
    } collected;
    writeDocumentText(document, collected);
    EXPECT_TRUE(collected.text == bytes);
}

TEST_F(DocumentEncoding, UndoingAnOpenBringsBackTheFormatOfTheFileBefore) {
    load("le.txt", utf16(U"one\r\n", false));
    load("tool.bin", std::string("a\0b\n", 4));
    EXPECT_TRUE(document.format.holdsNul);
    ASSERT_TRUE(document.history.undo(document));
    EXPECT_EQ(document.format.encoding, TextEncoding::Utf16LE);
    EXPECT_FALSE(document.format.holdsNul);
    ASSERT_TRUE(document.history.redo(document));
    EXPECT_TRUE(document.format.holdsNul);
    document.newDocument();
    EXPECT_EQ(document.format, FileFormat{});
}
