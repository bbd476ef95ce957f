#include <gtest/gtest.h>

#include "platform/file_io.h"
#include "win32_temp_dir.h"

namespace {

std::string patternBytes(size_t n) {
    std::string s(n, '\0');
    uint32_t x = 2463534242u;
    for (size_t i = 0; i < n; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        s[i] = static_cast<char>(x);
    }
    return s;
}

// Reads through the reader in uneven pieces, as callers do.
std::string readAll(FileReader& reader, int64_t piece) {
    std::string out;
    std::string buffer(static_cast<size_t>(piece), '\0');
    for (;;) {
        int64_t got = reader.read(buffer.data(), piece);
        if (got <= 0) break;
        out.append(buffer.data(), static_cast<size_t>(got));
    }
    return out;
}

}  // namespace

constexpr size_t kMega = size_t{1} << 20;

TEST(Win32FileReader, ReadsFilesOfEverySizeIdentically) {
    Win32TempDir dir;
    for (size_t size : {size_t{0}, size_t{1}, size_t{8191}, size_t{8192}, size_t{8193}, kMega - 1, kMega, kMega + 1,
                        size_t{10} << 20}) {
        std::string bytes = patternBytes(size);
        std::string path = dir.file(std::to_string(size) + ".r");
        ASSERT_TRUE(Win32TempDir::writeBytes(path, bytes));
        for (auto requests : {FileRequests::Blocks, FileRequests::Large})
        for (int64_t piece : {int64_t{1000}, int64_t{65536}, int64_t{kMega}, int64_t{3} << 20}) {
            if (size > 100000 && piece == 1000) continue;
            FileReader reader(path, requests);
            ASSERT_TRUE(reader.isOpen());
            EXPECT_EQ(reader.size(), static_cast<int64_t>(size));
            EXPECT_EQ(readAll(reader, piece), bytes) << size << " bytes in pieces of " << piece;
            EXPECT_FALSE(reader.failed());
        }
    }
}

TEST(Win32FileReader, MissingFileAndBadArgumentsReadNothing) {
    Win32TempDir dir;
    FileReader reader(dir.file("absent.txt"));
    EXPECT_FALSE(reader.isOpen());
    char c;
    EXPECT_EQ(reader.read(&c, 1), 0);
    ASSERT_TRUE(Win32TempDir::writeBytes(dir.file("x"), "abc"));
    FileReader present(dir.file("x"));
    EXPECT_EQ(present.read(&c, 0), 0);
    EXPECT_EQ(present.read(&c, -5), 0);
}

TEST(Win32FileWriter, WritesEverySizeIdentically) {
    Win32TempDir dir;
    for (size_t size : {size_t{0}, size_t{1}, size_t{8191}, size_t{8192}, size_t{8193}, size_t{16 * 8192 + 5},
                        kMega - 1, kMega, kMega + 1, size_t{10} << 20})
    for (auto requests : {FileRequests::Blocks, FileRequests::Large}) {
        std::string bytes = patternBytes(size);
        std::string path = dir.file(std::to_string(size) + ".w");
        {
            FileWriter writer(path, FileWriter::Mode::Truncate, requests);
            ASSERT_TRUE(writer.isOpen());
            // Uneven pieces cross block and request boundaries; some are larger than a request.
            size_t at = 0, piece = 1;
            while (at < bytes.size()) {
                size_t take = std::min(piece, bytes.size() - at);
                EXPECT_EQ(writer.write(bytes.data() + at, static_cast<int64_t>(take)), static_cast<int64_t>(take));
                at += take;
                piece = piece * 3 + 7;
                if (piece > 3 * kMega) piece = 1;
            }
            writer.flush(true);
            EXPECT_TRUE(writer.ok());
        }
        EXPECT_EQ(Win32TempDir::readBytes(path), bytes) << size << (requests == FileRequests::Large ? " large" : "");
    }
}

TEST(Win32FileWriter, UncreatableFileIsReportedAsFailure) {
    Win32TempDir dir;
    FileWriter writer(dir.file("no-such-folder\\x.txt"));
    EXPECT_FALSE(writer.isOpen());
    writer.write("abc", 3);
    writer.flush(true);
    EXPECT_FALSE(writer.ok());
}

TEST(Win32FilePaths, GreekAndCjkNamesRoundTrip) {
    Win32TempDir dir;
    std::string path = dir.file("\xCE\xB1\xCE\xB2\xCE\xB3-\xE6\xBC\xA2\xE5\xAD\x97.txt");  // αβγ-漢字
    {
        FileWriter writer(path);
        ASSERT_TRUE(writer.isOpen());
        writer.write("hello", 5);
        writer.flush(true);
    }
    EXPECT_EQ(Win32TempDir::readBytes(path), "hello");
    FileReader reader(path);
    ASSERT_TRUE(reader.isOpen());
    EXPECT_EQ(readAll(reader, 100), "hello");
}

TEST(Win32FilePaths, PathsOf300CharactersGoThroughTheLongForm) {
    Win32TempDir dir;
    std::string folder = dir.file(std::string(120, 'd'));
    ASSERT_TRUE(CreateDirectoryW(helperPath(folder).c_str(), nullptr));
    std::string path = folder + "\\" + std::string(300 - folder.size() - 1, 'f');
    ASSERT_EQ(path.size(), 300u);
    {
        FileWriter writer(path);
        ASSERT_TRUE(writer.isOpen());
        writer.write("long", 4);
        writer.flush(true);
        EXPECT_TRUE(writer.ok());
    }
    EXPECT_EQ(Win32TempDir::readBytes(path), "long");
    FileReader reader(path);
    ASSERT_TRUE(reader.isOpen());
    EXPECT_EQ(readAll(reader, 10), "long");
}

TEST(Win32FileReader, OpensAFileHeldOpenForWriting) {
    Win32TempDir dir;
    std::string path = dir.file("busy.txt");
    ASSERT_TRUE(Win32TempDir::writeBytes(path, "first"));
    HANDLE writer = CreateFileW(widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    FileReader reader(path);
    ASSERT_TRUE(reader.isOpen());
    EXPECT_EQ(reader.size(), 5);
    // With write sharing the size is read again before each read.
    SetFilePointer(writer, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(writer, " more", 5, &written, nullptr);
    EXPECT_EQ(readAll(reader, 100), "first more");
    CloseHandle(writer);
}

TEST(Win32FileReader, OpensAFileWithANonAsciiNameHeldOpenForWriting) {
    Win32TempDir dir;
    std::string path = dir.file("\xCE\xB1\xCE\xB2\xCE\xB3-busy.txt");  // αβγ-busy.txt
    ASSERT_TRUE(Win32TempDir::writeBytes(path, "first"));
    HANDLE writer = CreateFileW(widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    // The wide open meets a sharing violation; the narrow try after it must not hide that, or
    // the open with write sharing is never tried.
    FileReader reader(path);
    ASSERT_TRUE(reader.isOpen());
    EXPECT_EQ(readAll(reader, 100), "first");
    CloseHandle(writer);
}

TEST(Win32FileSystem, ADeviceIsASpecialFileAndAPlainFileIsNot) {
    Win32TempDir dir;
    std::string path = dir.file("plain.txt");
    ASSERT_TRUE(Win32TempDir::writeBytes(path, "x"));
    EXPECT_FALSE(file_system::isSpecialFile(path));
    EXPECT_TRUE(file_system::isSpecialFile("NUL"));
    EXPECT_TRUE(file_system::isSpecialFile("\\\\.\\NUL"));
    EXPECT_FALSE(file_system::isSpecialFile(dir.file("missing.txt")));
}
