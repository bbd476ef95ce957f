#pragma once
// The command line names one file: converted to UTF-8 and stripped of every double quote.
#include <string>

// Removes every '"', wherever it stands; spaces are kept, so the rest is one path.
std::string commandLinePath(const std::string& utf8);
