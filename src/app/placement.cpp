#include <string>

#include "app/placement.h"

void placement_set_int(const char* key, int value) { placement_set_string(key, std::to_string(value).c_str()); }
