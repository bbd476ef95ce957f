#pragma once
// What the switch window lists: every main window of every running instance, labelled by
// the part of its title after "Orvane - ", sorted by label ignoring letter case.
#include <string>
#include <vector>

// The text after the first "- " from which at least one more character follows; the whole
// title when there is none.
std::string switchLabel(const std::string& title);

template <typename Handle>
struct SwitchEntry {
    Handle window;
    std::string label;
};

// ASCII case folding only; equal labels keep no particular order.
bool switchLabelLess(const std::string& a, const std::string& b);
