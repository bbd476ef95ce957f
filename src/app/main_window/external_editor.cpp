#include "app/main_window/external_editor.h"

#include "app/shell/command_line.h"

ExternalEditorCommand externalEditorCommand(const std::string& systemFolder, const std::string& file) {
    if (systemFolder.empty()) return {};
    bool separated = systemFolder.back() == '\\' || systemFolder.back() == '/';
    return {systemFolder + (separated ? "" : "\\") + kExternalEditorName, commandLineArgument(file)};
}
