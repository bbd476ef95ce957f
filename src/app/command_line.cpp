#include "app/command_line.h"

#include <algorithm>

std::string commandLinePath(const std::string& utf8) {
    std::string path = utf8;
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
    return path;
}
