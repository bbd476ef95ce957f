#include "app/settings/prefs.h"

#include "app/shell/version_text.h"

#include <cjson/cJSON.h>

#include <cstdlib>
#include <cstring>

#include "platform/file_io.h"
#include "text/utf8.h"

namespace {

constexpr size_t kMaxErrorBytes = 2048;

const char* const kDefaultLines[] = {
    "//",
    "// Welcome to Orvane x64 Text Editor, Version ",  // the version follows
    "//",
    "// Orvane preferences",
    "// Your changes will take effect the next time you relaunch Orvane",
    "//",
    "",
    "{",
    "  // Display preferences with Curses interface",
    "  // (supports only ASCII for text input).",
    "  // If set to false it uses an external editor.",
    "  \"curses_preferences\": true,",
    "  \"curses_right_focus\": true,",
    "",
    "  // Monospace font selection.",
    "  // 1: Courier (Compatible with Windows XP)",
    "  // 2: Courier New",
    "  // 3: Consolas (Recommended for Windows 7+)",
    "  \"text_font\": 1,",
    "",
    "  // Monospace font height.",
    "  // The range is 7-24",
    "  \"text_font_height\": 14,",
    "",
    "  // Show whitespace.",
    "  \"show_whitespace\": true,",
    "",
    "  // Default TAB character (TAB or SPACE).",
    "  // Toggle between the two with F10",
    "  \"space\": true,",
    "",
    "  // Default TAB size.",
    "  // The range is 2-8",
    "  \"tab_size\": 2,",
    "",
    "  // Default end of line of text (CRLF or LF).",
    "  // Toggle between the two with F9",
    "  \"crlf\": true,",
    "",
    "  // File dialog.",
    "  \"preserve_directory\": true,",
    "",
    "  // Presentation.",
    "  // Colors in hexadecimal format (hex triplet).",
    "  \"background_color\": \"000000\",",
    "  \"active_text_color\": \"8080FF\",",
    "  \"text_color\": \"C0C0C0\"",
    "}",
};

std::string joinLines(const char* const* lines, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += lines[i];
        if (i == 1) text += productVersion();
        text += '\n';
    }
    return text;
}

// The first member named key, or null. An unnamed member means the root is an array.
const cJSON* findMember(const PrefStore& prefs, const char* key) {
    const cJSON* root = prefs.root();
    if (!root) return nullptr;
    for (const cJSON* item = root->child; item; item = item->next) {
        if (!item->string) return nullptr;
        if (std::strcmp(item->string, key) == 0) return item;
    }
    return nullptr;
}

bool readBool(const PrefStore& prefs, const char* key, bool fallback) {
    const cJSON* item = findMember(prefs, key);
    if (!item) return fallback;
    return (item->type & 0xFF) != cJSON_False;
}

int readNumber(const PrefStore& prefs, const char* key, int low, int high, int fallback) {
    const cJSON* item = findMember(prefs, key);
    if (!item || (item->type & 0xFF) != cJSON_Number) return fallback;
    int value = item->valueint;  // truncated toward zero and saturated by the parser
    return (value >= low && value <= high) ? value : fallback;
}

int readColor(const PrefStore& prefs, const char* key, int fallback) {
    const cJSON* item = findMember(prefs, key);
    if (!item || (item->type & 0xFF) != cJSON_String || !item->valuestring) return fallback;
    if (std::strlen(item->valuestring) != 6) return fallback;
    long value = std::strtol(item->valuestring, nullptr, 16);
    return (value >= 0 && value <= 0xFFFFFF) ? static_cast<int>(value) : fallback;
}

}  // namespace

PrefStore::~PrefStore() { cJSON_Delete(root_); }

cJSON* prefsParse(std::string& text, std::string& errorText) {
    // An embedded NUL ends the text, as it would for a C string.
    text.resize(std::strlen(text.c_str()));
    cJSON_Minify(text.data());
    text.resize(std::strlen(text.c_str()));
    const char* parseEnd = nullptr;
    cJSON* tree = cJSON_ParseWithLengthOpts(text.c_str(), text.size() + 1, &parseEnd, 0);
    if (!tree) {
        errorText.clear();
        if (parseEnd) {
            std::string message = "Parse error before: ";
            message += parseEnd;
            message += '\n';
            message.resize(fitOnCharacterBoundary(message, kMaxErrorBytes - 1));
            errorText = message;
        }
    }
    return tree;
}

bool PrefStore::loadText(std::string text) {
    cJSON_Delete(root_);
    root_ = prefsParse(text, errorText_);
    return root_ != nullptr;
}

const std::string& prefsDefaultText() {
    static const std::string text = joinLines(kDefaultLines, sizeof kDefaultLines / sizeof kDefaultLines[0]);
    return text;
}

const std::string& prefsUserSkeleton() {
    static const std::string text = "{\n  // Add your personal preferences here.\n}\n";
    return text;
}

void prefs_write_files(const std::string& dataFolder) {
    {
        FileWriter writer(dataFolder + kDefaultPreferencesFile);
        if (writer.isOpen()) {
            writer.write(prefsDefaultText().data(), static_cast<int64_t>(prefsDefaultText().size()));
            writer.flush(true);
        }
    }
    std::string userPath = dataFolder + kPreferencesFile;
    bool exists = FileReader(userPath).isOpen();
    if (!exists) {
        FileWriter writer(userPath);
        if (writer.isOpen()) {
            writer.write(prefsUserSkeleton().data(), static_cast<int64_t>(prefsUserSkeleton().size()));
            writer.flush(true);
        }
    }
}

bool prefs_load(PrefStore& store, const std::string& dataFolder, bool useDefaultFile) {
    std::string text;
    readWholeFile(dataFolder + (useDefaultFile ? kDefaultPreferencesFile : kPreferencesFile), text);
    return store.loadText(std::move(text));
}

bool pref_curses_preferences(const PrefStore& p) { return readBool(p, "curses_preferences", true); }
bool pref_curses_right_focus(const PrefStore& p) { return readBool(p, "curses_right_focus", true); }
int pref_text_font(const PrefStore& p) { return readNumber(p, "text_font", 1, 3, 1); }
int pref_text_font_height(const PrefStore& p) { return readNumber(p, "text_font_height", 7, 24, 14); }
bool pref_show_whitespace(const PrefStore& p) { return readBool(p, "show_whitespace", true); }
bool pref_space(const PrefStore& p) { return readBool(p, "space", true); }
int pref_tab_size(const PrefStore& p) { return readNumber(p, "tab_size", 2, 8, 2); }
bool pref_crlf(const PrefStore& p) { return readBool(p, "crlf", true); }
bool pref_preserve_directory(const PrefStore& p) { return readBool(p, "preserve_directory", true); }
int pref_background_color(const PrefStore& p) { return readColor(p, "background_color", 0x000000); }
int pref_active_text_color(const PrefStore& p) { return readColor(p, "active_text_color", 0x8080FF); }
int pref_text_color(const PrefStore& p) { return readColor(p, "text_color", 0xC0C0C0); }
