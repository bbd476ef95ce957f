// Documents are read and written in large requests: the lines, the fingerprint and the saved
// bytes must be exactly those of small pieces, wherever a line, a CR LF, a lone CR or a NUL
// falls against a request's edge.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/document.h"
#include "document_bytes.h"
#include "editor/document_file.h"
#include "editor/transfer_progress.h"
#include "fake_document_host.h"
#include "fault_injection.h"
#include "memory_source.h"
#include "temp_dir.h"
#include "text/fast_hash.h"

namespace {

constexpr size_t kMega = size_t{1} << 20;

// Random text whose awkward bytes sit at and around every request edge.
std::string awkwardText(std::mt19937& random, size_t size) {
    static const char kAlphabet[] = "abc \t\xC3\xA9\r\n\n\n";
    std::string bytes(size, 'x');
    for (char& c : bytes) c = kAlphabet[random() % (sizeof kAlphabet - 1)];
    // Long lines too, so lines cross whole requests.
    if (size > 100) bytes.replace(random() % (size / 2), std::min<size_t>(size / 3, kMega + 17), size / 3, 'L');
    const char* edges[] = {"\r", "\r\n", "\n", "\0", "\r\r\n"};
    for (size_t edge = kMega; edge < size + 3; edge += kMega) {
        const std::string put(edges[random() % 5]);
        const size_t at = edge - std::min<size_t>(edge, random() % 3);
        if (at < size) bytes.replace(at, std::min(put.size(), size - at), put.substr(0, size - at));
    }
    if (random() % 4 == 0 && size) bytes[random() % size] = '\0';
    return bytes;
}

}  // namespace

TEST(LargeRequests, LoadAndSaveAgreeByteForByteWithSmallPieces) {
    std::mt19937 random(20261209);
    TempDir dir;
    int lineEndsInCr = 0;
    for (size_t size : {kMega - 1, kMega, kMega + 1, 2 * kMega - 2, 2 * kMega + 1, 3 * kMega + 12345}) {
        for (int round = 0; round < 2; ++round) {
            const std::string bytes = awkwardText(random, size);
            dir.write("in.txt", bytes);
            FakeDocumentHost host;
            ViewState view, smallView;
            Document fromFile{host, view}, fromPieces{host, smallView};
            ASSERT_EQ(loadDocument(fromFile, dir.file("in.txt")), LoadResult::Loaded);
            MemorySource pieces(bytes, {.piece = 8192});
            ASSERT_EQ(loadDocument(fromPieces, pieces, dir.file("in.txt")), LoadResult::Loaded);
            ASSERT_EQ(linesOf(fromFile), linesOf(fromPieces)) << size << " round " << round;
            EXPECT_EQ(fromFile.format.holdsNul, fromPieces.format.holdsNul);
            FastHash hash;
            hash.update(bytes.data(), bytes.size());
            EXPECT_EQ(fromFile.disk.hash, hash.digest());

            fromFile.crlf = round % 2 == 1;
            StringSink expectedNow;
            writeDocumentText(fromFile, expectedNow);
            ASSERT_EQ(saveDocumentAs(fromFile, dir.file("out.txt")).result, SaveResult::Saved);
            EXPECT_EQ(dir.read("out.txt"), expectedNow.text) << size << " round " << round;
            FastHash saved;
            saved.update(expectedNow.text.data(), expectedNow.text.size());
            EXPECT_EQ(fromFile.disk.hash, saved.digest());
            // The saved file is known to give back the text exactly when, and only when, it does.
            Document readBack{host, smallView};
            ASSERT_EQ(loadDocument(readBack, dir.file("out.txt")), LoadResult::Loaded);
            EXPECT_EQ(fromFile.disk.holdsText, linesOf(readBack) == linesOf(fromFile)) << size << " round " << round;
            lineEndsInCr += !fromFile.disk.holdsText;
        }
    }
    // The random text has lines ending in CR, saved with LF line ends, in some rounds.
    EXPECT_GT(lineEndsInCr, 0);
}

TEST(LargeRequests, AWriterGivenPiecesOfEverySizeWritesThemInOrder) {
    std::mt19937 random(7);
    TempDir dir;
    std::string bytes(5 * kMega + 333, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    for (auto requests : {FileRequests::Blocks, FileRequests::Large}) {
        {
            FileWriter writer(dir.file("w"), FileWriter::Mode::Truncate, requests);
            size_t at = 0;
            while (at < bytes.size()) {
                // Pieces below, at and above a request, so both the copy and the direct path run.
                const size_t sizes[] = {1, 4095, kMega - 1, kMega, kMega + 1, 2 * kMega + 5};
                const size_t take = std::min(sizes[random() % 6], bytes.size() - at);
                writer.write(bytes.data() + at, static_cast<int64_t>(take));
                at += take;
            }
            EXPECT_TRUE(writer.syncToDisk());
        }
        EXPECT_EQ(dir.read("w"), bytes);
    }
}

namespace {

// Stops the transfer at its n-th report and remembers what it was told.
class StopAt final : public TransferProgress {
public:
    explicit StopAt(int n) : n_(n) {}
    bool advanced(const TransferStep& step) override {
        EXPECT_GE(step.bytes, last_);
        EXPECT_GE(step.fraction, 0.0);
        EXPECT_LE(step.fraction, 1.0);
        last_ = step.bytes;
        return ++reports != n_;
    }
    int reports = 0;

private:
    int n_;
    int64_t last_ = 0;
};

}  // namespace

TEST(LargeRequests, AStoppedLoadLeavesTheDocumentAndItsHistoryAsTheyWere) {
    std::mt19937 random(11);
    TempDir dir;
    dir.write("big.txt", awkwardText(random, 3 * kMega + 5));
    dir.write("small.txt", "first\nsecond\n");
    FakeDocumentHost host;
    ViewState view;
    Document document{host, view};
    ASSERT_EQ(loadDocument(document, dir.file("small.txt")), LoadResult::Loaded);
    const auto before = linesOf(document);
    const FileIdentity disk = document.disk;
    const size_t steps = document.history.undoCount();
    const size_t titles = host.titles.size();
    for (int stopAt : {1, 2, 4}) {
        StopAt progress(stopAt);
        EXPECT_EQ(loadDocument(document, dir.file("big.txt"), &progress), LoadResult::Cancelled);
        EXPECT_EQ(progress.reports, stopAt);
        EXPECT_EQ(linesOf(document), before);
        EXPECT_EQ(document.path, dir.file("small.txt"));
        EXPECT_EQ(document.disk, disk);
        EXPECT_EQ(document.history.undoCount(), steps);
        EXPECT_EQ(host.titles.size(), titles);
    }
    // Told to go on, it loads, reporting the whole at the end.
    StopAt never(-1);
    EXPECT_EQ(loadDocument(document, dir.file("big.txt"), &never), LoadResult::Loaded);
    EXPECT_GE(never.reports, 3);
    EXPECT_EQ(document.history.undoCount(), steps + 1);
}

TEST(LargeRequests, ASaveReportsItsProgressUpToTheWhole) {
    std::mt19937 random(12);
    TempDir dir;
    const std::string bytes = awkwardText(random, 3 * kMega + 5);
    dir.write("in.txt", bytes);
    FakeDocumentHost host;
    ViewState view;
    Document document{host, view};
    ASSERT_EQ(loadDocument(document, dir.file("in.txt")), LoadResult::Loaded);
    // A save is not stopped by the answer: the file is replaced only once it is all there.
    StopAt progress(1);
    ASSERT_EQ(saveDocumentAs(document, dir.file("out.txt"), &progress).result, SaveResult::Saved);
    EXPECT_GE(progress.reports, 3);
    StringSink expected;
    writeDocumentText(document, expected);
    EXPECT_EQ(dir.read("out.txt"), expected.text);
}

TEST(LargeRequests, ALongSaveFailingPartWayLeavesFileAndDocumentAsTheyWere) {
    std::mt19937 random(13);
    TempDir dir;
    const std::string before = "the file as it was\n";
    dir.write("out.txt", before);
    dir.write("in.txt", awkwardText(random, 6 * kMega + 3));
    FakeDocumentHost host;
    ViewState view;
    Document document{host, view};
    ASSERT_EQ(loadDocument(document, dir.file("in.txt")), LoadResult::Loaded);
    ASSERT_GE(document.lineCount(), 65536);  // written on a second thread
    const auto lines = linesOf(document);
    for (rlim_t failAt : {rlim_t{0}, rlim_t{kMega / 2}, rlim_t{3 * kMega + 1}}) {
        SaveOutcome outcome;
        {
            FileSizeLimit limit(failAt);
            if (!limit.active()) GTEST_SKIP() << "no file-size limit here";
            outcome = saveDocumentAs(document, dir.file("out.txt"));
        }
        EXPECT_EQ(outcome.result, SaveResult::NotSaved) << failAt;
        EXPECT_EQ(dir.read("out.txt"), before) << failAt;
        EXPECT_EQ(document.path, dir.file("in.txt"));
        EXPECT_EQ(linesOf(document), lines);
    }
}

TEST(LargeRequests, ManyShortLinesSavedOnASecondThreadComeOutWhole) {
    // Short lines grow most with CR LF added, so a piece fills up part-way through a stretch
    // of lines and the next piece is put together in other memory.
    std::mt19937 random(14);
    TempDir dir;
    std::string bytes;
    while (bytes.size() < 3 * kMega) bytes.append(random() % 3, 'a' + static_cast<char>(random() % 26)).push_back('\n');
    dir.write("in.txt", bytes);
    FakeDocumentHost host;
    ViewState view;
    Document document{host, view};
    ASSERT_EQ(loadDocument(document, dir.file("in.txt")), LoadResult::Loaded);
    ASSERT_GE(document.lineCount(), 65536);  // written on a second thread
    for (bool crlf : {true, false}) {
        document.crlf = crlf;
        StringSink expected;
        writeDocumentText(document, expected);
        ASSERT_EQ(saveDocumentAs(document, dir.file("out.txt")).result, SaveResult::Saved);
        EXPECT_EQ(dir.read("out.txt"), expected.text) << crlf;
    }
}
