#include "app/main_window/main_clipboard_win32.h"

#include "curses/system/clipboard_text.h"
#include "curses/screen/screen_window.h"
#include "text/utf16.h"

namespace {

// The clipboard service names its owner through a screen window; the main window lends its
// handle that way.
class OwnerWindow final : public ScreenWindow {
public:
    explicit OwnerWindow(HWND window) : window_(window) {}
    void invalidate(const PixelRect&) override {}
    void invalidateAll() override {}
    PixelSize clientSize() const override { return {}; }
    bool createFont() override { return false; }
    PixelSize measureFont() override { return {}; }
    bool hasFocus() const override { return false; }
    void captureMouse() override {}
    void releaseMouse() override {}
    void* nativeHandle() const override { return window_; }

private:
    HWND window_;
};

}  // namespace

void MainClipboard::share(HWND owner, const std::vector<std::string>& pieces) {
    std::string text;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += pieces[i];
    }
    OwnerWindow window(owner);
    if (clipboard_.setUnicodeText(&window, clipboard_text_from_utf8(text))) ownSequence_ = GetClipboardSequenceNumber();
}

bool MainClipboard::foreignText(HWND owner, std::vector<std::string>& pieces) {
    DWORD sequence = GetClipboardSequenceNumber();
    if (sequence == ownSequence_) return false;
    OwnerWindow window(owner);
    std::u16string unicode = clipboard_.unicodeText(&window);
    std::string plain = unicode.empty() ? clipboard_.plainText(&window) : std::string();
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
