#pragma once
// A window stand-in for benchmarks: it ignores titles and never hides the pointer.
#include "editor/document.h"

class QuietHost : public DocumentHost {
public:
    void setTitle(const char*) override {}
    const char* applicationName() const override { return "Orvane"; }
    bool mouseCaptured() const override { return false; }
    bool pointerInEditor() const override { return false; }
    void hidePointer() override {}
};
