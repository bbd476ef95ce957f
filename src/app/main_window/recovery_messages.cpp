#include "app/main_window/recovery_messages.h"

std::string restoredMessage(const recovery::Rebuilt& rebuilt, const std::string& keptAs) {
    using Outcome = recovery::Rebuilt::Outcome;
    if (rebuilt.outcome == Outcome::Whole) return {};
    std::string text = rebuilt.outcome == Outcome::Unnamed
                           ? "Orvane could not bring back all of your unsaved text: the file\n" + rebuilt.changedFile +
                                 "\nwas changed by another program since. The text that could be rebuilt is open as a "
                                 "new, unnamed document."
                           : "Orvane could not bring back your unsaved text: the file\n" + rebuilt.changedFile +
                                 "\nwas changed by another program since, so the changes no longer fit it. The file "
                                 "is as the other program left it.";
    return text + "\n\nThe record of your changes is kept at:\n" + keptAs;
}

std::string changedOnDiskQuestion(const std::string& path) {
    return path + "\nwas changed by another program since Orvane read it. Save over it?";
}
