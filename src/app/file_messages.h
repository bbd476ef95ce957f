#pragma once
// What the user is told when a file cannot be read or written, or memory runs out.
#include <string>

inline constexpr const char* kErrorCaption = "Orvane error";

std::string saveFailedMessage(const std::string& path);
// The file had to be written in place (its folder takes no new file), so it may be incomplete.
std::string saveFailedInPlaceMessage(const std::string& path);
std::string openFailedMessage(const std::string& path);
std::string readFailedMessage(const std::string& path);
std::string loadOutOfMemoryMessage(const std::string& path);
