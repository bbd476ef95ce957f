#pragma once
// Where the program keeps its files: the executable folder, and the data folder that is the
// "portable" sub-folder of it when that exists, else a folder in the user's roaming
// application data. The platform calls sit behind FolderPlatform so the decision is tested
// without touching the machine.
#include <memory>
#include <string>
#include <vector>

class AppContext;

struct DirectoryEntry {
    std::string name;
    bool isDirectory = false;
};

class FolderPlatform {
public:
    virtual ~FolderPlatform() = default;
    // The separator appended to folders ('\' on Windows).
    virtual char separator() const = 0;
    virtual bool executablePath(std::string& path) = 0;
    // The entries matching a "folder\*" pattern; false when the folder cannot be listed.
    virtual bool listDirectory(const std::string& pattern, std::vector<DirectoryEntry>& entries) = 0;
    virtual bool roamingFolder(std::string& folder) = 0;
    virtual bool createDirectory(const std::string& path) = 0;
};

// The platform's own folder calls.
std::unique_ptr<FolderPlatform> makeSystemFolderPlatform();

inline constexpr const char* kPortableFolder = "portable";
inline constexpr const char* kIniFile = "orvane.ini";

// Fills the executable folder, data folder and INI path. Fails only when portable mode is
// off and the roaming folder cannot be obtained; the presence of "portable" alone decides,
// with no fallback either way.
bool resolve_folders(AppContext& context, FolderPlatform& platform);
bool resolve_folders(AppContext& context);
