#pragma once
// The command line names one file: converted to UTF-8 and stripped of every double quote.
// Orvane starts other programs, and itself, with command lines made here.
#include <cstddef>
#include <string>

// The command line is converted into a buffer of 4096 bytes, one of them the terminator.
inline constexpr size_t kCommandLineBytes = 4095;

// Removes every '"', wherever it stands; spaces are kept, so the rest is one path.
std::string commandLinePath(const std::string& utf8);

// A command-line argument as programs read it back: quoted when it is empty or holds a space
// or a tab. A file path holds no double quote and never ends in a backslash, so nothing
// inside needs escaping.
std::string commandLineArgument(const std::string& text);
// The whole command line that starts another Orvane, the program at executable, on file.
std::string instanceCommandLine(const std::string& executable, const std::string& file);
// Whether an Orvane started on file gets all of it (cut short, the path would name another
// file).
bool fitsCommandLine(const std::string& file);
