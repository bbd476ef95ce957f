// A small Win32 helper for the end-to-end scenarios: reads what X cannot tell, such as the
// texts inside a message box. Usage: e2e_probe text "<exact window title>"
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const wchar_t* wide) {
    int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, s.data(), n, nullptr, nullptr);
    s.resize(s.size() - 1);
    return s;
}

BOOL CALLBACK printChild(HWND child, LPARAM) {
    wchar_t text[4096];
    GetWindowTextW(child, text, 4096);
    if (text[0]) std::printf("%s\n", utf8(text).c_str());
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"text") {
        HWND window = FindWindowW(nullptr, argv[2]);
        if (!window) return 1;
        EnumChildWindows(window, printChild, 0);
        return 0;
    }
    std::fprintf(stderr, "usage: e2e_probe text TITLE\n");
    return 2;
}
