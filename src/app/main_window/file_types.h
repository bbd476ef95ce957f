#pragma once
// The file types offered by the open and save dialogs, "All supported files" first.
#include <optional>
#include <string>
#include <vector>

struct FileType {
    const char* name;
    const char* patterns;  // separated by ';'
};

const std::vector<FileType>& fileTypes();
// name\0patterns\0 ... ended by an empty string, as the legacy dialogs take it.
std::string fileTypeFilterBlock();

inline constexpr const char* kOpenDialogTitle = "Open file";
inline constexpr const char* kSaveDialogTitle = "Save file";
inline constexpr const char* kDefaultExtension = "c";

// A path chosen in a dialog that is longer than the caller can take is refused, not cut
// (cut short it would name another file): answers the message to show, or nothing when the
// path fits.
std::optional<std::string> chosenPathTooLong(const std::string& path, size_t maxBytes);
