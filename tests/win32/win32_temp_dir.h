#pragma once
// A scratch folder for Win32 tests, with UTF-8 paths and byte-exact helpers over the wide API.
#include <windows.h>

#include <string>

inline std::wstring widen(const std::string& utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, w.data(), n);
    return w;
}

inline std::string narrow(const std::wstring& wide) {
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, s.data(), n, nullptr, nullptr);
    return s;
}

// Prefixes long paths so the helpers reach the same files as the code under test.
inline std::wstring helperPath(const std::string& utf8) {
    std::wstring w = widen(utf8);
    if (w.size() >= 256 && w[1] == L':') w.insert(0, L"\\\\?\\");
    return w;
}

class Win32TempDir {
public:
    Win32TempDir() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        for (unsigned i = GetTickCount();; ++i) {
            std::wstring candidate = std::wstring(base) + L"orvane-w32-" + std::to_wstring(i);
            if (CreateDirectoryW(candidate.c_str(), nullptr)) {
                path_ = narrow(candidate);
                break;
            }
        }
    }
    ~Win32TempDir() { removeTree(helperPath(path_)); }
    Win32TempDir(const Win32TempDir&) = delete;
    Win32TempDir& operator=(const Win32TempDir&) = delete;

    std::string folder() const { return path_ + "\\"; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

    static bool writeBytes(const std::string& utf8Path, const std::string& bytes) {
        HANDLE h = CreateFileW(helperPath(utf8Path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        BOOL ok = bytes.empty() || WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
        return ok && written == bytes.size();
    }
    static std::string readBytes(const std::string& utf8Path) {
        HANDLE h = CreateFileW(helperPath(utf8Path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return "<missing>";
        std::string out;
        char buffer[65536];
        DWORD got = 0;
        while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
        CloseHandle(h);
        return out;
    }

private:
    static void removeTree(const std::wstring& dir) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") continue;
                std::wstring full = dir + L"\\" + name;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    removeTree(full);
                } else {
                    SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(full.c_str());
                }
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(dir.c_str());
    }

    std::string path_;
};
