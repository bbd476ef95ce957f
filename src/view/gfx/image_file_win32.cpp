#include "view/gfx/image_file.h"

#include <windows.h>

#include <memory>

namespace {

struct HandleCloser {
    void operator()(HANDLE h) const {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

} // namespace

bool readImageFile(const std::string& path, std::vector<unsigned char>& bytes) {
    int wideLength = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    if (wideLength <= 0) return false;
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), wideLength);
    HANDLE raw = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return false;
    std::unique_ptr<void, HandleCloser> file(raw);
    LARGE_INTEGER size;
    // Skin images are small; anything beyond 64 MiB is not an image we want.
    if (!GetFileSizeEx(raw, &size) || size.QuadPart > (64LL << 20)) return false;
    bytes.assign(static_cast<size_t>(size.QuadPart), 0);
    DWORD done = 0;
    if (!bytes.empty() && (!ReadFile(raw, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) || done != bytes.size()))
        return false;
    return true;
}
