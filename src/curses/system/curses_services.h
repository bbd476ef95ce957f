#pragma once
// What the curses editor asks of the system beyond its screen: the live modifier keys, the
// system clipboard and the shell that opens web links. The Win32 build supplies the real
// ones; tests hand in fakes.
#include <string>

#include "text/modifier_keys.h"

class ScreenWindow;

class KeyModifiers {
public:
    virtual ~KeyModifiers() = default;
    // Held down at the moment the key is handled.
    virtual ModifierKeys held() const = 0;
};

class SystemClipboard {
public:
    virtual ~SystemClipboard() = default;
    // Replaces the clipboard with Unicode text (UTF-16, no terminator in text), owned by the
    // window; false when the clipboard could not be taken.
    virtual bool setUnicodeText(ScreenWindow* owner, const std::u16string& text) = 0;
    // The Unicode text format up to its first 0; empty when there is none.
    virtual std::u16string unicodeText(ScreenWindow* owner) = 0;
    // The plain (8-bit) text format, as it is; empty when there is none.
    virtual std::string plainText(ScreenWindow* owner) = 0;
};

class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    // Opens the address with the system's "open" action.
    virtual void open(ScreenWindow* owner, const std::string& url) = 0;
};

struct CursesServices {
    KeyModifiers* modifiers = nullptr;
    SystemClipboard* clipboard = nullptr;
    LinkOpener* links = nullptr;
};

// The platform's services, alive for the whole process.
CursesServices defaultCursesServices();
