#pragma once
// A window stand-in for benchmarks: it ignores titles and never hides the pointer. It counts
// the questions about the pointer and the mouse capture, each of which costs the real window
// a system call (tens of microseconds under Wine), so a benchmark can show them.
#include "editor/document.h"

class QuietHost : public DocumentHost {
public:
    void setTitle(const char*) override {}
    const char* applicationName() const override { return "Orvane"; }
    bool mouseCaptured() const override {
        ++questions;
        return false;
    }
    bool pointerInEditor() const override {
        ++questions;
        return false;
    }
    void hidePointer() override {}
    mutable long long questions = 0;
};
