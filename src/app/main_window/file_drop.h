#pragma once
// Files dropped on the main window: the first opens in this window, exactly as Open opens
// it; each further file opens in an Orvane of its own; folders are passed over.
#include <string>
#include <vector>

struct DroppedItem {
    std::string path;
    bool folder = false;
};

struct DropPlan {
    std::string openHere;  // empty when nothing but folders was dropped
    std::vector<std::string> openInNewWindows;
};

DropPlan planDrop(const std::vector<DroppedItem>& items);

// What the user is told when another Orvane could not be started for a dropped file.
std::string newWindowFailedMessage(const std::string& path);
