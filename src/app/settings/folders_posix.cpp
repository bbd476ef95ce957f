// Folder calls for the native build: the executable from /proc, the XDG configuration
// folder standing in for the roaming application-data folder.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "app/settings/folders.h"

namespace {

class PosixFolderPlatform : public FolderPlatform {
public:
    char separator() const override { return '/'; }

    bool executablePath(std::string& path) override {
        std::error_code ec;
        std::filesystem::path target = std::filesystem::read_symlink("/proc/self/exe", ec);
        if (ec) return false;
        path = target.string();
        return true;
    }

    bool listDirectory(const std::string& pattern, std::vector<DirectoryEntry>& entries) override {
        std::string_view folder = pattern;
        if (folder.ends_with("/*")) folder.remove_suffix(2);
        std::filesystem::path where = folder.empty() ? std::filesystem::path("/") : std::filesystem::path(folder);
        std::error_code ec;
        std::filesystem::directory_iterator it(where, ec);
        if (ec) return false;
        for (const auto& entry : it) {
            std::error_code kindError;
            entries.push_back({entry.path().filename().string(), entry.is_directory(kindError)});
        }
        return true;
    }

    bool roamingFolder(std::string& folder) override {
        if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
            folder = config;
            return true;
        }
        const char* home = std::getenv("HOME");
        if (!home || !*home) return false;
        folder = std::string(home) + "/.config";
        return true;
    }

    bool createDirectory(const std::string& path) override {
        std::error_code ec;
        return std::filesystem::create_directory(path, ec);
    }
};

}  // namespace

std::unique_ptr<FolderPlatform> makeSystemFolderPlatform() { return std::make_unique<PosixFolderPlatform>(); }
