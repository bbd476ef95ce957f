#pragma once
// The command line names one file: converted to UTF-8 and stripped of every double quote.
#include <string>

// UTF-16 to UTF-8 with surrogate pairs combined, ending before the first character that
// would not fit in maxBytes bytes.
std::string commandLineToUtf8(const std::u16string& wide, size_t maxBytes = 4095);
// Removes every '"', wherever it stands; spaces are kept, so the rest is one path.
std::string commandLinePath(const std::string& utf8);
