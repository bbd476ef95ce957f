#include "app/main_window/busy_transfer_win32.h"

#include "view/editor_view_win32.h"

namespace {

// A transfer that ends within this time shows nothing and handles no message.
constexpr uint64_t kGraceMs = 300;
// How often the waiting messages are handled meanwhile: often enough for moves and resizes
// to follow the pointer.
constexpr uint64_t kLookEveryMs = 30;
// How often the progress is redrawn: each redraw is a paint.
constexpr uint64_t kShowEveryMs = 250;

bool isKeyboardInput(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

// Clicks, wheel turns and double-clicks in a client area: the pointer's moves and the frame
// (moving, resizing, the caption's buttons) still go through.
bool isClientClick(UINT message) {
    return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEMOVE;
}

}  // namespace

BusyTransfer::BusyTransfer(HWND editor, TransferKind kind)
    : editor_(editor), kind_(kind), started_(GetTickCount64()) {}

BusyTransfer::~BusyTransfer() {
    if (!shown_) return;
    if (EditorView* view = EditorView::fromWindow(editor_)) view->setStatusNotice({});
}

bool BusyTransfer::advanced(const TransferStep& step) {
    const uint64_t now = GetTickCount64();
    if (now - started_ < kGraceMs || now - lastLook_ < kLookEveryMs) return !stopped_;
    lastLook_ = now;
    if (now - lastShown_ >= kShowEveryMs) {
        lastShown_ = now;
        if (EditorView* view = EditorView::fromWindow(editor_)) {
            view->setStatusNotice(transferNotice(kind_, step));
            shown_ = true;
        }
    }
    handleWaitingMessages();
    return !stopped_;
}

void BusyTransfer::handleWaitingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The loop that ends the program must still see it.
            PostQuitMessage(static_cast<int>(message.wParam));
            stopped_ = true;
            return;
        }
        if (isKeyboardInput(message.message)) {
            if (kind_ == TransferKind::Load && message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE)
                stopped_ = true;
            continue;
        }
        if (isClientClick(message.message)) continue;
        DispatchMessageW(&message);
    }
}
