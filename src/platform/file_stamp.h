#pragma once
// What the file system says of a file without opening it: whether it is there, its size and
// when it was last written. Enough to notice that another program changed it.
#include <cstdint>
#include <string>

struct FileStamp {
    bool exists = false;
    int64_t size = 0;
    int64_t lastWrite = 0;  // the system's own time units; only compared for equality
    bool operator==(const FileStamp&) const = default;
};

FileStamp fileStamp(const std::string& utf8Path);
