// Loads and saves that go wrong: the document and the file on disk must come out as they were.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "editor/document.h"
#include "editor/document_file.h"
#include "allocation_limit.h"
#include "fake_document_host.h"
#include "fault_injection.h"
#include "memory_source.h"
#include "platform/file_io.h"
#include "temp_dir.h"

namespace {

std::string manyLines(size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) text += "line " + std::to_string(i) + " of the text\r\n";
    return text;
}

size_t entriesIn(const TempDir& dir) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.folder())) ++n;
    return n;
}

struct DocumentFaults : ::testing::Test {
    // An open, edited document: "old text" with "edited" typed into it, saved nowhere yet.
    void openEdited(const std::string& name, const std::string& bytes) {
        dir.write(name, bytes);
        ASSERT_EQ(loadDocument(document, dir.file(name)), LoadResult::Loaded);
        document.lines.splice(0, 0, 0, "edited ", 7);
        document.markModified();
    }
    std::string documentText() const {
        std::string text;
        for (int i = 0; i < document.lineCount(); ++i) text += std::string(document.line(i)) + "\n";
        return text;
    }
    // What must not change when a load fails.
    struct Snapshot {
        std::string text, path, title;
        bool modified;
        size_t titles;
    };
    Snapshot snapshot() const {
        return {documentText(), document.path, host.titles.empty() ? "" : host.titles.back(), document.modified,
                host.titles.size()};
    }
    void expectUnchanged(const Snapshot& before) const {
        EXPECT_EQ(documentText(), before.text);
        EXPECT_EQ(document.path, before.path);
        EXPECT_EQ(document.modified, before.modified);
        EXPECT_EQ(host.titles.size(), before.titles);
    }

    TempDir dir;
    FakeDocumentHost host;
    ViewState view;
    Document document{host, view};
};

}  // namespace

TEST_F(DocumentFaults, AReadFailingAtAnyBlockLeavesTheDocumentAsItWas) {
    openEdited("open.txt", "old text\n");
    const Snapshot before = snapshot();
    const std::string file = manyLines(40000);  // about 1 MB: many read blocks
    for (int block : {0, 1, 7, 15}) {
        SCOPED_TRACE(block);
        MemorySource source(file, {.failAt = block});
        EXPECT_EQ(loadDocument(document, source, "other.txt"), LoadResult::ReadFailed);
        expectUnchanged(before);
    }
    // The same bytes without a failure load whole.
    MemorySource whole(file, {});
    EXPECT_EQ(loadDocument(document, whole, "other.txt"), LoadResult::Loaded);
    EXPECT_EQ(document.lineCount(), 40000);
    EXPECT_EQ(document.path, "other.txt");
}

TEST_F(DocumentFaults, AFileThatOpensButCannotBeReadIsAFailure) {
    // A kernel attribute file that reports a size but answers every read with an I/O error.
    const std::string path = "/sys/devices/software/power/autosuspend_delay_ms";
    std::ifstream probe(path, std::ios::binary);
    char byte;
    if (!probe.is_open() || probe.read(&byte, 1)) GTEST_SKIP() << "no unreadable file here";
    openEdited("open.txt", "old text\n");
    const Snapshot before = snapshot();
    EXPECT_EQ(loadDocument(document, path), LoadResult::ReadFailed);
    expectUnchanged(before);
}

TEST_F(DocumentFaults, AFileTooLargeToHoldIsOutOfMemoryAndChangesNothing) {
    openEdited("open.txt", "old text\n");
    const Snapshot before = snapshot();
    MemorySource huge("abc\n", {.reportedSize = int64_t{1} << 60});  // no allocator gives an exabyte
    EXPECT_EQ(loadDocument(document, huge, "huge.txt"), LoadResult::OutOfMemory);
    expectUnchanged(before);
    // The document still works.
    document.lines.splice(0, 0, 0, "x", 1);
    EXPECT_STREQ(document.line(0), "xedited old text");
}

TEST_F(DocumentFaults, EverySaveFailureKeepsTheFileTheTextAndTheUnsavedMark) {
    const std::string original = manyLines(20000);  // about 500 kB
    struct Case {
        const char* name;
        std::function<void(DocumentFaults&)> breakIt;
        std::function<void()> mendIt;
    };
    std::unique_ptr<FileSizeLimit> limit;
    const Case cases[] = {
        {"read-only file", [](DocumentFaults& t) { ::chmod(t.dir.file("doc.txt").c_str(), 0444); },
         [] {}},
        {"disk full at the start", [&](DocumentFaults&) { limit = std::make_unique<FileSizeLimit>(0); },
         [&] { limit.reset(); }},
        {"disk full half-way", [&](DocumentFaults&) { limit = std::make_unique<FileSizeLimit>(200000); },
         [&] { limit.reset(); }},
        {"disk full at the last block", [&](DocumentFaults&) { limit = std::make_unique<FileSizeLimit>(original.size()); },
         [&] { limit.reset(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::chmod(dir.file("doc.txt").c_str(), 0644);
        openEdited("doc.txt", original);
        const std::string text = documentText();
        const size_t titles = host.titles.size();
        c.breakIt(*this);
        EXPECT_EQ(saveDocument(document).result, SaveResult::NotSaved);
        c.mendIt();
        EXPECT_EQ(dir.read("doc.txt"), original);
        EXPECT_EQ(entriesIn(dir), 1u);  // no temporary file left
        EXPECT_TRUE(document.modified);
        EXPECT_EQ(host.titles.size(), titles);
        EXPECT_EQ(documentText(), text);
    }
    // Once the trouble is gone the same text saves.
    ::chmod(dir.file("doc.txt").c_str(), 0644);
    EXPECT_EQ(saveDocument(document).result, SaveResult::Saved);
    EXPECT_EQ(dir.read("doc.txt").substr(0, 14), "edited line 0 ");
}

TEST_F(DocumentFaults, ASaveIntoARemovedFolderCreatesNothing) {
    std::filesystem::create_directory(dir.file("gone"));
    openEdited("gone/doc.txt", "old text\n");
    std::filesystem::remove_all(dir.file("gone"));
    EXPECT_EQ(saveDocument(document).result, SaveResult::NotSaved);
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone")));
    EXPECT_TRUE(document.modified);
}

TEST_F(DocumentFaults, AFullDeviceIsNotReplaced) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP();
    openEdited("doc.txt", "old text\n");
    document.path = "/dev/full";
    EXPECT_EQ(saveDocument(document).result, SaveResult::NotSaved);  // a device has nothing to damage
    struct stat st {};
    ASSERT_EQ(::stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_TRUE(document.modified);
}

TEST_F(DocumentFaults, AFileThatGrowsWhileItIsReadLoadsWhole) {
    // The size asked first cuts a line in two; what follows continues that line.
    const std::string file = "first line\nsecond line, cut by the first size\nthird";
    for (int64_t reported : {int64_t{0}, int64_t{5}, int64_t{11}, int64_t{20}}) {
        SCOPED_TRACE(reported);
        MemorySource source(file, {.piece = 7, .reportedSize = reported});
        ASSERT_EQ(loadDocument(document, source, "log.txt"), LoadResult::Loaded);
        ASSERT_EQ(document.lineCount(), 3);
        EXPECT_STREQ(document.line(0), "first line");
        EXPECT_STREQ(document.line(1), "second line, cut by the first size");
        EXPECT_STREQ(document.line(2), "third");
    }
}

namespace {

// A folder that takes no new entry, even from root: the immutable flag, where the file
// system has it. The files already in it stay writable.
class ClosedFolder {
public:
    explicit ClosedFolder(std::string path) : path_(std::move(path)) {
        closed_ = std::system(("chattr +i '" + path_ + "' 2>/dev/null").c_str()) == 0;
    }
    ~ClosedFolder() {
        if (closed_) std::system(("chattr -i '" + path_ + "' 2>/dev/null").c_str());
    }
    bool closed() const { return closed_; }

private:
    std::string path_;
    bool closed_ = false;
};

}  // namespace

TEST_F(DocumentFaults, AFolderThatTakesNoNewFileIsSavedInPlaceAndAFailureThereIsToldApart) {
    std::filesystem::create_directory(dir.file("closed"));
    openEdited("closed/doc.txt", "old text\n");
    {
        ClosedFolder closed(dir.file("closed"));
        if (!closed.closed()) GTEST_SKIP() << "no immutable folders here";
        EXPECT_EQ(saveDocument(document).result, SaveResult::Saved);
        EXPECT_EQ(dir.read("closed/doc.txt"), "edited old text\r\n");
        // Written where it stands, a failure can leave the file short: the result says so.
        document.lines.splice(0, 0, 0, "again ", 6);
        document.markModified();
        FileSizeLimit full(4);
        EXPECT_EQ(saveDocument(document).result, SaveResult::FailedInPlace);
        EXPECT_TRUE(document.modified);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("closed")), {}), 1);
}

TEST_F(DocumentFaults, ASaveInPlaceWithoutTheMemoryForItLeavesTheFileWhole) {
    std::filesystem::create_directory(dir.file("closed"));
    openEdited("closed/doc.txt", "old text\n");
    ClosedFolder closed(dir.file("closed"));
    if (!closed.closed()) GTEST_SKIP() << "no immutable folders here";
    {
        LargeAllocationsFail noBuffer(512 << 10);  // room for small things, not for the save's buffer
        EXPECT_THROW(saveDocument(document), std::bad_alloc);
    }
    EXPECT_EQ(dir.read("closed/doc.txt"), "old text\n");
    EXPECT_TRUE(document.modified);
}
