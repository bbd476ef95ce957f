#pragma once
// Reads a whole (small) image file into memory. The path is UTF-8.
#include <string>
#include <vector>

bool readImageFile(const std::string& path, std::vector<unsigned char>& bytes);
