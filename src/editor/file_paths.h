#pragma once
// How a UTF-8 path is handed to the platform: the wide API for paths with non-ASCII UTF-8
// or of 256 bytes and more, with the long-path prefix for long wide paths.
#include <string>

// True when the path holds a well-formed multi-byte UTF-8 sequence or is 256 bytes or longer.
bool pathWantsWideApi(const std::string& utf8Path);

// For a wide path of 256 or more units: "\\?\" before a drive path, "\\?\UNC\" in place of
// the two leading backslashes of a network path; anything else unchanged.
std::u16string longPathForm(const std::u16string& widePath);

// Strict UTF-8 to UTF-16 (false on any invalid or overlong sequence).
bool utf8ToUtf16Strict(const std::string& utf8, std::u16string& out);
