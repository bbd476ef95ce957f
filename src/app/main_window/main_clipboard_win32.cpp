#include "app/main_window/main_clipboard_win32.h"

#include <algorithm>

#include "platform/handles_win32.h"
#include "text/utf16.h"

namespace {

// Below this many bytes a copy goes to the clipboard at once.
constexpr size_t kPromiseFromBytes = 1 << 20;

size_t textBytes(const std::vector<std::string>& pieces) {
    size_t bytes = 0;
    for (const std::string& piece : pieces) bytes += piece.size();
    return bytes;
}

// The pieces as the clipboard's Unicode text, CR LF between them, in memory the clipboard can
// own; nothing when there is no memory for it. Every character is decoded as the editor
// decodes it (pieces from lines hold no NUL).
HGLOBAL clipboardText(const std::vector<std::string>& pieces) {
    // A byte gives at most one unit; a line break two.
    const size_t room = textBytes(pieces) + 2 * pieces.size() + 1;
    win32::GlobalMemory memory(room * sizeof(char16_t));
    win32::LockedGlobal lock(memory.get());
    auto* units = static_cast<char16_t*>(lock.data());
    if (!units) return nullptr;
    size_t used = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            units[used++] = u'\r';
            units[used++] = u'\n';
        }
        used += static_cast<size_t>(std::max(to_utf16(units + used, (room - used) * sizeof(char16_t), pieces[i].c_str()), 0));
    }
    units[used] = u'\0';
    return memory.release();
}

// Hands the text to the clipboard, which must be open; false when either fails.
bool putText(const std::vector<std::string>& pieces) {
    win32::GlobalMemory memory(clipboardText(pieces));
    if (!memory.get() || !SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    memory.release();  // the clipboard owns it now
    return true;
}

}  // namespace

void MainClipboard::share(HWND owner, const std::vector<std::string>& pieces) {
    promised_ = nullptr;
    const bool promise = textBytes(pieces) >= kPromiseFromBytes;
    // The text first when it goes at once: the clipboard is only emptied when it is ready.
    win32::GlobalMemory memory(promise ? nullptr : clipboardText(pieces));
    if (!promise && !memory.get()) return;
    win32::ClipboardSession session(owner);
    // Emptying tells the clipboard's last owner, this window too, that its text is gone.
    if (!session.open() || !EmptyClipboard()) return;
    if (promise) {
        SetClipboardData(CF_UNICODETEXT, nullptr);
        promised_ = &pieces;
    } else if (SetClipboardData(CF_UNICODETEXT, memory.get())) {
        memory.release();  // the clipboard owns it now
    }
}

bool MainClipboard::handleMessage(HWND owner, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_RENDERFORMAT:
        // The program asking has the clipboard open.
        if (promised_ && wParam == CF_UNICODETEXT) putText(*promised_);
        promised_ = nullptr;
        return true;
    case WM_RENDERALLFORMATS:
        keepAfterOwner(owner);
        return true;
    case WM_DESTROYCLIPBOARD:
        promised_ = nullptr;
        return true;
    default:
        return false;
    }
}

void MainClipboard::keepAfterOwner(HWND owner) {
    if (!promised_) return;
    win32::ClipboardSession session(owner);
    if (session.open() && GetClipboardOwner() == owner) putText(*promised_);
    promised_ = nullptr;
}

bool MainClipboard::foreignText(HWND owner, std::vector<std::string>& pieces) {
    // The owner, not the clipboard's sequence number, says whose text it is: writing out a
    // promised copy may count as a change.
    if (GetClipboardOwner() == owner) return false;
    std::u16string unicode = clipboard_.unicodeText(nullptr);
    std::string plain = unicode.empty() ? clipboard_.plainText(nullptr) : std::string();
    if (unicode.empty() && plain.empty()) return false;
    // Lines as a file's: split at LF, a CR before it dropped; a lone CR stays in its line.
    std::string text = unicode.empty() ? plain : utf16ToUtf8(unicode);
    pieces.clear();
    size_t from = 0;
    for (;;) {
        size_t lf = text.find('\n', from);
        std::string piece = text.substr(from, lf == std::string::npos ? std::string::npos : lf - from);
        if (lf != std::string::npos && !piece.empty() && piece.back() == '\r') piece.pop_back();
        pieces.push_back(std::move(piece));
        if (lf == std::string::npos) break;
        from = lf + 1;
    }
    return true;
}
