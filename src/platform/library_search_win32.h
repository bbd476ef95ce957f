#pragma once
// Where the process looks for a library loaded by name.
#include <windows.h>

// From now on only the system folder: a library of the same name planted beside a document,
// in the current folder or on the PATH is never loaded instead of the system's. The call is
// looked up at run time, since systems before Windows 8 without its update lack it; answers
// whether the restriction holds.
bool restrictLibrarySearchToSystemFolder();
