#pragma once
// Which form of a platform call a UTF-8 path takes, and how a long wide path is rewritten.
#include <string>
#include <string_view>

// Paths with valid multi-byte UTF-8, or of 256 bytes and more, use the wide calls; anything
// else (plain ASCII, or bytes that are not UTF-8) goes to the narrow call unchanged.
bool pathNeedsWideCall(std::string_view utf8Path);

// A wide path of 256 units or more gets "\\?\" before a drive letter or "\\?\UNC\" in place
// of two leading backslashes, and every "/" after the prefix becomes "\". Shorter paths and
// other forms stay as they are.
std::u16string longPathForm(const std::u16string& widePath);
