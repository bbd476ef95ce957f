#pragma once
// UTF-8 entry points over the Win32 calls that take or return text. Each converts at the
// boundary and picks the wide or the narrow form of the call.
#include <windows.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace utf8 {

// UTF-16 <-> UTF-8 for platform strings (invalid UTF-16 becomes U+FFFD).
std::string fromWide(const wchar_t* wide, int length = -1);
// Strict conversion; false when the text is not valid UTF-8.
bool toWideStrict(const std::string& text, std::wstring& wide);
// The wide path for a path-taking call, with the long-path rewrite when asked.
bool widePath(const std::string& path, bool longForm, std::wstring& wide);

// The UTF-16 form a text-taking call (a window text, a message box) gets: the text itself
// when it looks like UTF-8, else its bytes in the system's code page.
std::wstring displayText(const char* text);

bool setWindowText(HWND window, const char* text);
bool setDlgItemText(HWND dialog, int item, const char* text);
// At most 2047 bytes.
std::string getWindowText(HWND window);
// Always a single OK button.
int messageBox(HWND owner, const char* text, const char* caption, UINT iconFlags = 0);

bool appDataFolder(std::string& folder);
std::string executablePath();
// The system folder (GetSystemDirectory) and the Windows folder, without a trailing
// separator; empty when the system cannot say.
std::string systemFolder();
std::string windowsFolder();
std::string currentDirectory();
bool setCurrentDirectory(const std::string& path);
bool createDirectory(const std::string& path);
HMODULE loadLibrary(const char* name);
FILE* openFile(const std::string& path, const char* mode);
bool fileStatus(const std::string& path, struct _stat64* status);
HINSTANCE shellExecute(HWND owner, const char* verb, const char* file, const char* parameters, int show);

UINT iniGetInt(const char* section, const char* key, int fallback, const std::string& iniPath);
bool iniWriteString(const char* section, const char* key, const char* value, const std::string& iniPath);

// The legacy common file dialogs with UTF-8 filter, title and result.
struct FileDialogRequest {
    HWND owner = nullptr;
    const char* filter = nullptr;  // name\0pattern\0...\0\0
    int filterIndex = 1;
    const char* title = nullptr;
    const char* defaultExtension = nullptr;
    std::string initialDirectory;
    DWORD flags = 0;
};
bool getOpenFileName(const FileDialogRequest& request, std::string& path);
bool getSaveFileName(const FileDialogRequest& request, std::string& path);

// Lets a list view take UTF-8 through its narrow item and column messages.
void attachListViewAdapter(HWND listView);

}  // namespace utf8
