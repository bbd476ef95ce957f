#pragma once
// Opens a file in the system's text editor (see external_editor.h).
#include <windows.h>

#include <string>

#include "app/main_window/external_editor.h"

// The editor in the system folder, or in the Windows folder where the system folder has
// none; the program is empty when neither folder can be named.
ExternalEditorCommand systemEditorCommand(const std::string& file);
// Starts it on file (shown normally, owner for any message the shell shows). A failure is
// silent, as the shell's own is.
void openInExternalEditor(HWND owner, const std::string& file);
