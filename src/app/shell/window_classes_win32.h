#pragma once
#include <windows.h>

// Registers the dialog-derived classes of the program's windows and the editor window class.
void registerWindowClasses(HINSTANCE instance, HICON icon);
