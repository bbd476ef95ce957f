#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "editor/document.h"
#include "editor/document_file.h"
#include "fake_document_host.h"
#include "temp_dir.h"

namespace {

struct DocumentFileTest : ::testing::Test {
    std::vector<std::string> loadLines(const std::string& bytes) {
        dir.write("in.txt", bytes);
        EXPECT_EQ(loadDocument(document, dir.file("in.txt")), LoadResult::Loaded);
        std::vector<std::string> lines;
        for (int i = 0; i < document.lineCount(); ++i) lines.emplace_back(document.line(i));
        return lines;
    }
    // Loads bytes, saves them back with the given line end, returns what was written.
    std::string roundTrip(const std::string& bytes, bool crlf) {
        loadLines(bytes);
        document.crlf = crlf;
        EXPECT_EQ(saveDocumentAs(document, dir.file("out.txt")).result, SaveResult::Saved);
        return dir.read("out.txt");
    }
    TempDir dir;
    FakeDocumentHost host;
    ViewState view;
    Document document{host, view};
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(DocumentFileTest, SplitsAtLineFeedsAndDropsTheCarriageReturnBeforeThem) {
    EXPECT_EQ(loadLines("a\r\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(loadLines("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(loadLines(""), (Lines{""}));
    EXPECT_EQ(loadLines("\n"), (Lines{""}));
    EXPECT_EQ(loadLines("\n\n"), (Lines{"", ""}));
    EXPECT_EQ(loadLines("a\rb\r\r\n"), (Lines{"a\rb\r"}));
    // Only a CR right before an LF belongs to a line ending: one at the very end stays.
    EXPECT_EQ(loadLines("a\rb\r"), (Lines{"a\rb\r"}));
    EXPECT_EQ(loadLines("x\n\r"), (Lines{"x", "\r"}));
    EXPECT_EQ(loadLines("\r"), (Lines{"\r"}));
    EXPECT_EQ(loadLines("x\x1Ay\n"), (Lines{"x\x1Ay"}));
    EXPECT_EQ(loadLines(std::string("ab\0cd\nef", 8)), (Lines{"ab", "ef"}));
}

TEST_F(DocumentFileTest, LoadResetsModesAndSetsTheTitle) {
    document.crlf = false;
    document.space = false;
    document.modified = true;
    view.caretColumn = 4;
    loadLines("hello\n");
    EXPECT_TRUE(document.crlf);
    EXPECT_TRUE(document.space);
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(view.caretColumn, 0);
    EXPECT_EQ(host.titles.back(), "Orvane - in.txt");
    EXPECT_EQ(document.path, dir.file("in.txt"));
}

TEST_F(DocumentFileTest, MissingFileChangesNothing) {
    document.newDocument();
    document.insertLine(0, "keep");
    size_t titles = host.titles.size();
    EXPECT_EQ(loadDocument(document, dir.file("absent.txt")), LoadResult::CannotOpen);
    EXPECT_EQ(document.lineCount(), 2);
    EXPECT_STREQ(document.line(0), "keep");
    EXPECT_EQ(host.titles.size(), titles);
    EXPECT_TRUE(document.path.empty());
}

TEST_F(DocumentFileTest, RoundTripsAreByteExactUpToTheFinalLineEnd) {
    EXPECT_EQ(roundTrip("a\r\nb", true), "a\r\nb\r\n");
    EXPECT_EQ(roundTrip("a\nb\n", true), "a\r\nb\r\n");
    EXPECT_EQ(roundTrip("a\r\nb\r\n", false), "a\nb\n");
    EXPECT_EQ(roundTrip("", true), "\r\n");
    EXPECT_EQ(roundTrip("", false), "\n");
    EXPECT_EQ(roundTrip("lone\rcr\n", false), "lone\rcr\n");
    EXPECT_EQ(roundTrip("x\x1Ay\x1A\n", false), "x\x1Ay\x1A\n");
    std::string invalid = "\xFE\xC0\x80\xE2\x82\n\xF8\x88\x80\x80\x80\n";
    EXPECT_EQ(roundTrip(invalid, false), invalid);
    std::string bom = "\xEF\xBB\xBFtext\r\n";
    EXPECT_EQ(roundTrip(bom, true), bom);
}

TEST_F(DocumentFileTest, LongLinesStayWhole) {
    std::string longLine(200000, 'x');
    for (size_t i = 0; i < longLine.size(); i += 997) longLine[i] = static_cast<char>('a' + i % 26);
    std::string bytes = "head\n" + longLine + "\ntail\n";
    Lines lines = loadLines(bytes);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], longLine);
    EXPECT_EQ(roundTrip(bytes, false), bytes);
    // A CR LF that straddles a chunk boundary is still one line end.
    std::string straddle(65535, 'y');
    straddle += "\r\nz\r\n";
    EXPECT_EQ(roundTrip(straddle, true), straddle);
}

TEST_F(DocumentFileTest, SaveSetsTitleAndClearsModified) {
    loadLines("one\n");
    document.markModified();
    EXPECT_EQ(host.titles.back(), "Orvane - *in.txt");
    document.path = dir.file("saved.txt");
    ASSERT_EQ(saveDocument(document).result, SaveResult::Saved);
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(host.titles.back(), "Orvane - saved.txt");
}

TEST_F(DocumentFileTest, FailedSaveKeepsModifiedAndTitle) {
    loadLines("one\n");
    document.markModified();
    size_t titles = host.titles.size();
    document.path = dir.file("no-such-folder/out.txt");
    EXPECT_NE(saveDocument(document).result, SaveResult::Saved);
    EXPECT_TRUE(document.modified);
    EXPECT_EQ(host.titles.size(), titles);

    document.path.clear();
    EXPECT_NE(saveDocument(document).result, SaveResult::Saved);
    EXPECT_TRUE(document.modified);
}

TEST_F(DocumentFileTest, SaveToAFullDeviceIsAFailure) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP();
    loadLines("one\n");
    document.markModified();
    document.path = "/dev/full";
    EXPECT_NE(saveDocument(document).result, SaveResult::Saved);
    EXPECT_TRUE(document.modified);
}

TEST_F(DocumentFileTest, ReadOnlyTargetIsAFailure) {
    dir.write("ro.txt", "old\n");
    std::filesystem::permissions(dir.file("ro.txt"), std::filesystem::perms::owner_read);
    loadLines("new\n");
    document.markModified();
    document.path = dir.file("ro.txt");
    EXPECT_NE(saveDocument(document).result, SaveResult::Saved);
    EXPECT_EQ(dir.read("ro.txt"), "old\n");
}

// A loaded file is saved from its stored block a stretch at a time; what is written must be
// exactly the lines as the document shows them, whatever bytes the block holds besides.
TEST_F(DocumentFileTest, SaveWritesExactlyTheLinesAfterLoadAndEdits) {
    std::mt19937 random(3);
    for (int round = 0; round < 40; ++round) {
        std::string bytes;
        int count = 1 + static_cast<int>(random() % 300);
        for (int i = 0; i < count; ++i) {
            bytes.append(random() % 90, static_cast<char>('a' + random() % 26));
            if (random() % 7 == 0) bytes += std::string("x\0y", 3);
            bytes += random() % 3 ? "\n" : "\r\n";
        }
        loadLines(bytes);
        for (int edit = 0; edit < 10 && document.lineCount() > 1; ++edit) {
            int line = static_cast<int>(random() % static_cast<unsigned>(document.lineCount()));
            std::string text = document.line(line);
            if (edit % 3 == 0) document.removeLine(line);
            if (edit % 3 == 1) document.lines.splice(line, text.size() / 2, text.size(), nullptr, 0);
            if (edit % 3 == 2) document.lines.splice(line, 0, 3, nullptr, 0);
        }
        document.crlf = round % 2 == 0;
        std::string expected;
        for (int i = 0; i < document.lineCount(); ++i) expected += std::string(document.line(i)) + (document.crlf ? "\r\n" : "\n");
        // (Bytes after a NUL are not saved over the file they came from: the text goes elsewhere.)
        ASSERT_EQ(saveDocumentAs(document, dir.file("out.txt")).result, SaveResult::Saved);
        ASSERT_EQ(dir.read("out.txt"), expected) << round;
    }
}
