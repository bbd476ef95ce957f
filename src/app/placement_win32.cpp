// Positions through the platform's private-profile calls, in their wide forms.
#include <windows.h>

#include "app/app_context.h"
#include "app/placement.h"
#include "app/wide_string_win32.h"

int placement_get_int(const char* key, int defaultValue) {
    const std::string& path = AppContext::instance().iniPath;
    return static_cast<int>(GetPrivateProfileIntW(toWide(kPlacementSection).c_str(), toWide(key).c_str(), defaultValue,
                                                  toWide(path).c_str()));
}

void placement_set_string(const char* key, const char* text) {
    const std::string& path = AppContext::instance().iniPath;
    WritePrivateProfileStringW(toWide(kPlacementSection).c_str(), toWide(key).c_str(), toWide(text).c_str(),
                               toWide(path).c_str());
}
