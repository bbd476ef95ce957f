#include "app/external_editor.h"

ExternalEditorCommand externalEditorCommand(const std::string& systemFolder, const std::string& file) {
    if (systemFolder.empty()) return {};
    bool separated = systemFolder.back() == '\\' || systemFolder.back() == '/';
    return {systemFolder + (separated ? "" : "\\") + kExternalEditorName, commandLineArgument(file)};
}

std::string commandLineArgument(const std::string& text) {
    if (!text.empty() && text.find_first_of(" \t") == std::string::npos) return text;
    return "\"" + text + "\"";
}
