#include "platform/out_of_memory_win32.h"

#include "platform/utf8_win32.h"

namespace {

constexpr const char* kOutOfMemoryText =
    "Orvane ran out of memory, so the last command was not carried out.\n\nYour text is unchanged.";

}  // namespace

void reportOutOfMemory(HWND owner) {
    static bool showing = false;
    if (showing) return;
    showing = true;
    // The top-level window owns the box, so it stays in front of the right window.
    HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    utf8::messageBox(top, kOutOfMemoryText, "Orvane error", MB_ICONERROR);
    MSG pending;
    while (PeekMessageW(&pending, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    showing = false;
}
