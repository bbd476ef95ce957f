#include <sys/stat.h>

#include "platform/file_stamp.h"

FileStamp fileStamp(const std::string& utf8Path) {
    struct stat st {};
    if (::stat(utf8Path.c_str(), &st) != 0) return {};
    return {true, static_cast<int64_t>(st.st_size),
            static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + static_cast<int64_t>(st.st_mtim.tv_nsec)};
}
