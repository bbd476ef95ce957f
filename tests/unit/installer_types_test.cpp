#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "app/main_window/file_types.h"

namespace {

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

// "Open with" offers Orvane for exactly the types its open dialog lists (the registry does not
// tell letter cases apart, so *.s and *.S are one type there).
TEST(InstallerTypes, TheInstallerRegistersTheOpenDialogsTypes) {
    std::ifstream script(ORVANE_SOURCE_DIR "/res/orvane.nsi");
    ASSERT_TRUE(script.is_open());
    std::stringstream text;
    text << script.rdbuf();
    std::set<std::string> registered;
    const std::string all = text.str();
    const std::regex line(R"re(!insertmacro SupportedType "(\.[^"]+)")re");
    for (std::sregex_iterator it(all.begin(), all.end(), line), end; it != end; ++it) registered.insert(lower((*it)[1]));

    std::set<std::string> offered;
    for (const FileType& type : fileTypes()) {
        std::stringstream patterns(type.patterns);
        for (std::string pattern; std::getline(patterns, pattern, ';');)
            if (pattern != "*.*") offered.insert(lower(pattern.substr(1)));
    }
    EXPECT_EQ(registered, offered);
}
