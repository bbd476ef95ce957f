// Process entry: the wide GUI entry point hands the command line (without the program name)
// over to start-up.
#include <windows.h>

#include "app/shell/startup_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) { return runOrvane(instance, commandLine); }
