#include "app/main_window/file_types.h"

#include "text/utf8.h"

const std::vector<FileType>& fileTypes() {
    static const std::vector<FileType> types = {
        {"All supported files",
         "*.c;*.h;*.cpp;*.cc;*.txt;*.asm;*.s;*.S;*.m;*.mm;*.sql;*.cs;*.java;*.js;*.pl;*.php;*.mak;*.mk;*.sh;*.bat;"
         "*.cmd;*.nsi;*.tex;*.lua;*.eel;*.kc;*.html;*.css;*.xml"},
        {"C files (*.c;*.h)", "*.c;*.h"},
        {"C++ files (*.cpp;*.h;*.cc)", "*.cpp;*.h;*.cc"},
        {"Assembly files (*.asm;*.s;*.S)", "*.asm;*.s;*.S"},
        {"Text files (*.txt)", "*.txt"},
        {"C# files (*.cs)", "*.cs"},
        {"Java files (*.java)", "*.java"},
        {"JavaScript files (*.js)", "*.js"},
        {"Objective-C files (*.h;*.m;*.mm)", "*.h;*.m;*.mm"},
        {"SQL files (*.sql)", "*.sql"},
        {"Perl files (*.pl)", "*.pl"},
        {"PHP files (*.php)", "*.php"},
        {"Makefile files (*.mak;*.mk)", "*.mak;*.mk"},
        {"Shell files (*.sh)", "*.sh"},
        {"Batch files (*.bat;*.cmd)", "*.bat;*.cmd"},
        {"NSIS files (*.nsi)", "*.nsi"},
        {"TeX files (*.tex)", "*.tex"},
        {"Lua files (*.lua)", "*.lua"},
        {"EEL2 files (*.eel)", "*.eel"},
        {"KC files (*.kc)", "*.kc"},
        {"HTML files (*.html)", "*.html"},
        {"CSS files (*.css)", "*.css"},
        {"XML files (*.xml)", "*.xml"},
        {"All files (*.*)", "*.*"},
    };
    return types;
}

std::string fileTypeFilterBlock() {
    std::string block;
    for (const FileType& type : fileTypes()) {
        block += type.name;
        block.push_back('\0');
        block += type.patterns;
        block.push_back('\0');
    }
    block.push_back('\0');
    return block;
}

std::optional<std::string> chosenPathTooLong(const std::string& path, size_t maxBytes) {
    if (path.size() <= maxBytes) return std::nullopt;
    // The path is shown cut at a character boundary: a message box takes any length, a
    // reader does not.
    std::string shown = path.substr(0, fitOnCharacterBoundary(path, 1024));
    return "Orvane cannot use this path: it is longer than " + std::to_string(maxBytes) + " bytes.\n\n" + shown +
           (shown.size() < path.size() ? "..." : "");
}
