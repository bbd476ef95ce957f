#include <gtest/gtest.h>

#include "app/shell/command_line.h"
#include "app/main_window/external_editor.h"

TEST(ExternalEditor, StartsByItsFullPathInTheSystemFolder) {
    ExternalEditorCommand command = externalEditorCommand("C:\\Windows\\system32", "C:\\Orvane\\documentation.txt");
    EXPECT_EQ(command.program, "C:\\Windows\\system32\\notepad.exe");
    EXPECT_EQ(command.parameters, "C:\\Orvane\\documentation.txt");
    // A folder the system answers with its separator (a drive's root) gets no second one.
    EXPECT_EQ(externalEditorCommand("D:\\", "a.txt").program, "D:\\notepad.exe");
    // Without a system folder there is nothing to start: never the bare name.
    EXPECT_EQ(externalEditorCommand("", "a.txt").program, "");
}

TEST(ExternalEditor, QuotesAFileThatHoldsBlanks) {
    ExternalEditorCommand command =
        externalEditorCommand("C:\\Windows\\system32", "C:\\Users\\Zo\xC3\xAB Li\\AppData\\Roaming\\Orvane\\preferences.txt");
    EXPECT_EQ(command.parameters, "\"C:\\Users\\Zo\xC3\xAB Li\\AppData\\Roaming\\Orvane\\preferences.txt\"");
    EXPECT_EQ(commandLineArgument("a\tb"), "\"a\tb\"");
    EXPECT_EQ(commandLineArgument(""), "\"\"");
    EXPECT_EQ(commandLineArgument("Z:\\plain\\\xC3\xA9t\xC3\xA9.txt"), "Z:\\plain\\\xC3\xA9t\xC3\xA9.txt");
}
