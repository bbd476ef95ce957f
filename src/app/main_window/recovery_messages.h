#pragma once
// What Orvane tells the user about unsaved text kept across a start, and before saving over a
// file another program changed.
#include <string>

#include "editor/recovery_rebuild.h"

// Empty when there is nothing to say (the text came back whole).
std::string restoredMessage(const recovery::Rebuilt& rebuilt, const std::string& keptAs);
std::string changedOnDiskQuestion(const std::string& path);
