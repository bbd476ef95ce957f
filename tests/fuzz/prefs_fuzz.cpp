// Any text as a preferences file: it parses or not without harm, and every accessor answers
// a value in its range.
#include <cstdint>
#include <string>

#include "app/settings/prefs.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PrefStore store;
    bool parsed = store.loadText(std::string(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(parsed == (store.root() != nullptr));
    FUZZ_CHECK(store.errorText().size() < 2048);
    int font = pref_text_font(store);
    FUZZ_CHECK(font >= 1 && font <= 3);
    int height = pref_text_font_height(store);
    FUZZ_CHECK(height >= 7 && height <= 24);
    int tab = pref_tab_size(store);
    FUZZ_CHECK(tab >= 2 && tab <= 8);
    for (int colour : {pref_background_color(store), pref_active_text_color(store), pref_text_color(store)})
        FUZZ_CHECK(colour >= 0 && colour <= 0xFFFFFF);
    (void)pref_curses_preferences(store);
    (void)pref_curses_right_focus(store);
    (void)pref_show_whitespace(store);
    (void)pref_space(store);
    (void)pref_crlf(store);
    (void)pref_preserve_directory(store);
    return 0;
}
