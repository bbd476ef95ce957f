// Saving keeps what a file is, not only what it holds: a link stays a link and leads to the
// new text, names shared by hard links all see it, and long names save like short ones.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/safe_file_writer.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

bool save(const std::string& path, const std::string& bytes) {
    SafeFileWriter writer(path);
    writer.write(bytes.data(), static_cast<int64_t>(bytes.size()));
    return writer.commit();
}

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

size_t entriesIn(const std::string& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

}  // namespace

TEST(SaveIdentity, ALinkToAFileInAnotherFolderStaysALinkAndLeadsToTheNewText) {
    TempDir dir;
    fs::create_directories(dir.file("shared"));
    fs::create_directories(dir.file("home"));
    dir.write("shared/config", "old");
    fs::create_symlink("../shared/config", dir.file("home/config"));
    ASSERT_TRUE(save(dir.file("home/config"), "new"));
    EXPECT_TRUE(fs::is_symlink(dir.file("home/config")));
    EXPECT_EQ(fs::read_symlink(dir.file("home/config")), "../shared/config");
    EXPECT_EQ(dir.read("shared/config"), "new");
    EXPECT_EQ(entriesIn(dir.file("home")), 1u);
    EXPECT_EQ(entriesIn(dir.file("shared")), 1u);
}

TEST(SaveIdentity, ALinkToAMissingFileCreatesThatFileAndStaysALink) {
    TempDir dir;
    fs::create_directories(dir.file("elsewhere"));
    fs::create_symlink(dir.file("elsewhere/notes.txt"), dir.file("notes.txt"));
    ASSERT_TRUE(save(dir.file("notes.txt"), "first words"));
    EXPECT_TRUE(fs::is_symlink(dir.file("notes.txt")));
    EXPECT_EQ(dir.read("elsewhere/notes.txt"), "first words");
    EXPECT_EQ(entriesIn(dir.folder()), 2u);  // the link and the folder
}

TEST(SaveIdentity, EveryHardLinkSeesTheNewText) {
    TempDir dir;
    dir.write("one.txt", "old text");
    fs::create_hard_link(dir.file("one.txt"), dir.file("two.txt"));
    const ino_t before = inodeOf(dir.file("one.txt"));
    ASSERT_TRUE(save(dir.file("one.txt"), "new text, longer than before"));
    EXPECT_EQ(dir.read("two.txt"), "new text, longer than before");
    EXPECT_EQ(inodeOf(dir.file("one.txt")), before);
    EXPECT_EQ(fs::hard_link_count(dir.file("one.txt")), 2u);
    // Shorter text leaves nothing of the old behind it.
    ASSERT_TRUE(save(dir.file("two.txt"), "short"));
    EXPECT_EQ(dir.read("one.txt"), "short");
    EXPECT_EQ(entriesIn(dir.folder()), 2u);
}

TEST(SaveIdentity, ANameNearTheLimitSavesNewAndExistingThroughAFileBesideIt) {
    TempDir dir;
    const std::string name = std::string(246, 'n') + ".txt";  // 250 characters
    ASSERT_TRUE(save(dir.file(name), "created"));
    EXPECT_EQ(dir.read(name), "created");
    SafeFileWriter writer(dir.file(name));
    ASSERT_TRUE(writer.isOpen());
    // An existing file keeps its safety net: the new text goes to a file beside it.
    EXPECT_FALSE(writer.wroteInPlace());
    writer.write("replaced", 8);
    EXPECT_TRUE(writer.commit());
    EXPECT_EQ(dir.read(name), "replaced");
    EXPECT_EQ(entriesIn(dir.folder()), 1u);
}

TEST(SaveIdentity, ANameTooLongIsToldApartFromARefusal) {
    TempDir dir;
    SafeFileWriter writer(dir.file(std::string(300, 'x')));
    writer.write("text", 4);
    EXPECT_FALSE(writer.commit());
    EXPECT_EQ(writer.error(), FileError::NameTooLong);
    EXPECT_EQ(entriesIn(dir.folder()), 0u);
}
