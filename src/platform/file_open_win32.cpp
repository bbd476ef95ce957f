// Opening UTF-8 paths and naming the system's errors, for the Windows file classes.
#include "platform/file_open_win32.h"

#include "platform/handles_win32.h"
#include "text/path_form.h"
#include "text/utf16.h"

namespace file_win32 {

// Opens a UTF-8 path: the wide API for non-ASCII or long paths (with the long-path prefix),
// else the path bytes unchanged through the narrow API. A reader also falls back to the
// narrow API when the wide open fails.
HANDLE openPath(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                bool narrowAfterWideFailure, DWORD& error) {
    bool wideTried = false;
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (pathNeedsWideCall(path)) {
        std::u16string wide;
        if (utf8ToUtf16Strict(path, wide)) {
            wide = longPathForm(wide);
            std::wstring w(wide.begin(), wide.end());
            wideTried = true;
            handle = CreateFileW(w.c_str(), access, share, nullptr, disposition, flags, nullptr);
            // Also after a success: an open that may create tells whether the file was there.
            error = GetLastError();
        }
    }
    if (handle == INVALID_HANDLE_VALUE && (!wideTried || narrowAfterWideFailure)) {
        handle = CreateFileA(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
        // After a wide attempt the narrow name is only a guess: its error says nothing about
        // the file, so the wide call's error (a sharing violation, say) is kept.
        if (!wideTried) error = GetLastError();
    }
    return handle;
}

// The wide form of a path for the calls that have both forms, or false for the narrow one.
bool widePath(const std::string& path, std::wstring& out) {
    if (!pathNeedsWideCall(path)) return false;
    std::u16string wide;
    if (!utf8ToUtf16Strict(path, wide)) return false;
    wide = longPathForm(wide);
    out.assign(wide.begin(), wide.end());
    return true;
}

DWORD attributesOf(const std::string& path) {
    std::wstring wide;
    return widePath(path, wide) ? GetFileAttributesW(wide.c_str()) : GetFileAttributesA(path.c_str());
}

int64_t querySize(HANDLE handle) {
    LARGE_INTEGER size;
    return GetFileSizeEx(handle, &size) ? size.QuadPart : 0;
}

void setOffset(OVERLAPPED& ov, int64_t offset) {
    ov.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
    ov.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
}

// The file-name part of a path: after the last separator.
std::string fileNameOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string folderOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

FileError errorFrom(DWORD error) {
    switch (error) {
    case NO_ERROR: return FileError::None;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE: return FileError::NotFound;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return FileError::Exists;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED: return FileError::AccessDenied;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW: return FileError::NameTooLong;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY: return FileError::InvalidName;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT: return FileError::Busy;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    default: return FileError::Other;
    }
}

// Why a file could not be made at path. Some file systems report a name longer than they
// take as a missing file (the folder is there, the name is what does not fit), and Linux
// under Wine counts its limit in UTF-8 bytes.
FileError creationErrorFrom(DWORD error, const std::string& path) {
    FileError kind = errorFrom(error);
    if (kind == FileError::NotFound && fileNameOf(path).size() > 255) {
        std::string folder = folderOf(path);
        if (!folder.empty() && folder.back() != ':' && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
        if (folder.empty() || (attributesOf(folder) & FILE_ATTRIBUTE_DIRECTORY) == FILE_ATTRIBUTE_DIRECTORY)
            return FileError::NameTooLong;
    }
    return kind;
}

}  // namespace file_win32
