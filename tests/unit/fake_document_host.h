#pragma once
// A window stand-in for document tests: records titles and pointer hiding.
#include <string>
#include <vector>

#include "editor/document.h"

class FakeDocumentHost : public DocumentHost {
public:
    void setTitle(const char* utf8) override { titles.emplace_back(utf8); }
    const char* applicationName() const override { return "Orvane"; }
    bool mouseCaptured() const override { return captured; }
    bool pointerInEditor() const override { return pointerInside; }
    void hidePointer() override { ++hideCount; }

    std::vector<std::string> titles;
    bool captured = false;
    bool pointerInside = false;
    int hideCount = 0;
};
