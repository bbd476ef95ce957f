#pragma once
// A document as the benchmarks type into it: a full-HD view, keys through the key map, and a
// clock the driver moves itself, so words join into steps as a quick typist's do.
#include <cstdint>
#include <cstdio>

#include "editor/document.h"
#include "editor/key_map.h"
#include "editor/typing.h"
#include "quiet_document_host.h"

inline int64_t benchNow = 0;
inline int64_t benchClock() { return benchNow; }

struct TypingEditor {
    QuietHost host;
    ViewState view;
    Document doc{host, view};
    TypingState typing;
    TypingEditor() {
        view.cellWidth = 8;
        view.cellHeight = 14;
        view.clientRect = {0, 0, 1920, 1080};
        doc.newDocument();
        doc.history.setClock(benchClock);
    }
    // One key, 80 ms after the one before.
    void key(unsigned character) {
        KeyDecision decision;
        decision.action = KeyAction::TypeCharacter;
        decision.character = character;
        performKeyAction(doc, decision, &typing);
        benchNow += 80;
    }
};

inline int benchFailure(const char* driver, const char* what) {
    std::fprintf(stderr, "%s: %s\n", driver, what);
    return 1;
}
