#pragma once
// The open and save dialogs with the program's file types, starting in the current folder.
#include <windows.h>

#include <string>

// The chosen path, or false when cancelled. With keepDirectory the current directory is put
// back afterwards; otherwise a folder change made in the dialog stays.
bool choose_file_for_open(HWND owner, bool keepDirectory, std::string& path);
// The chosen path (at most 2047 bytes), or false when cancelled. The current directory is
// always put back.
bool choose_file_for_save(HWND owner, std::string& path);

// Opens "preferences.txt" of the data folder in the external text editor.
void prefs_open_external(const std::string& dataFolder, HWND owner);
