#pragma once
// Shift, Ctrl and Alt as held at one moment: the one modifier set every key and mouse
// decision reads.
struct ModifierKeys {
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    bool none() const { return !ctrl && !shift && !alt; }
    bool onlyShift() const { return shift && !ctrl && !alt; }
    bool onlyCtrl() const { return ctrl && !shift && !alt; }
    bool operator==(const ModifierKeys&) const = default;
};
