#pragma once
// Remembered window positions: section "orvane" of the INI file named by the AppContext.
// Windows read their keys when created and write them when destroyed.
#include <string>

inline constexpr const char* kPlacementSection = "orvane";

// The integer under key, or defaultValue when the key, section or file is missing.
int placement_get_int(const char* key, int defaultValue);
// Stores text under key; the file is created when missing. Numbers are formatted "%d".
void placement_set_string(const char* key, const char* text);
void placementSetInt(const char* key, int value);
