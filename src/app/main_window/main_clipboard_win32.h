#pragma once
// The main editor's side of the system clipboard: copy and cut put their text there (Unicode,
// CR LF between lines) beside Orvane's own copy buffer; paste takes the clipboard's text only
// when another program changed the clipboard since Orvane's last copy or cut, which the
// clipboard's sequence number tells. A clipboard that cannot be opened leaves the copy buffer
// to serve, without a word.
#include <windows.h>

#include <string>
#include <vector>

#include "curses/system/curses_services.h"

class MainClipboard {
public:
    explicit MainClipboard(SystemClipboard& clipboard) : clipboard_(clipboard) {}

    void share(HWND owner, const std::vector<std::string>& pieces);
    // The pieces another program's text makes; false when the clipboard holds Orvane's own
    // copy (or nothing, or cannot be read).
    bool foreignText(HWND owner, std::vector<std::string>& pieces);

private:
    SystemClipboard& clipboard_;
    DWORD ownSequence_ = 0;  // the clipboard's number right after Orvane's last copy or cut
};
