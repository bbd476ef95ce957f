// The curses editor's system services on Windows: the live modifier keys, the clipboard's
// Unicode and plain text formats, and the shell's "open" action for links.
#include <windows.h>

#include <cstring>
#include <utility>

#include "curses/curses_services.h"
#include "curses/screen_window.h"
#include "platform/keyboard_win32.h"
#include "platform/utf8_win32.h"

namespace {

HWND ownerOf(ScreenWindow* window) { return window ? static_cast<HWND>(window->nativeHandle()) : nullptr; }

class LiveModifiers final : public KeyModifiers {
public:
    bool shiftHeld() const override { return keyHeld(VK_SHIFT); }
    bool ctrlHeld() const override { return keyHeld(VK_CONTROL); }
    bool altHeld() const override { return keyHeld(VK_MENU); }
};

// The clipboard opened for the length of a scope. Another program may hold it for a
// moment, so opening is tried a few times.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) {
        for (int attempt = 0; attempt < 5 && !open_; ++attempt) {
            open_ = OpenClipboard(owner) != FALSE;
            if (!open_) Sleep(10);
        }
    }
    ~ClipboardSession() {
        if (open_) CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    bool open() const { return open_; }

private:
    bool open_ = false;
};

// Movable global memory, freed unless handed to the clipboard.
class GlobalMemory {
public:
    explicit GlobalMemory(size_t bytes) : memory_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    ~GlobalMemory() {
        if (memory_) GlobalFree(memory_);
    }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;
    HGLOBAL get() const { return memory_; }
    HGLOBAL release() { return std::exchange(memory_, nullptr); }

private:
    HGLOBAL memory_;
};

// A global memory block locked for the length of a scope.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL memory) : memory_(memory), data_(memory ? ::GlobalLock(memory) : nullptr) {}
    ~LockedGlobal() {
        if (data_) GlobalUnlock(memory_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    void* data() const { return data_; }
    size_t size() const { return data_ ? GlobalSize(memory_) : 0; }

private:
    HGLOBAL memory_;
    void* data_;
};

class Win32Clipboard final : public SystemClipboard {
public:
    bool setUnicodeText(ScreenWindow* owner, const std::u16string& text) override {
        ClipboardSession session(ownerOf(owner));
        if (!session.open() || !EmptyClipboard()) return false;
        GlobalMemory memory((text.size() + 1) * sizeof(char16_t));
        {
            LockedGlobal lock(memory.get());
            if (!lock.data()) return false;
            std::memcpy(lock.data(), text.data(), text.size() * sizeof(char16_t));
            static_cast<char16_t*>(lock.data())[text.size()] = u'\0';
        }
        if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
        memory.release();  // the clipboard owns it now
        return true;
    }
    std::u16string unicodeText(ScreenWindow* owner) override {
        ClipboardSession session(ownerOf(owner));
        if (!session.open()) return {};
        LockedGlobal lock(GetClipboardData(CF_UNICODETEXT));
        if (!lock.data()) return {};
        const auto* units = static_cast<const char16_t*>(lock.data());
        const size_t room = lock.size() / sizeof(char16_t);
        size_t n = 0;
        while (n < room && units[n] != u'\0') ++n;
        return std::u16string(units, n);
    }
    std::string plainText(ScreenWindow* owner) override {
        ClipboardSession session(ownerOf(owner));
        if (!session.open()) return {};
        LockedGlobal lock(GetClipboardData(CF_TEXT));
        if (!lock.data()) return {};
        const auto* bytes = static_cast<const char*>(lock.data());
        return std::string(bytes, strnlen(bytes, lock.size()));
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
