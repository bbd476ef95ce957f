#include <windows.h>

#include <algorithm>

#include "platform/handles_win32.h"
#include "platform/record_handle.h"
#include "platform/utf8_win32.h"

namespace {

class WinRecordHandle final : public RecordFile::Handle {
public:
    WinRecordHandle(win32::Handle file, std::wstring path) : file_(std::move(file)), path_(std::move(path)) {}

    bool append(const std::string& bytes) override {
        LARGE_INTEGER zero{};
        return SetFilePointerEx(file_.get(), zero, nullptr, FILE_END) && writeAll(bytes);
    }
    bool rewrite(const std::string& bytes) override {
        LARGE_INTEGER zero{};
        return SetFilePointerEx(file_.get(), zero, nullptr, FILE_BEGIN) && SetEndOfFile(file_.get()) && writeAll(bytes);
    }
    bool flush() override { return FlushFileBuffers(file_.get()) != FALSE; }
    bool closeAndDelete() override {
        // Marked for deletion while still held, so no other instance can take it in between.
        FILE_DISPOSITION_INFO disposition{TRUE};
        bool marked = SetFileInformationByHandle(file_.get(), FileDispositionInfo, &disposition, sizeof disposition);
        file_.close();
        return marked || DeleteFileW(path_.c_str()) != FALSE;
    }

private:
    bool writeAll(const std::string& bytes) {
        for (size_t done = 0; done < bytes.size();) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, size_t{1} << 24));
            DWORD written = 0;
            if (!WriteFile(file_.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
            done += written;
        }
        return true;
    }

    win32::Handle file_;
    std::wstring path_;
};

// Others may read the file but not write, delete or hold it for themselves: that is how a
// record of a running instance is told from a leftover one.
win32::Handle openHeld(const std::wstring& path, DWORD disposition) {
    return win32::Handle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

std::unique_ptr<RecordFile::Handle> createRecordHandle(const std::string& utf8Path) {
    std::wstring path;
    if (!utf8::widePath(utf8Path, true, path)) return nullptr;
    win32::Handle file = openHeld(path, CREATE_NEW);
    if (!file.valid()) return nullptr;
    return std::make_unique<WinRecordHandle>(std::move(file), path);
}

std::unique_ptr<RecordFile::Handle> claimRecordHandle(const std::string& utf8Path, std::string& bytes) {
    std::wstring path;
    if (!utf8::widePath(utf8Path, true, path)) return nullptr;
    win32::Handle file = openHeld(path, OPEN_EXISTING);
    if (!file.valid()) return nullptr;
    bytes.clear();
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return nullptr;
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    return std::make_unique<WinRecordHandle>(std::move(file), path);
}

bool setRecordAside(const std::string& utf8Path, const std::string& utf8NewPath) {
    std::wstring from, to;
    if (!utf8::widePath(utf8Path, true, from) || !utf8::widePath(utf8NewPath, true, to)) return false;
    return MoveFileW(from.c_str(), to.c_str()) != FALSE;
}
