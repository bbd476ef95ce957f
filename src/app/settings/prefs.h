#pragma once
// The preferences: a commented JSON file parsed once at start-up. Each accessor looks its
// key up in the parsed tree and falls back to the key's default when the key is missing,
// of the wrong kind or out of range.
#include <string>

struct cJSON;

class PrefStore {
public:
    PrefStore() = default;
    ~PrefStore();
    PrefStore(const PrefStore&) = delete;
    PrefStore& operator=(const PrefStore&) = delete;

    // Strips comments and whitespace, parses, and keeps the tree on success. On failure the
    // previous tree is dropped and errorText() says where parsing stopped.
    bool loadText(std::string text);
    const cJSON* root() const { return root_; }
    const std::string& errorText() const { return errorText_; }

private:
    cJSON* root_ = nullptr;
    std::string errorText_;
};

inline constexpr const char* kPreferencesFile = "preferences.txt";
inline constexpr const char* kDefaultPreferencesFile = "preferences-default.txt";

// The commented default file, every line ended by a line feed.
const std::string& prefsDefaultText();
const std::string& prefsUserSkeleton();

// Writes the default file and, when it cannot be opened, the user file, in dataFolder
// (which ends with its separator).
void prefs_write_files(const std::string& dataFolder);
bool prefs_load(PrefStore& store, const std::string& dataFolder, bool useDefaultFile);

// Strips comments and whitespace the way the loader does, then parses; the checker of the
// preferences window uses the same rules. On failure errorText gets "Parse error before: ...".
cJSON* prefsParse(std::string& text, std::string& errorText);

bool pref_curses_preferences(const PrefStore& prefs);
bool pref_curses_right_focus(const PrefStore& prefs);
int pref_text_font(const PrefStore& prefs);
int pref_text_font_height(const PrefStore& prefs);
bool pref_show_whitespace(const PrefStore& prefs);
bool pref_space(const PrefStore& prefs);
int pref_tab_size(const PrefStore& prefs);
bool pref_crlf(const PrefStore& prefs);
bool pref_preserve_directory(const PrefStore& prefs);
int pref_background_color(const PrefStore& prefs);
int pref_active_text_color(const PrefStore& prefs);
int pref_text_color(const PrefStore& prefs);
