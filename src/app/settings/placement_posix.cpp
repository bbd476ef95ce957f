// The native build keeps positions in the same plain INI file through its own reader and
// writer.
#include "app/shell/app_context.h"
#include "app/settings/ini_file.h"
#include "app/settings/placement.h"

int placement_get_int(const char* key, int defaultValue) {
    return iniGetInt(AppContext::instance().iniPath, kPlacementSection, key, defaultValue);
}

void placement_set_string(const char* key, const char* text) {
    iniSetString(AppContext::instance().iniPath, kPlacementSection, key, text);
}
