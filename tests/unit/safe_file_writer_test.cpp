#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/safe_file_writer.h"
#include "allocation_limit.h"
#include "fault_injection.h"
#include "temp_dir.h"

namespace {

size_t entriesIn(const TempDir& dir) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.folder())) ++n;
    return n;
}

}  // namespace

TEST(SafeFileWriter, ReplacesTheTargetOnlyOnCommit) {
    TempDir dir;
    dir.write("a.txt", "old text");
    {
        SafeFileWriter writer(dir.file("a.txt"));
        ASSERT_TRUE(writer.isOpen());
        EXPECT_FALSE(writer.wroteInPlace());
        writer.write("new", 3);
        // Until the commit the target is untouched; the new text sits in a file beside it.
        EXPECT_EQ(dir.read("a.txt"), "old text");
        EXPECT_EQ(entriesIn(dir), 2u);
        EXPECT_TRUE(writer.commit());
    }
    EXPECT_EQ(dir.read("a.txt"), "new");
    EXPECT_EQ(entriesIn(dir), 1u);
}

TEST(SafeFileWriter, AnAbandonedWriteLeavesTheTargetAndNoTemporaryFile) {
    TempDir dir;
    dir.write("a.txt", "keep me");
    {
        SafeFileWriter writer(dir.file("a.txt"));
        writer.write("half", 4);
    }
    EXPECT_EQ(dir.read("a.txt"), "keep me");
    EXPECT_EQ(entriesIn(dir), 1u);
}

TEST(SafeFileWriter, CreatesAMissingTargetAndKeepsPermissions) {
    TempDir dir;
    {
        SafeFileWriter writer(dir.file("new.txt"));
        writer.write("x", 1);
        EXPECT_TRUE(writer.commit());
    }
    EXPECT_EQ(dir.read("new.txt"), "x");
    dir.write("script.sh", "#!/bin/sh\n");
    ::chmod(dir.file("script.sh").c_str(), 0750);
    {
        SafeFileWriter writer(dir.file("script.sh"));
        writer.write("#!/bin/sh\necho\n", 15);
        EXPECT_TRUE(writer.commit());
    }
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("script.sh").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0750u);
}

TEST(SafeFileWriter, ALinkIsWrittenThroughNotReplaced) {
    TempDir dir;
    dir.write("real.txt", "old");
    std::filesystem::create_symlink(dir.file("real.txt"), dir.file("link.txt"));
    {
        SafeFileWriter writer(dir.file("link.txt"));
        writer.write("new", 3);
        EXPECT_TRUE(writer.commit());
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(dir.read("real.txt"), "new");
}

TEST(SafeFileWriter, AFullDeviceIsWrittenInPlaceAndReportsTheFailure) {
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    SafeFileWriter writer("/dev/full");
    ASSERT_TRUE(writer.isOpen());
    EXPECT_TRUE(writer.wroteInPlace());  // a device is never replaced
    writer.write("data", 4);
    EXPECT_FALSE(writer.commit());
    struct stat st {};
    ASSERT_EQ(::stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(SafeFileWriter, AReadOnlyTargetIsRefusedAndKept) {
    TempDir dir;
    dir.write("locked.txt", "original");
    ::chmod(dir.file("locked.txt").c_str(), 0444);
    {
        SafeFileWriter writer(dir.file("locked.txt"));
        EXPECT_FALSE(writer.isOpen());
        writer.write("new", 3);
        EXPECT_FALSE(writer.commit());
    }
    EXPECT_EQ(dir.read("locked.txt"), "original");
    EXPECT_EQ(entriesIn(dir), 1u);

    // Marked read-only while the new text was being written: the replacement is refused too.
    dir.write("late.txt", "original");
    {
        SafeFileWriter writer(dir.file("late.txt"));
        ASSERT_TRUE(writer.isOpen());
        writer.write("new", 3);
        ::chmod(dir.file("late.txt").c_str(), 0444);
        EXPECT_FALSE(writer.commit());
    }
    EXPECT_EQ(dir.read("late.txt"), "original");
    EXPECT_EQ(entriesIn(dir), 2u);
}

TEST(SafeFileWriter, AFolderRemovedBeforeTheCommitFailsCleanly) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("gone"));
    dir.write("gone/a.txt", "original");
    SafeFileWriter writer(dir.file("gone/a.txt"));
    ASSERT_TRUE(writer.isOpen());
    writer.write("new text", 8);
    std::filesystem::remove_all(dir.file("gone"));
    EXPECT_FALSE(writer.commit());
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone")));
}

TEST(SafeFileWriter, ADiskFillingHalfWayLeavesTheOriginalAndNoTemporaryFile) {
    TempDir dir;
    std::string original(300000, 'o');
    dir.write("big.txt", original);
    std::string replacement(200000, 'n');
    for (size_t limit : {size_t{0}, size_t{1}, size_t{8192}, size_t{100000}, size_t{199999}}) {
        SCOPED_TRACE(limit);
        {
            FileSizeLimit full(limit);
            ASSERT_TRUE(full.active());
            SafeFileWriter writer(dir.file("big.txt"));
            ASSERT_TRUE(writer.isOpen());
            writer.write(replacement.data(), static_cast<int64_t>(replacement.size()));
            EXPECT_FALSE(writer.commit());
        }
        EXPECT_EQ(dir.read("big.txt"), original);
        EXPECT_EQ(entriesIn(dir), 1u);
    }
}

namespace {

size_t openDescriptors() {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

}  // namespace

TEST(SafeFileWriter, AWriterThatCannotTakeItsMemoryCreatesNoFileAndHoldsNoHandle) {
    TempDir dir;
    dir.write("a.txt", "original");
    const size_t descriptors = openDescriptors();
    {
        LargeAllocationsFail noBuffers(32 << 10);
        EXPECT_THROW(SafeFileWriter writer(dir.file("a.txt")), std::bad_alloc);
        EXPECT_THROW(FileWriter writer(dir.file("b.txt")), std::bad_alloc);
    }
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_EQ(dir.read("a.txt"), "original");
    EXPECT_EQ(entriesIn(dir), 1u);
}
