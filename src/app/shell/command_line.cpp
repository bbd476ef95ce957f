#include "app/shell/command_line.h"

#include <algorithm>

std::string commandLinePath(const std::string& utf8) {
    std::string path = utf8;
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
    return path;
}

std::string commandLineArgument(const std::string& text) {
    if (!text.empty() && text.find_first_of(" \t") == std::string::npos) return text;
    return "\"" + text + "\"";
}

std::string instanceCommandLine(const std::string& executable, const std::string& file) {
    return commandLineArgument(executable) + " " + commandLineArgument(file);
}

bool fitsCommandLine(const std::string& file) { return commandLineArgument(file).size() <= kCommandLineBytes; }
