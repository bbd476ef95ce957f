// The curses editor's system services on Windows: the live modifier keys, the clipboard's
// Unicode and plain text formats, and the shell's "open" action for links.
#include <windows.h>

#include <cstring>
#include <utility>

#include "curses/system/curses_services.h"
#include "curses/screen/screen_window.h"
#include "platform/handles_win32.h"
#include "platform/keyboard_win32.h"
#include "platform/utf8_win32.h"

namespace {

HWND ownerOf(ScreenWindow* window) { return window ? static_cast<HWND>(window->nativeHandle()) : nullptr; }

class LiveModifiers final : public KeyModifiers {
public:
    ModifierKeys held() const override { return heldModifierKeys(); }
};

class Win32Clipboard final : public SystemClipboard {
public:
    bool setUnicodeText(ScreenWindow* owner, const std::u16string& text) override {
        // The memory first: a clipboard is only emptied when the new text is ready for it.
        win32::GlobalMemory memory((text.size() + 1) * sizeof(char16_t));
        {
            win32::LockedGlobal lock(memory.get());
            if (!lock.data()) return false;
            std::memcpy(lock.data(), text.data(), text.size() * sizeof(char16_t));
            static_cast<char16_t*>(lock.data())[text.size()] = u'\0';
        }
        win32::ClipboardSession session(ownerOf(owner));
        if (!session.open() || !EmptyClipboard()) return false;
        if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
        memory.release();  // the clipboard owns it now
        return true;
    }
    std::u16string unicodeText(ScreenWindow* owner) override {
        return readFormat<std::u16string>(owner, CF_UNICODETEXT, [](const win32::LockedGlobal& lock) {
            const auto* units = static_cast<const char16_t*>(lock.data());
            const size_t room = lock.size() / sizeof(char16_t);
            size_t n = 0;
            while (n < room && units[n] != u'\0') ++n;
            return std::u16string(units, n);
        });
    }
    std::string plainText(ScreenWindow* owner) override {
        return readFormat<std::string>(owner, CF_TEXT, [](const win32::LockedGlobal& lock) {
            const auto* bytes = static_cast<const char*>(lock.data());
            return std::string(bytes, strnlen(bytes, lock.size()));
        });
    }

private:
    // The text of one clipboard format, read while the clipboard is open and the data locked;
    // empty when the clipboard cannot be opened or holds nothing in that format.
    template <typename Text, typename Read>
    static Text readFormat(ScreenWindow* owner, UINT format, Read read) {
        win32::ClipboardSession session(ownerOf(owner));
        if (!session.open()) return {};
        win32::LockedGlobal lock(GetClipboardData(format));
        if (!lock.data()) return {};
        return read(lock);
    }
};

class ShellLinks final : public LinkOpener {
public:
    void open(ScreenWindow* owner, const std::string& url) override {
        utf8::shellExecute(ownerOf(owner), "open", url.c_str(), nullptr, SW_SHOWNORMAL);
    }
};

}  // namespace

CursesServices defaultCursesServices() {
    static LiveModifiers modifiers;
    static Win32Clipboard clipboard;
    static ShellLinks links;
    return {&modifiers, &clipboard, &links};
}
