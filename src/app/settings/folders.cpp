#include "app/settings/folders.h"

#include "app/shell/app_context.h"

namespace {

// The text up to and including the last '\' or '/'; empty when there is none.
std::string folderOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string nameOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool hasPortableFolder(FolderPlatform& platform, const std::string& executableFolder) {
    std::string folder = executableFolder;
    if (!folder.empty()) folder.pop_back();
    std::vector<DirectoryEntry> entries;
    if (!platform.listDirectory(folder + platform.separator() + "*", entries)) return false;
    for (const DirectoryEntry& entry : entries) {
        // Case matters: "Portable" is somebody's ordinary folder.
        if (entry.isDirectory && nameOf(entry.name) == kPortableFolder) return true;
    }
    return false;
}

}  // namespace

bool resolve_folders(AppContext& context, FolderPlatform& platform) {
    std::string executable;
    platform.executablePath(executable);
    context.executableFolder = folderOf(executable);
    const char separator = platform.separator();

    if (hasPortableFolder(platform, context.executableFolder)) {
        context.dataFolder = context.executableFolder + kPortableFolder + separator;
    } else {
        std::string roaming;
        if (!platform.roamingFolder(roaming)) return false;
        std::string folder = roaming + separator + "Orvane";
        // An existing folder is the usual case; any other failure shows up later as
        // preference files that cannot be written.
        platform.createDirectory(folder);
        context.dataFolder = folder + separator;
    }
    context.iniPath = context.dataFolder + kIniFile;
    return true;
}

bool resolve_folders(AppContext& context) {
    std::unique_ptr<FolderPlatform> platform = makeSystemFolderPlatform();
    return resolve_folders(context, *platform);
}
