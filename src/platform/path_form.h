#pragma once
// Which form of a platform call a UTF-8 path takes, and how a long wide path is rewritten.
#include <string>

// Paths with multi-byte UTF-8, or of 256 bytes and more, use the wide calls.
bool pathNeedsWideCall(const std::string& utf8Path);

// A wide path of 256 units or more gets "\\?\" before a drive letter or "\\?\UNC\" in place
// of two leading backslashes, and every "/" after the prefix becomes "\". Shorter paths and
// other forms stay as they are.
std::u16string platformLongPath(const std::u16string& widePath);
