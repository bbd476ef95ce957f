// The native build has no desktop: no modifier is ever held, the clipboard lives in the
// process and links are not opened.
#include "curses/system/curses_services.h"

namespace {

class NoModifiers final : public KeyModifiers {
public:
    ModifierKeys held() const override { return {}; }
};

class ProcessClipboard final : public SystemClipboard {
public:
    bool setUnicodeText(ScreenWindow*, const std::u16string& text) override {
        text_ = text;
        return true;
    }
    std::u16string unicodeText(ScreenWindow*) override { return text_; }
    std::string plainText(ScreenWindow*) override { return {}; }

private:
    std::u16string text_;
};

class NoLinks final : public LinkOpener {
public:
    void open(ScreenWindow*, const std::string&) override {}
};

}  // namespace

CursesServices defaultCursesServices() {
    static NoModifiers modifiers;
    static ProcessClipboard clipboard;
    static NoLinks links;
    return {&modifiers, &clipboard, &links};
}
