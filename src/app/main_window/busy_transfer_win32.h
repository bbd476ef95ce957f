#pragma once
// Keeps the main window answering while a long load or save runs on the user-interface
// thread. After a short grace it shows the progress in the editor's status text and handles
// the messages that wait: painting, moving and resizing go on, while the user's keys and
// clicks, which could change the document meanwhile, are dropped. Esc stops a load.
#include <windows.h>

#include <cstdint>

#include "app/main_window/transfer_notice.h"
#include "editor/transfer_progress.h"

class BusyTransfer final : public TransferProgress {
public:
    // editor: the window whose status text shows the progress.
    BusyTransfer(HWND editor, TransferKind kind);
    // The status text comes back.
    ~BusyTransfer() override;
    BusyTransfer(const BusyTransfer&) = delete;
    BusyTransfer& operator=(const BusyTransfer&) = delete;

    bool advanced(const TransferStep& step) override;
    // A load stops at its next request (the window is closing); a save goes on to its end.
    void stop() { stopped_ = true; }

private:
    void handleWaitingMessages();

    HWND editor_;
    TransferKind kind_;
    uint64_t started_;
    uint64_t lastLook_ = 0;
    uint64_t lastShown_ = 0;
    bool shown_ = false;
    bool stopped_ = false;
};
