#include "app/main_window/file_drop.h"

DropPlan planDrop(const std::vector<DroppedItem>& items) {
    DropPlan plan;
    for (const DroppedItem& item : items) {
        if (item.folder) continue;
        if (plan.openHere.empty())
            plan.openHere = item.path;
        else
            plan.openInNewWindows.push_back(item.path);
    }
    return plan;
}

std::string newWindowFailedMessage(const std::string& path) {
    return "Orvane could not start another window for the file:\n" + path;
}
