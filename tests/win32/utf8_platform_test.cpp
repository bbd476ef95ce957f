#include <gtest/gtest.h>

#include "platform/utf8_win32.h"

#include <commctrl.h>
#include "win32_temp_dir.h"

namespace {
const char* const kGreek = "\xCE\xB1\xCE\xB2\xCE\xB3";               // αβγ
const char* const kCjk = "\xE6\xBC\xA2\xE5\xAD\x97";                 // 漢字
const wchar_t* const kGreekWide = L"\x03B1\x03B2\x03B3";

bool wideFileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
}  // namespace

TEST(Utf8Platform, DirectoriesAndFilesWithNonAsciiNames) {
    Win32TempDir dir;
    std::string folder = dir.file(kGreek);
    ASSERT_TRUE(utf8::createDirectory(folder));
    EXPECT_TRUE(wideFileExists(widen(folder)));
    std::string before = utf8::currentDirectory();
    ASSERT_TRUE(utf8::setCurrentDirectory(folder));
    EXPECT_EQ(utf8::currentDirectory(), folder);
    utf8::setCurrentDirectory(before);

    std::string file = folder + "\\" + kCjk + ".txt";
    FILE* out = utf8::openFile(file, "wb");
    ASSERT_NE(out, nullptr);
    fputs("text", out);
    fclose(out);
    EXPECT_EQ(Win32TempDir::readBytes(file), "text");
    struct _stat64 status {};
    ASSERT_TRUE(utf8::fileStatus(file, &status));
    EXPECT_EQ(status.st_size, 4);
    EXPECT_FALSE(utf8::fileStatus(folder + "\\absent", &status));
}

TEST(Utf8Platform, BytesThatAreNotUtf8GoToTheNarrowCall) {
    Win32TempDir dir;
    // 0xE9 alone is Latin-1 "é": the narrow call reads it in the ANSI code page.
    std::string latin1 = dir.file("caf\xE9");
    ASSERT_TRUE(utf8::createDirectory(latin1));
    wchar_t converted[8] = {};
    MultiByteToWideChar(CP_ACP, 0, "caf\xE9", -1, converted, 8);
    EXPECT_TRUE(wideFileExists(widen(dir.folder()) + converted));
}

TEST(Utf8Platform, LongPathsUseThePrefixedWideForm) {
    Win32TempDir dir;
    std::string path = dir.folder();
    while (path.size() < 292) {
        path += std::string(60, 'p');
        ASSERT_TRUE(utf8::createDirectory(path)) << path.size();
        path += "/";  // forward slashes are turned into backslashes after the prefix
    }
    path += "file.txt";
    ASSERT_GE(path.size(), 300u);
    FILE* out = utf8::openFile(path, "wb");
    ASSERT_NE(out, nullptr);
    fputs("deep", out);
    fclose(out);
    struct _stat64 status {};
    EXPECT_TRUE(utf8::fileStatus(path, &status));
    EXPECT_EQ(status.st_size, 4);
}

TEST(Utf8Platform, FailedWideWriteOpenDoesNotFallBack) {
    Win32TempDir dir;
    EXPECT_EQ(utf8::openFile(dir.file(std::string(kGreek) + "\\missing\\x.txt"), "w"), nullptr);
}

TEST(Utf8Platform, WindowTextsRoundTripOnWideAndNarrowWindows) {
    HWND wide = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(wide);
    ASSERT_TRUE(utf8::setWindowText(wide, kGreek));
    EXPECT_EQ(utf8::getWindowText(wide), kGreek);
    utf8::setWindowText(wide, kCjk);
    EXPECT_EQ(utf8::getWindowText(wide), kCjk);
    DestroyWindow(wide);

    WNDCLASSA narrowClass{};
    narrowClass.lpfnWndProc = DefWindowProcA;
    narrowClass.hInstance = GetModuleHandleA(nullptr);
    narrowClass.lpszClassName = "orvane_test_narrow";
    RegisterClassA(&narrowClass);
    HWND narrow = CreateWindowExA(0, "orvane_test_narrow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  narrowClass.hInstance, nullptr);
    ASSERT_TRUE(narrow);
    ASSERT_FALSE(IsWindowUnicode(narrow));
    ASSERT_TRUE(utf8::setWindowText(narrow, kGreek));
    wchar_t buffer[16] = {};
    GetWindowTextW(narrow, buffer, 16);
    EXPECT_STREQ(buffer, kGreekWide);
    DestroyWindow(narrow);
}

TEST(Utf8Platform, IniValuesAtANonAsciiPath) {
    Win32TempDir dir;
    std::string ini = dir.file(std::string(kCjk) + ".ini");
    EXPECT_EQ(utf8::iniGetInt("orvane", "main_wnd_x", 50, ini), 50u);
    ASSERT_TRUE(utf8::iniWriteString("orvane", "main_wnd_x", "-12", ini));
    ASSERT_TRUE(utf8::iniWriteString("orvane", "main_wnd_w", "1120", ini));
    EXPECT_EQ(static_cast<int>(utf8::iniGetInt("orvane", "main_wnd_x", 50, ini)), -12);
    EXPECT_EQ(utf8::iniGetInt("orvane", "main_wnd_w", 0, ini), 1120u);
}

TEST(Utf8Platform, ListViewAdapterStoresUtf8Labels) {
    InitCommonControls();
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_TRUE(list);
    utf8::attachListViewAdapter(list);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 80;
    column.pszText = const_cast<char*>(kCjk);
    ASSERT_EQ(SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column)), 0);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char*>(kGreek);
    ASSERT_EQ(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), 0);
    wchar_t wide[16] = {};
    LVITEMW query{};
    query.pszText = wide;
    query.cchTextMax = 16;
    SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&query));
    EXPECT_STREQ(wide, kGreekWide);
    char narrow[32] = {};
    LVITEMA back{};
    back.pszText = narrow;
    back.cchTextMax = 32;
    SendMessageA(list, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&back));
    EXPECT_STREQ(narrow, kGreek);
    DestroyWindow(list);
}

TEST(Utf8Platform, ExecutablePathEndsWithTheTestExe) {
    std::string exe = utf8::executablePath();
    ASSERT_GT(exe.size(), 15u);
    EXPECT_EQ(exe.substr(exe.size() - 15), "win32_tests.exe");
    std::string roaming;
    EXPECT_TRUE(utf8::appDataFolder(roaming));
    EXPECT_FALSE(roaming.empty());
}

TEST(Utf8Platform, LongWindowTextsAreCutOnACharacterBoundary) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    std::string text = std::string(2046, 'a') + "\xC3\xA9";  // the é would straddle byte 2047
    ASSERT_TRUE(utf8::setWindowText(window, text.c_str()));
    std::string back = utf8::getWindowText(window);
    EXPECT_EQ(back, std::string(2046, 'a'));
    DestroyWindow(window);
}

// A narrow window procedure of the program's own (the system's DefWindowProcA would be
// recognised and bypassed).
LRESULT CALLBACK narrowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(Utf8Platform, AnOwnedNarrowPopupGetsItsUnicodeTitleAndKeepsWorking) {
    WNDCLASSA narrowClass{};
    narrowClass.lpfnWndProc = narrowProcedure;
    narrowClass.hInstance = GetModuleHandleA(nullptr);
    narrowClass.lpszClassName = "orvane_test_narrow_owned";
    RegisterClassA(&narrowClass);
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    // A pop-up with an owner: GetParent answers the owner, yet the window is top-level.
    HWND popup = CreateWindowExA(0, "orvane_test_narrow_owned", "", WS_POPUP, 0, 0, 10, 10, owner, nullptr,
                                 narrowClass.hInstance, nullptr);
    ASSERT_TRUE(popup);
    ASSERT_EQ(GetParent(popup), owner);
    ASSERT_TRUE(utf8::setWindowText(popup, kGreek));
    // The title as the system keeps and draws it (reading it back through the narrow
    // procedure would pass it through the code page again).
    wchar_t buffer[16] = {};
    InternalGetWindowText(popup, buffer, 16);
    EXPECT_STREQ(buffer, kGreekWide);
    // Its own procedure is back in place: narrow texts still go through it.
    ASSERT_TRUE(SetWindowTextA(popup, "plain"));
    char narrowBuffer[16] = {};
    GetWindowTextA(popup, narrowBuffer, 16);
    EXPECT_STREQ(narrowBuffer, "plain");
    DestroyWindow(popup);
    DestroyWindow(owner);
}

TEST(Utf8Platform, TextThatIsNotUtf8IsShownInTheCodePage) {
    EXPECT_EQ(utf8::displayText(kGreek), kGreekWide);
    if (GetACP() != 1252) GTEST_SKIP() << "the check below is for code page 1252";
    // 0x80 is the euro sign in code page 1252, not U+0080.
    EXPECT_EQ(utf8::displayText("caf\xE9 \x80"), L"caf\x00E9 \x20AC");
}
