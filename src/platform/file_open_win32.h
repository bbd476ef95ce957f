#pragma once
// What the Windows file classes share: opening a UTF-8 path, the request sizes, and the
// user's words for the system's errors.
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/file_io.h"

namespace file_win32 {

constexpr int64_t kBlockSize = 8192;
// The most one large request asks for: a request's count is 32 bits, and a bounded request
// keeps a failing disk from hiding a gigabyte of work in one call.
constexpr int64_t kLargestRequest = int64_t{64} << 20;

// Opens a UTF-8 path: the wide API for non-ASCII or long paths (with the long-path prefix),
// else the path bytes unchanged through the narrow API. A reader also falls back to the
// narrow API when the wide open fails.
HANDLE openPath(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                bool narrowAfterWideFailure, DWORD& error);
// The wide form of a path for the calls that have both forms, or false for the narrow one.
bool widePath(const std::string& path, std::wstring& out);
DWORD attributesOf(const std::string& path);
int64_t querySize(HANDLE handle);
void setOffset(OVERLAPPED& ov, int64_t offset);
// The file-name part of a path: after the last separator.
std::string fileNameOf(const std::string& path);
std::string folderOf(const std::string& path);
FileError errorFrom(DWORD error);
// Why a file could not be made at path. Some file systems report a name longer than they
// take as a missing file (the folder is there, the name is what does not fit), and Linux
// under Wine counts its limit in UTF-8 bytes.
FileError creationErrorFrom(DWORD error, const std::string& path);

}  // namespace file_win32
