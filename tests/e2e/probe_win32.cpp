// A small Win32 helper for the end-to-end scenarios: reads and sends what X cannot.
//   e2e_probe text "<exact title>"            texts of the window's children (a message box's text)
//   e2e_probe foreground                      title of the window that has the activation
//   e2e_probe workarea                        the primary work area: left top right bottom
//   e2e_probe clipboard                       the clipboard's Unicode text
//   e2e_probe setclipboard "<text>"           puts Unicode text on the clipboard, as another
//                                             program does
//   e2e_probe run "<command line>"            starts the command line as the shell starts a
//                                             registered command (the system splits it)
//   e2e_probe post "<exact title>" MSG WPARAM  posts a message (numbers in decimal or 0x hex)
//   e2e_probe send "<exact title>" MSG WPARAM  sends it and waits for the answer
//   e2e_probe child "<exact title>" ID MSG WPARAM LPARAM
//                                             posts a message to the child window with that id
//   e2e_probe ask "<exact title>" ID MSG WPARAM LPARAM
//                                             sends a message to that child and prints the answer
//   e2e_probe rows "<exact title>" ID             the texts of a list view's rows, one a line
//   e2e_probe move "<exact title>" X Y W H      moves and sizes the window as the program would
//   e2e_probe dpichanged "<exact title>" DPI X Y W H
//                                             sends WM_DPICHANGED with the suggested rectangle,
//                                             placed in the target process's own memory
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
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

long long number(const wchar_t* text) { return std::wcstoll(text, nullptr, 0); }

int dpiChanged(HWND window, int argc, wchar_t** argv) {
    if (argc != 8) return 2;
    int dpi = static_cast<int>(number(argv[3]));
    RECT rect{static_cast<LONG>(number(argv[4])), static_cast<LONG>(number(argv[5])), 0, 0};
    rect.right = rect.left + static_cast<LONG>(number(argv[6]));
    rect.bottom = rect.top + static_cast<LONG>(number(argv[7]));
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return 1;
    void* remote = VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    int status = 1;
    if (remote && WriteProcessMemory(process, remote, &rect, sizeof rect, nullptr)) {
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote));
        status = 0;
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return status;
}

// A list view's item texts, read through memory placed in the list's own process.
int listRows(HWND window, int id) {
    HWND list = GetDlgItem(window, id);
    if (!list) return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return 1;
    constexpr int kUnits = 1024;
    const size_t bytes = sizeof(LVITEMW) + kUnits * sizeof(wchar_t);
    auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; remote && row < rows; ++row) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
        item.cchTextMax = kUnits;
        WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
        wchar_t text[kUnits] = {};
        ReadProcessMemory(process, remote + sizeof(LVITEMW), text, sizeof text - sizeof(wchar_t), nullptr);
        std::printf("%s\n", utf8(text).c_str());
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return remote ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wstring(argv[1]) == L"foreground") {
        wchar_t title[1024] = {};
        if (HWND window = GetForegroundWindow()) GetWindowTextW(window, title, 1024);
        std::printf("%s\n", utf8(title).c_str());
        return 0;
    }
    if (argc == 2 && std::wstring(argv[1]) == L"workarea") {
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        std::printf("%ld %ld %ld %ld\n", work.left, work.top, work.right, work.bottom);
        return 0;
    }
    if (argc == 2 && std::wstring(argv[1]) == L"clipboard") {
        if (!OpenClipboard(nullptr)) return 1;
        HANDLE data = GetClipboardData(CF_UNICODETEXT);
        const auto* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
        if (text) std::printf("%s", utf8(text).c_str());
        if (text) GlobalUnlock(data);
        CloseClipboard();
        return text ? 0 : 1;
    }
    if (argc == 3 && std::wstring(argv[1]) == L"setclipboard") {
        // A window of its own owns the text, as another program's would.
        HWND owner = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        std::wstring text = argv[2];
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        if (!memory || !OpenClipboard(owner)) return 1;
        std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory);
        bool set = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
        return set ? 0 : 1;
    }
    if (argc == 3 && std::wstring(argv[1]) == L"run") {
        std::wstring line = argv[2];
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
            return 1;
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
        return 0;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: see the comment at the top of probe_win32.cpp\n");
        return 2;
    }
    std::wstring command = argv[1];
    HWND window = FindWindowW(nullptr, argv[2]);
    if (!window) return 1;
    if (command == L"text") {
        EnumChildWindows(window, printChild, 0);
        return 0;
    }
    if ((command == L"post" || command == L"send") && argc == 5) {
        UINT message = static_cast<UINT>(number(argv[3]));
        WPARAM wParam = static_cast<WPARAM>(number(argv[4]));
        if (command == L"post") return PostMessageW(window, message, wParam, 0) ? 0 : 1;
        SendMessageW(window, message, wParam, 0);
        return 0;
    }
    if (command == L"child" && argc == 7) {
        HWND child = GetDlgItem(window, static_cast<int>(number(argv[3])));
        if (!child) return 1;
        return PostMessageW(child, static_cast<UINT>(number(argv[4])), static_cast<WPARAM>(number(argv[5])),
                            static_cast<LPARAM>(number(argv[6])))
                   ? 0
                   : 1;
    }
    if (command == L"ask" && argc == 7) {
        HWND child = GetDlgItem(window, static_cast<int>(number(argv[3])));
        if (!child) return 1;
        LRESULT answer = SendMessageW(child, static_cast<UINT>(number(argv[4])), static_cast<WPARAM>(number(argv[5])),
                                      static_cast<LPARAM>(number(argv[6])));
        std::printf("%lld\n", static_cast<long long>(answer));
        return 0;
    }
    if (command == L"move" && argc == 7)
        return SetWindowPos(window, nullptr, static_cast<int>(number(argv[3])), static_cast<int>(number(argv[4])),
                            static_cast<int>(number(argv[5])), static_cast<int>(number(argv[6])),
                            SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 1;
    if (command == L"rows" && argc == 4) return listRows(window, static_cast<int>(number(argv[3])));
    if (command == L"dpichanged") return dpiChanged(window, argc, argv);
    return 2;
}
