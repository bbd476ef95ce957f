#pragma once
// What the user is told when a file cannot be read or written, or memory runs out.
#include <string>

#include "editor/document_file.h"
#include "editor/file_format.h"

inline constexpr const char* kErrorCaption = "Orvane error";
inline constexpr const char* kNoticeCaption = "Orvane";

// A save that did not happen: why, and where the text and the file stand.
std::string saveFailedMessage(const std::string& path, const SaveOutcome& outcome);
std::string openFailedMessage(const std::string& path);
std::string readFailedMessage(const std::string& path);
std::string loadOutOfMemoryMessage(const std::string& path);
// Told once when a file is opened whose bytes the lines cannot all hold; empty for any other.
std::string loadedWithBytesOutOfReachMessage(const std::string& path, const FileFormat& format);
