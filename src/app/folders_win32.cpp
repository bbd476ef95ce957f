// Folder calls through the wide Win32 functions.
#include <windows.h>
#include <shlobj.h>

#include "app/folders.h"
#include "app/wide_string_win32.h"

namespace {

constexpr DWORD kPathUnits = 4096;

class Win32FolderPlatform : public FolderPlatform {
public:
    char separator() const override { return '\\'; }

    bool executablePath(std::string& path) override {
        std::wstring buffer(kPathUnits, L'\0');
        DWORD units = GetModuleFileNameW(nullptr, buffer.data(), kPathUnits);
        if (units == 0 || units >= kPathUnits) return false;
        path = fromWide(buffer.c_str());
        return true;
    }

    bool listDirectory(const std::string& pattern, std::vector<DirectoryEntry>& entries) override {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(toWide(pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return false;
        do {
            entries.push_back({fromWide(found.cFileName), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return true;
    }

    bool roamingFolder(std::string& folder) override {
        wchar_t buffer[MAX_PATH] = {};
        if (!SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_APPDATA, FALSE)) return false;
        folder = fromWide(buffer);
        return true;
    }

    bool createDirectory(const std::string& path) override {
        return CreateDirectoryW(toWide(path).c_str(), nullptr) != 0;
    }
};

}  // namespace

std::unique_ptr<FolderPlatform> makeSystemFolderPlatform() { return std::make_unique<Win32FolderPlatform>(); }
