#include "app/main_window/external_editor_win32.h"

#include "platform/utf8_win32.h"

namespace {

bool fileExists(const std::string& path) {
    struct _stat64 status {};
    return utf8::fileStatus(path, &status);
}

}  // namespace

ExternalEditorCommand systemEditorCommand(const std::string& file) {
    ExternalEditorCommand command = externalEditorCommand(utf8::systemFolder(), file);
    if (command.program.empty() || !fileExists(command.program)) {
        ExternalEditorCommand inWindowsFolder = externalEditorCommand(utf8::windowsFolder(), file);
        if (!inWindowsFolder.program.empty() && fileExists(inWindowsFolder.program)) return inWindowsFolder;
    }
    return command;
}

void openInExternalEditor(HWND owner, const std::string& file) {
    ExternalEditorCommand command = systemEditorCommand(file);
    if (command.program.empty()) return;
    utf8::shellExecute(owner, nullptr, command.program.c_str(), command.parameters.c_str(), SW_SHOWNORMAL);
}
