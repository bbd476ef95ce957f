#include "app/windows/about_credits.h"

#include <iterator>

#include "app/shell/version_text.h"

namespace {

// Every line after the build's own four and their gap; the comments give the line index.
const char* const kFixedCredits[] = {
    "Developed by:",                         // 5
    "The Orvane developers",
    "",
    "Windows API:",                          // 8: the window toolkit the program builds on
    "Microsoft Corporation",
    "(Empower every person and every organization on the planet to achieve more)",
    "",
    "Skinned scrollbar:",                    // 12
    "The Orvane developers",
    "",
    "cJSON:",                                // 15
    "Dave Gamble",
    "and the cJSON contributors",
    "",
    "libpng:",                               // 19
    "Guy Eric Schalnat",
    "Group 42, Inc.",
    "Andreas Dilger",
    "Dave Martindale",
    "Paul Schmidt",
    "Tim Wegner",
    "Tom Lane",
    "Glenn Randers-Pehrson",
    "Willem van Schaik",
    "John Bowler",
    "Kevin Bracey",
    "Sam Bushell",
    "Magnus Holmgren",
    "Greg Roelofs",
    "Tom Tanner",
    "Simon-Pierre Cadieux",
    "Eric S. Raymond",
    "Gilles Vollant",
    "Cosmin Truta",
    "Adam M. Costello",
    "",
    // The runtime this build is linked with statically stands where a random-number
    // generator would.
    "MinGW-w64 runtime:",                    // 41
    "The mingw-w64 project",
    "The GNU Compiler Collection",
    "GNU libstdc++",
    "winpthreads",
    "",
    "zlib:",                                 // 47
    "Jean-loup Gailly",
    "Mark Adler",
    "",
    "Windows installer:",                    // 51
    "Nullsoft Scriptable Install System (NSIS)",
    "Compressor | ZLIB",
    "",
    "Windows portable:",                     // 55
    "Archive format | ZIP",
    "",
    "Thanks to the projects that build and test Orvane",  // 58
    "for their assistance:",
    "Wine",
    "Debian",
    "CMake and GoogleTest",
    "and",
    "X.Org (Xvfb) and xdotool",
    "",
    "Contact | email:",                      // 66
    "developers@orvane.org",
    "",
    "Orvane",                                // 69
    "Released under the MIT License",
};

}  // namespace

CreditsTable aboutCredits(const std::string& buildTimestamp, const std::string& revision) {
    CreditsTable table;
    table.lines = {
        "Orvane",  // 0
        "Version: " + productVersion() + " (x64)",
        "Build timestamp: " + buildTimestamp,
        "Git commit: " + revision,
        "",
    };
    table.lines.insert(table.lines.end(), std::begin(kFixedCredits), std::end(kFixedCredits));
    table.alternative.assign(table.lines.size(), std::string());
    // The same names in Cyrillic letters.
    table.alternative[0] = "\xD0\x9E\xD1\x80\xD0\xB2\xD0\xB0\xD0\xBD\xD0\xB5";  // Орване
    table.alternative[6] = "\xD0\xA0\xD0\xB0\xD0\xB7\xD1\x80\xD0\xB0\xD0\xB1\xD0\xBE\xD1\x82\xD1\x87\xD0\xB8\xD0\xBA\xD0\xB8 "
                           "\xD0\x9E\xD1\x80\xD0\xB2\xD0\xB0\xD0\xBD\xD0\xB5";  // Разработчики Орване
    table.alternative[69] = table.alternative[0];
    return table;
}
