// Any text as an INI file: a value written is read back, and every other key keeps its value.
#include <cstdint>
#include <string>

#include "app/settings/ini_file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::optional<std::string> before = iniFindValue(text, "orvane", "main_wnd_y");
    std::string written = iniWithValue(text, "orvane", "main_wnd_x", "-42");
    std::optional<std::string> back = iniFindValue(written, "orvane", "main_wnd_x");
    FUZZ_CHECK(back && *back == "-42");
    FUZZ_CHECK(iniParseInt(*back, 7) == -42);
    // Another key of the section is untouched by the write.
    FUZZ_CHECK(iniFindValue(written, "orvane", "main_wnd_y") == before);
    // Writing the same value again changes nothing more.
    FUZZ_CHECK(iniWithValue(written, "orvane", "main_wnd_x", "-42") == written);
    (void)iniParseInt(text.substr(0, 32), 5);
    return 0;
}
