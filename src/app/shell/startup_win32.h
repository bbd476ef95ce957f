#pragma once
#include <windows.h>

// The whole life of the process: start-up, the main window and its loop, shut-down.
int runOrvane(HINSTANCE instance, const wchar_t* commandLine);
