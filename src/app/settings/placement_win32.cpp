// Positions through the platform's private-profile calls, by way of the UTF-8 layer.
#include "app/shell/app_context.h"
#include "app/settings/placement.h"
#include "platform/utf8_win32.h"

int placement_get_int(const char* key, int defaultValue) {
    return static_cast<int>(utf8::iniGetInt(kPlacementSection, key, defaultValue, AppContext::instance().iniPath));
}

void placement_set_string(const char* key, const char* text) {
    utf8::iniWriteString(kPlacementSection, key, text, AppContext::instance().iniPath);
}
