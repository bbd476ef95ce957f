// A large text's bytes are copied into place on a second thread while the next piece is read
// and the one before is split: the lines must be those of the bytes, whatever the pieces, a
// size that changes while the file is read, or a read that fails part-way.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document_bytes.h"
#include "editor/document.h"
#include "editor/document_file.h"
#include "fake_document_host.h"
#include "memory_source.h"

namespace {

constexpr size_t kMega = size_t{1} << 20;

// The lines a file's bytes hold, found the plain way.
std::vector<std::string> plainLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t lf; (lf = bytes.find('\n', start)) != std::string::npos; start = lf + 1) {
        std::string line = bytes.substr(start, lf - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line.substr(0, line.find('\0')));
    }
    if (start < bytes.size()) {
        std::string line = bytes.substr(start);
        lines.push_back(line.substr(0, line.find('\0')));
    }
    if (lines.empty()) lines.emplace_back();
    return lines;
}

std::string randomText(std::mt19937& random, size_t size) {
    static const char kAlphabet[] = "abcdefgh \t\r\n\n";
    std::string bytes(size, 'x');
    for (char& c : bytes) c = kAlphabet[random() % (sizeof kAlphabet - 1)];
    // A few long lines, across whole pieces.
    for (int i = 0; i < 3; ++i) bytes.replace(random() % (size / 2), kMega + random() % 1000, kMega + 999, 'L');
    bytes.resize(size);
    if (random() % 2) bytes[random() % size] = '\0';
    return bytes;
}

}  // namespace

TEST(CopyBehind, LargeTextsLoadAsTheirLinesWhateverThePiecesAndSizes) {
    std::mt19937 random(20261209);
    for (int round = 0; round < 6; ++round) {
        const size_t size = 9 * kMega + random() % (4 * kMega);
        const std::string bytes = randomText(random, size);
        // Pieces smaller than a request and uneven; a size reported below or above the truth.
        MemorySource::Options options;
        options.piece = static_cast<int64_t>(round % 2 ? kMega : 300000 + random() % 500000);
        if (round % 3 == 1) options.reportedSize = static_cast<int64_t>(size - 1 - random() % kMega);
        if (round % 3 == 2) options.reportedSize = static_cast<int64_t>(size + 1 + random() % kMega);
        MemorySource source(bytes, options);
        FakeDocumentHost host;
        ViewState view;
        Document document{host, view};
        ASSERT_EQ(loadDocument(document, source, "big.txt"), LoadResult::Loaded) << round;
        EXPECT_EQ(linesOf(document), plainLines(bytes)) << round;
        EXPECT_EQ(document.format.holdsNul, bytes.find('\0') != std::string::npos) << round;
    }
}

TEST(CopyBehind, AReadFailingPartWayLeavesTheDocumentAsItWas) {
    std::mt19937 random(3);
    const std::string bytes = randomText(random, 12 * kMega);
    FakeDocumentHost host;
    ViewState view;
    Document document{host, view};
    MemorySource small("kept\ntext\n", {});
    ASSERT_EQ(loadDocument(document, small, "small.txt"), LoadResult::Loaded);
    const auto before = linesOf(document);
    for (int failAt : {1, 2, 5, 11}) {
        MemorySource source(bytes, {.piece = static_cast<int64_t>(kMega), .failAt = failAt});
        EXPECT_EQ(loadDocument(document, source, "big.txt"), LoadResult::ReadFailed) << failAt;
        EXPECT_EQ(linesOf(document), before) << failAt;
        EXPECT_EQ(document.path, "small.txt");
    }
}
