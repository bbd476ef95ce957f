#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/file_io.h"
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
