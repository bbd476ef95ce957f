// The file-system operations of the safe writer, on Windows.
#include <windows.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "platform/file_open_win32.h"
#include "platform/handles_win32.h"
#include "text/path_form.h"
#include "text/utf16.h"

using namespace file_win32;

namespace file_system {

namespace {

std::string utf8Of(const std::wstring& wide) {
    return utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

// The path as the system names the file it leads to, in the plain drive or network form.
std::string finalPathOf(HANDLE handle) {
    std::wstring buffer(1024, L'\0');
    DWORD n = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
    if (n >= buffer.size()) {
        buffer.resize(n + 1);
        n = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
    }
    if (n == 0 || n >= buffer.size()) return {};
    buffer.resize(n);
    // The long-path prefix goes: the calls that need it add it again.
    if (buffer.rfind(L"\\\\?\\UNC\\", 0) == 0) buffer = L"\\\\" + buffer.substr(8);
    else if (buffer.rfind(L"\\\\?\\", 0) == 0) buffer = buffer.substr(4);
    return utf8Of(buffer);
}

// The full form of a path as typed, to tell whether the final path is another file.
std::string fullPathOf(const std::string& path) {
    std::wstring wide;
    if (!widePath(path, wide)) {
        std::u16string converted;
        if (!utf8ToUtf16Strict(path, converted)) return path;
        wide.assign(converted.begin(), converted.end());
    }
    DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    if (n == 0 || n >= full.size()) return path;
    full.resize(n);
    if (full.rfind(L"\\\\?\\", 0) == 0 && full.rfind(L"\\\\?\\UNC\\", 0) != 0) full = full.substr(4);
    return utf8Of(full);
}

bool sameSpelling(const std::string& a, const std::string& b) {
    std::u16string wa, wb;
    if (!utf8ToUtf16Strict(a, wa) || !utf8ToUtf16Strict(b, wb)) return a == b;
    for (char16_t& c : wa) if (c == u'/') c = u'\\';
    for (char16_t& c : wb) if (c == u'/') c = u'\\';
    return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(wa.c_str()), static_cast<int>(wa.size()),
                                reinterpret_cast<const wchar_t*>(wb.c_str()), static_cast<int>(wb.size()),
                                TRUE) == CSTR_EQUAL;
}

win32::Handle openForQuery(const std::string& path) {
    DWORD error = 0;
    return win32::Handle(openPath(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, true, error));
}

}  // namespace

FileFacts inspect(const std::string& path) {
    FileFacts facts;
    facts.finalPath = path;
    facts.special = isSpecialFile(path);
    if (facts.special) {
        facts.exists = true;
        return facts;
    }
    const DWORD attributes = attributesOf(path);
    win32::Handle handle = openForQuery(path);
    if (!handle.valid()) {
        // A link of the system's own whose file is missing still has attributes of its own.
        facts.linkToMissingFile =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
        facts.exists = attributes != INVALID_FILE_ATTRIBUTES && !facts.linkToMissingFile;
        facts.readOnly = facts.exists && isReadOnly(path);
        return facts;
    }
    facts.exists = true;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(handle.get(), &info)) {
        facts.links = static_cast<int>(info.nNumberOfLinks > 0 ? info.nNumberOfLinks : 1);
        facts.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    // A link (the system's own, or one of the file system under Wine, which looks like a plain
    // file) leads to a file elsewhere: that file is the one to write. The same file under
    // another spelling keeps the spelling the user gave.
    std::string final = finalPathOf(handle.get());
    if (!final.empty() && !sameSpelling(final, fullPathOf(path))) facts.finalPath = final;
    return facts;
}

std::string nameBeside(const std::string& target, const char* suffix, int attempt) {
    return folderOf(target) + "~orvane-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt) + suffix;
}

bool sameFile(const std::string& a, const std::string& b) {
    win32::Handle first = openForQuery(a), second = openForQuery(b);
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    return first.valid() && second.valid() && GetFileInformationByHandle(first.get(), &x) &&
           GetFileInformationByHandle(second.get(), &y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

bool nameFits(const std::string& path) {
    std::u16string wide;
    std::string name = fileNameOf(path);
    return utf8ToUtf16Strict(name, wide) ? wide.size() <= 255 : name.size() <= 255;
}

void sleepMilliseconds(int ms) { Sleep(static_cast<DWORD>(ms)); }

bool isSpecialFile(const std::string& path) {
    // Device names ("\\.\COM1") are special whatever the system says about them.
    if (path.rfind("\\\\.\\", 0) == 0) return true;
    // Anything that is not a disk file (a console, a pipe, "NUL", a character device) is
    // written where it stands: a replacement beside it would mean nothing.
    DWORD error = 0;
    win32::Handle handle(openPath(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, true, error));
    if (!handle.valid()) return false;
    DWORD type = GetFileType(handle.get());
    return type != FILE_TYPE_DISK && type != FILE_TYPE_UNKNOWN;
}

bool isReadOnly(const std::string& path) {
    DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// ReplaceFile refused for a reason a plain move must respect too; a move can succeed where
// it should not (a read-only target under some systems).
bool refusedOutright(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_WRITE_PROTECT;
}

// Puts replacement in target's place; the system's error, or NO_ERROR.
DWORD replaceKeepingSecurity(const std::string& replacement, const std::string& target) {
    std::wstring wideReplacement, wideTarget;
    bool wide = widePath(replacement, wideReplacement) | widePath(target, wideTarget);
    if (wide) {
        // Both calls get the same form of both names.
        if (wideReplacement.empty()) wideReplacement.assign(replacement.begin(), replacement.end());
        if (wideTarget.empty()) wideTarget.assign(target.begin(), target.end());
        // ReplaceFile keeps the target's attributes, security and creation time.
        if (ReplaceFileW(wideTarget.c_str(), wideReplacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                         nullptr))
            return NO_ERROR;
        DWORD error = GetLastError();
        if (refusedOutright(error)) return error;
        if (MoveFileExW(wideReplacement.c_str(), wideTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return NO_ERROR;
        return GetLastError();
    }
    if (ReplaceFileA(target.c_str(), replacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return NO_ERROR;
    DWORD error = GetLastError();
    if (refusedOutright(error)) return error;
    // No target yet, or a volume that cannot replace: a plain move that overwrites.
    if (MoveFileExA(replacement.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return NO_ERROR;
    return GetLastError();
}

}  // namespace

FileError replace(const std::string& replacement, const std::string& target) {
    if (isReadOnly(target)) return FileError::ReadOnly;
    DWORD before = attributesOf(target);
    if (before != INVALID_FILE_ATTRIBUTES) {
        // A file another program holds is found out before the replace is tried: some systems
        // leave a file of their own behind when a replace fails that way.
        DWORD error = 0;
        win32::Handle probe(openPath(target, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, false, error));
        if (!probe.valid() && (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)) return FileError::Busy;
    }
    if (DWORD error = replaceKeepingSecurity(replacement, target); error != NO_ERROR) {
        FileError kind = creationErrorFrom(error, target);
        return kind == FileError::None ? FileError::Other : kind;
    }
    // A hidden or system file stays one, also where the replace or the move lost the marks.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (before != INVALID_FILE_ATTRIBUTES && (before & kKept)) {
        DWORD after = attributesOf(target);
        if (after != INVALID_FILE_ATTRIBUTES && (after & kKept) != (before & kKept)) {
            DWORD wanted = (after & ~kKept & ~FILE_ATTRIBUTE_NORMAL) | (before & kKept);
            std::wstring wide;
            if (widePath(target, wide))
                SetFileAttributesW(wide.c_str(), wanted);
            else
                SetFileAttributesA(target.c_str(), wanted);
        }
    }
    return FileError::None;
}

bool remove(const std::string& path) {
    std::wstring wide;
    return (widePath(path, wide) ? DeleteFileW(wide.c_str()) : DeleteFileA(path.c_str())) != FALSE;
}

}  // namespace file_system
