#include <gtest/gtest.h>

#include "platform/safe_file_writer.h"
#include "win32_temp_dir.h"

namespace {

DWORD attributesOf(const std::string& path) { return GetFileAttributesW(widen(path).c_str()); }

size_t entriesIn(const Win32TempDir& dir) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(widen(dir.folder() + "*").c_str(), &data);
    size_t n = 0;
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") ++n;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return n;
}

bool save(const std::string& path, const std::string& bytes) {
    SafeFileWriter writer(path);
    writer.write(bytes.data(), static_cast<int64_t>(bytes.size()));
    return writer.commit();
}

}  // namespace

TEST(Win32SafeFileWriter, HiddenAndSystemFilesAreSavedAndKeepTheirAttributes) {
    Win32TempDir dir;
    std::string path = dir.file("hidden.ini");
    ASSERT_TRUE(Win32TempDir::writeBytes(path, "old"));
    ASSERT_TRUE(SetFileAttributesW(widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_TRUE(save(path, "new text"));
    EXPECT_EQ(Win32TempDir::readBytes(path), "new text");
    DWORD attributes = attributesOf(path);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(entriesIn(dir), 1u);
}

TEST(Win32SafeFileWriter, AReadOnlyFileIsRefusedAndKept) {
    Win32TempDir dir;
    std::string path = dir.file("\xCE\xB1-locked.txt");
    ASSERT_TRUE(Win32TempDir::writeBytes(path, "original"));
    ASSERT_TRUE(SetFileAttributesW(widen(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(save(path, "new"));
    EXPECT_EQ(Win32TempDir::readBytes(path), "original");
    EXPECT_EQ(entriesIn(dir), 1u);

    // Marked read-only while the new text was written: the move must not replace it either.
    std::string late = dir.file("late.txt");
    ASSERT_TRUE(Win32TempDir::writeBytes(late, "original"));
    {
        SafeFileWriter writer(late);
        ASSERT_TRUE(writer.isOpen());
        writer.write("new", 3);
        ASSERT_TRUE(SetFileAttributesW(widen(late).c_str(), FILE_ATTRIBUTE_READONLY));
        EXPECT_FALSE(writer.commit());
    }
    EXPECT_EQ(Win32TempDir::readBytes(late), "original");
    EXPECT_EQ(entriesIn(dir), 2u);
}

TEST(Win32SafeFileWriter, AFolderRemovedBeforeTheCommitFailsCleanly) {
    Win32TempDir dir;
    std::string folder = dir.file("gone");
    ASSERT_TRUE(CreateDirectoryW(widen(folder).c_str(), nullptr));
    std::string path = folder + "\\a.txt";
    ASSERT_TRUE(Win32TempDir::writeBytes(path, "original"));
    SafeFileWriter writer(path);
    ASSERT_TRUE(writer.isOpen());
    writer.write("new text", 8);
    // Windows will not remove a folder with an open file in it; the folder goes as far as the
    // system lets it, and the commit must fail or succeed without leaving half a file.
    DeleteFileW(widen(path).c_str());
    bool removed = RemoveDirectoryW(widen(folder).c_str());
    bool committed = writer.commit();
    if (removed) {
        EXPECT_FALSE(committed);
    }
    if (committed) {
        EXPECT_EQ(Win32TempDir::readBytes(path), "new text");
    }
}

TEST(Win32SafeFileWriter, AFullDeviceReportsTheFailureAndIsNotReplaced) {
    // Wine shows the host's /dev/full on the Z: drive; it is a character device.
    std::string full = "Z:\\dev\\full";
    HANDLE probe = CreateFileA(full.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE) GTEST_SKIP() << "no full device here";
    CloseHandle(probe);
    // Fatal: a writer that took it for a plain file would try to replace the host's device.
    ASSERT_TRUE(file_system::isSpecialFile(full));
    SafeFileWriter writer(full);
    ASSERT_TRUE(writer.isOpen());
    EXPECT_TRUE(writer.wroteInPlace());
    std::string bytes(100000, 'x');
    writer.write(bytes.data(), static_cast<int64_t>(bytes.size()));
    EXPECT_FALSE(writer.commit());
    EXPECT_TRUE(file_system::isSpecialFile(full));
}

TEST(Win32SafeFileWriter, TheNulDeviceTakesAnyText) {
    EXPECT_TRUE(save("NUL", "anything"));
}
