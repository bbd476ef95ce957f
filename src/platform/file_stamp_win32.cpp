#include <windows.h>

#include "platform/file_stamp.h"
#include "platform/utf8_win32.h"

FileStamp fileStamp(const std::string& utf8Path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    std::wstring wide;
    BOOL found = utf8::widePath(utf8Path, true, wide) ? GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)
                                                      : GetFileAttributesExA(utf8Path.c_str(), GetFileExInfoStandard, &data);
    if (!found) return {};
    auto join = [](DWORD high, DWORD low) { return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low); };
    return {true, join(data.nFileSizeHigh, data.nFileSizeLow), join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}
