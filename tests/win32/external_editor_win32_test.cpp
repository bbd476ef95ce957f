#include <gtest/gtest.h>
#include <windows.h>

#include "app/main_window/external_editor_win32.h"
#include "platform/library_search_win32.h"
#include "win32_temp_dir.h"

namespace {

std::string systemFolderOfThisMachine() {
    wchar_t folder[MAX_PATH];
    UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    return narrow(std::wstring(folder, n));
}

std::string testFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::string exe = narrow(path);
    return exe.substr(0, exe.find_last_of("\\/") + 1);
}

// Runs a test with the current folder set to a scratch folder, and puts the old one back.
struct InPlantedFolder : ::testing::Test {
    InPlantedFolder() {
        wchar_t previous[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, previous);
        saved = previous;
        SetCurrentDirectoryW(widen(dir.folder()).c_str());
    }
    ~InPlantedFolder() override { SetCurrentDirectoryW(saved.c_str()); }
    Win32TempDir dir;
    std::wstring saved;
};

}  // namespace

TEST_F(InPlantedFolder, TheEditorIsTheSystemFoldersEvenWithOneOfTheSameNameHere) {
    ASSERT_TRUE(Win32TempDir::writeBytes(dir.file("notepad.exe"), "MZ planted"));
    ExternalEditorCommand command = systemEditorCommand(dir.file("my notes.txt"));
    EXPECT_EQ(command.program, systemFolderOfThisMachine() + "\\notepad.exe");
    EXPECT_NE(GetFileAttributesW(widen(command.program).c_str()), INVALID_FILE_ATTRIBUTES) << command.program;
    EXPECT_EQ(command.parameters, "\"" + dir.file("my notes.txt") + "\"");
}

TEST_F(InPlantedFolder, ALibraryPlantedInTheCurrentFolderIsNotLoadedByName) {
    std::wstring built = widen(testFolder() + "planted_library.dll");
    ASSERT_TRUE(CopyFileW(built.c_str(), widen(dir.file("orvane-planted-before.dll")).c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(built.c_str(), widen(dir.file("orvane-planted-after.dll")).c_str(), FALSE));
    // Unrestricted, the current folder is searched: the test sees a planting work.
    HMODULE before = LoadLibraryW(L"orvane-planted-before.dll");
    ASSERT_NE(before, nullptr);
    FreeLibrary(before);

    ASSERT_TRUE(restrictLibrarySearchToSystemFolder());
    EXPECT_EQ(LoadLibraryW(L"orvane-planted-after.dll"), nullptr);
    // The system's own libraries still load by name.
    EXPECT_NE(LoadLibraryW(L"shell32.dll"), nullptr);
}
