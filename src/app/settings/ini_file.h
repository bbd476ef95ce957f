#pragma once
// Plain INI files read and written with the rules of the platform's private-profile calls:
// section and key names compare case-insensitively, values are trimmed, a key written again
// is updated in place and every other line of the file is kept as it was.
#include <optional>
#include <string>
#include <string_view>

// The value of key in section, trimmed and without surrounding quotes; nothing when the
// section or key is missing. The first of duplicate sections or keys wins.
std::optional<std::string> iniFindValue(std::string_view text, std::string_view section, std::string_view key);

// Leading blanks, an optional sign and the leading digits, as the platform reads them:
// defaultValue for an empty value, 0 for a value with no digits.
int iniParseInt(std::string_view value, int defaultValue);

// The file text with key set to value: the existing line replaced, else a new line at the
// end of the section, else a new section at the end. New lines end with CR LF.
std::string iniWithValue(std::string_view text, std::string_view section, std::string_view key,
                           std::string_view value);

// File forms: a missing file reads as empty and is created on write.
int iniGetInt(const std::string& path, std::string_view section, std::string_view key, int defaultValue);
bool iniSetString(const std::string& path, std::string_view section, std::string_view key, std::string_view value);
