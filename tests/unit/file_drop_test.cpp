#include <gtest/gtest.h>

#include <random>

#include "app/shell/command_line.h"
#include "app/main_window/file_drop.h"

TEST(FileDrop, TheFirstFileOpensHereEachFurtherFileInAWindowOfItsOwnFoldersNowhere) {
    DropPlan plan = planDrop({{"C:\\src", true},
                              {"C:\\src\\main.c", false},
                              {"C:\\notes", true},
                              {"C:\\src\\a b.h", false},
                              {"C:\\readme.txt", false}});
    EXPECT_EQ(plan.openHere, "C:\\src\\main.c");
    EXPECT_EQ(plan.openInNewWindows, (std::vector<std::string>{"C:\\src\\a b.h", "C:\\readme.txt"}));

    DropPlan onlyFolders = planDrop({{"C:\\src", true}, {"D:\\", true}});
    EXPECT_TRUE(onlyFolders.openHere.empty());
    EXPECT_TRUE(onlyFolders.openInNewWindows.empty());
}

// The Orvane started for a dropped file reads back exactly that file: its command line, less
// the program's name, loses every quote and keeps every blank.
TEST(FileDrop, AnotherOrvaneGetsBackAnyPathItIsStartedOn) {
    const std::string executable = "C:\\Program Files\\Orvane\\orvane.exe";
    const std::string pieces[] = {"a", "Z", "\\", " ", "\t", ".", "-", "\xC3\xA9", "\xE6\x97\xA5", "~", "C:"};
    std::mt19937 random(1224);
    for (int round = 0; round < 5000; ++round) {
        std::string file;
        for (int n = std::uniform_int_distribution<int>(1, 12)(random); n > 0; --n)
            file += pieces[std::uniform_int_distribution<size_t>(0, std::size(pieces) - 1)(random)];
        std::string line = instanceCommandLine(executable, file);
        const std::string program = "\"" + executable + "\" ";
        ASSERT_EQ(line.substr(0, program.size()), program) << line;
        EXPECT_EQ(commandLinePath(line.substr(program.size())), file) << line;
    }
    EXPECT_EQ(instanceCommandLine("C:\\Orvane\\orvane.exe", "C:\\x.txt"), "C:\\Orvane\\orvane.exe C:\\x.txt");
}

// Another Orvane reads at most kCommandLineBytes of its command line: a longer one would
// name another file, so such a file is refused instead.
TEST(FileDrop, AFileWhoseCommandLineWouldBeCutShortIsToldApart) {
    EXPECT_TRUE(fitsCommandLine(std::string(kCommandLineBytes, 'a')));
    EXPECT_FALSE(fitsCommandLine(std::string(kCommandLineBytes + 1, 'a')));
    std::string spaced = "C:\\a b\\" + std::string(kCommandLineBytes - 8, 'c');
    EXPECT_EQ(commandLineArgument(spaced).size(), kCommandLineBytes + 1);
    EXPECT_FALSE(fitsCommandLine(spaced));
    EXPECT_TRUE(fitsCommandLine(spaced.substr(1)));
}
