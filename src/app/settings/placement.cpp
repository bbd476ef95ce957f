#include <string>

#include "app/settings/placement.h"

void placementSetInt(const char* key, int value) { placement_set_string(key, std::to_string(value).c_str()); }
