// Folder calls through the UTF-8 platform layer.
#include <windows.h>

#include "app/settings/folders.h"
#include "platform/handles_win32.h"
#include "platform/utf8_win32.h"

namespace {

class Win32FolderPlatform : public FolderPlatform {
public:
    char separator() const override { return '\\'; }

    bool executablePath(std::string& path) override {
        path = utf8::executablePath();
        return !path.empty();
    }

    bool listDirectory(const std::string& pattern, std::vector<DirectoryEntry>& entries) override {
        std::wstring wide;
        if (!utf8::widePath(pattern, false, wide)) return false;
        WIN32_FIND_DATAW found;
        win32::FindHandle search(FindFirstFileW(wide.c_str(), &found));
        if (!search) return false;
        do {
            entries.push_back({utf8::fromWide(found.cFileName), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        } while (FindNextFileW(search.get(), &found));
        return true;
    }

    bool roamingFolder(std::string& folder) override { return utf8::appDataFolder(folder); }

    bool createDirectory(const std::string& path) override { return utf8::createDirectory(path); }
};

}  // namespace

std::unique_ptr<FolderPlatform> makeSystemFolderPlatform() { return std::make_unique<Win32FolderPlatform>(); }
