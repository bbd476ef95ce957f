#pragma once
// The main editor's side of the system clipboard: copy and cut put their text there (Unicode,
// CR LF between lines) beside Orvane's own copy buffer; paste takes the clipboard's text only
// when another program owns the clipboard, having changed it since Orvane's last copy or cut.
// A clipboard
// that cannot be opened leaves the copy buffer to serve, without a word.
//
// A large copy is only promised to the clipboard and written out when a program asks for it
// (or before Orvane's window goes): turning a whole big file into the clipboard's form at once
// would take seconds and twice the file's memory for a copy that is mostly pasted back here.
#include <windows.h>

#include <string>
#include <vector>

#include "curses/system/curses_services.h"

class MainClipboard {
public:
    explicit MainClipboard(SystemClipboard& clipboard) : clipboard_(clipboard) {}

    // The pieces must stay as they are until the next share or until the owner goes: the
    // document's copy buffer does.
    void share(HWND owner, const std::vector<std::string>& pieces);
    // The pieces another program's text makes; false when the clipboard holds Orvane's own
    // copy (or nothing, or cannot be read).
    bool foreignText(HWND owner, std::vector<std::string>& pieces);
    // The clipboard's messages about a promised copy (write it now; write it before the owner
    // goes; another program emptied the clipboard); false for any other message.
    bool handleMessage(HWND owner, UINT message, WPARAM wParam);
    // Writes out a promise still open, so the copy outlives the window.
    void keepAfterOwner(HWND owner);
    bool promising() const { return promised_ != nullptr; }

private:
    SystemClipboard& clipboard_;
    const std::vector<std::string>* promised_ = nullptr;
};
