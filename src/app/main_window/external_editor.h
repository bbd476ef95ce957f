#pragma once
// The system's text editor, which opens the documentation and the preferences file. It is
// started by its full path in the system folder: by a bare name the shell would look in the
// current folder first, where a downloaded archive may have put a program of that name.
#include <string>

inline constexpr const char* kExternalEditorName = "notepad.exe";

struct ExternalEditorCommand {
    std::string program;     // full path; empty when there is no system folder to name
    std::string parameters;  // the file, quoted when it holds a blank
};

ExternalEditorCommand externalEditorCommand(const std::string& systemFolder, const std::string& file);
