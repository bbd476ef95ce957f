#include "platform/utf8_win32.h"

#include <commdlg.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "text/path_form.h"
#include "text/utf16.h"
#include "text/utf8.h"

namespace utf8 {

namespace {

constexpr int kWideBufferUnits = 4096;

std::wstring fromU16(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

// Wide text for window texts and message boxes, or nothing when the narrow call should be used.
bool lenientWide(const char* text, std::wstring& wide) {
    if (utf8_kind(text) == 0) return false;
    std::optional<std::u16string> converted = to_wide(text);
    if (!converted) return false;
    wide = fromU16(*converted);
    return true;
}

// Window procedure used for a moment to set a narrow window's text from UTF-16.
LRESULT CALLBACK wideTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) return DefWindowProcW(window, message, wParam, lParam);
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, L"OrvaneUTF8TextProc"));
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

bool isTopLevel(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0; }

// Text that is not UTF-8 is taken in the system's code page, as the narrow calls would.
std::wstring codePageWide(const char* text) {
    int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 0) return {};
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), units);
    wide.pop_back();
    return wide;
}

}  // namespace

std::string fromWide(const wchar_t* wide, int length) {
    if (!wide) return {};
    size_t units = length < 0 ? wcslen(wide) : static_cast<size_t>(length);
    return utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide), units));
}

bool toWideStrict(const std::string& text, std::wstring& wide) {
    std::u16string converted;
    if (!utf8ToUtf16Strict(text, converted)) return false;
    wide = fromU16(converted);
    return true;
}

bool widePath(const std::string& path, bool longForm, std::wstring& wide) {
    if (!toWideStrict(path, wide)) return false;
    if (longForm) {
        std::u16string u(wide.begin(), wide.end());
        wide = fromU16(longPathForm(u));
    }
    return true;
}

bool setWindowText(HWND window, const char* text) {
    std::wstring wide;
    if (!lenientWide(text, wide)) return SetWindowTextA(window, text) != FALSE;
    // An owned pop-up has a "parent" in GetParent's sense too: the style tells top-level windows.
    if (IsWindowUnicode(window) || !isTopLevel(window) ||
        GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return SetWindowTextW(window, wide.c_str()) != FALSE;
    // A narrow top-level window would turn the text into its code page: hand the UTF-16
    // text straight to the wide default procedure instead. Installed and put back through the
    // wide call, so the window gets back exactly the procedure it had.
    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wideTextProc)));
    SetPropW(window, L"OrvaneUTF8TextProc", reinterpret_cast<HANDLE>(previous));
    BOOL ok = SetWindowTextW(window, wide.c_str());
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropW(window, L"OrvaneUTF8TextProc");
    return ok != FALSE;
}

bool setDlgItemText(HWND dialog, int item, const char* text) {
    HWND control = GetDlgItem(dialog, item);
    return control && setWindowText(control, text);
}

std::string getWindowText(HWND window) {
    wchar_t buffer[2048];
    int n = GetWindowTextW(window, buffer, 2048);
    std::string text;
    if (n > 0 || GetLastError() == ERROR_SUCCESS) {
        text = fromWide(buffer, n);
    } else {
        char narrow[2048];
        n = GetWindowTextA(window, narrow, sizeof narrow);
        text.assign(narrow, static_cast<size_t>(n > 0 ? n : 0));
    }
    text.resize(fitOnCharacterBoundary(text, 2047));
    return text;
}

std::wstring displayText(const char* text) {
    std::wstring wide;
    return lenientWide(text, wide) ? wide : codePageWide(text);
}

int messageBox(HWND owner, const char* text, const char* caption, UINT iconFlags) {
    std::wstring unused;
    bool textWide = lenientWide(text, unused);
    bool captionWide = lenientWide(caption, unused);
    UINT flags = MB_OK | iconFlags;
    if (textWide || captionWide)
        return MessageBoxW(owner, displayText(text).c_str(), displayText(caption).c_str(), flags);
    return MessageBoxA(owner, text, caption, flags);
}

bool appDataFolder(std::string& folder) {
    wchar_t buffer[MAX_PATH];
    if (SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_APPDATA, FALSE)) {
        folder = fromWide(buffer);
        return true;
    }
    char narrow[MAX_PATH];
    if (SHGetSpecialFolderPathA(nullptr, narrow, CSIDL_APPDATA, FALSE)) {
        folder = narrow;
        return true;
    }
    return false;
}

std::string executablePath() {
    std::vector<wchar_t> buffer(kWideBufferUnits);
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), kWideBufferUnits);
    if (n > 0 && n < kWideBufferUnits) return fromWide(buffer.data(), static_cast<int>(n));
    char narrow[MAX_PATH];
    n = GetModuleFileNameA(nullptr, narrow, MAX_PATH);
    return std::string(narrow, n);
}

std::string systemFolder() {
    std::vector<wchar_t> buffer(kWideBufferUnits);
    UINT n = GetSystemDirectoryW(buffer.data(), kWideBufferUnits);
    return n > 0 && n < kWideBufferUnits ? fromWide(buffer.data(), static_cast<int>(n)) : std::string();
}

std::string windowsFolder() {
    std::vector<wchar_t> buffer(kWideBufferUnits);
    UINT n = GetWindowsDirectoryW(buffer.data(), kWideBufferUnits);
    return n > 0 && n < kWideBufferUnits ? fromWide(buffer.data(), static_cast<int>(n)) : std::string();
}

std::string currentDirectory() {
    std::vector<wchar_t> buffer(kWideBufferUnits);
    DWORD n = GetCurrentDirectoryW(kWideBufferUnits, buffer.data());
    if (n > 0 && n < kWideBufferUnits) return fromWide(buffer.data(), static_cast<int>(n));
    char narrow[MAX_PATH];
    n = GetCurrentDirectoryA(MAX_PATH, narrow);
    return std::string(narrow, n < MAX_PATH ? n : 0);
}

bool setCurrentDirectory(const std::string& path) {
    std::wstring wide;
    if (widePath(path, true, wide) && SetCurrentDirectoryW(wide.c_str())) return true;
    return SetCurrentDirectoryA(path.c_str()) != FALSE;
}

bool createDirectory(const std::string& path) {
    std::wstring wide;
    if (pathNeedsWideCall(path) && widePath(path, true, wide)) return CreateDirectoryW(wide.c_str(), nullptr) != FALSE;
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

HMODULE loadLibrary(const char* name) {
    std::wstring wide;
    if (pathNeedsWideCall(name) && widePath(name, false, wide)) return LoadLibraryW(wide.c_str());
    return LoadLibraryA(name);
}

FILE* openFile(const std::string& path, const char* mode) {
    std::wstring wide, wideMode;
    if (pathNeedsWideCall(path) && widePath(path, true, wide) && toWideStrict(mode, wideMode)) {
        FILE* file = _wfopen(wide.c_str(), wideMode.c_str());
        if (file) return file;
        // A failed wide open for writing must not create a file under a mangled narrow name.
        if (strpbrk(mode, "+aw")) return nullptr;
    }
    return fopen(path.c_str(), mode);
}

bool fileStatus(const std::string& path, struct _stat64* status) {
    std::wstring wide;
    if (widePath(path, true, wide) && _wstat64(wide.c_str(), status) == 0) return true;
    return _stat64(path.c_str(), status) == 0;
}

HINSTANCE shellExecute(HWND owner, const char* verb, const char* file, const char* parameters, int show) {
    std::wstring wVerb, wFile, wParameters;
    bool wide = (!verb || toWideStrict(verb, wVerb)) && toWideStrict(file ? file : "", wFile) &&
                (!parameters || toWideStrict(parameters, wParameters));
    if (wide)
        return ShellExecuteW(owner, verb ? wVerb.c_str() : nullptr, wFile.c_str(),
                             parameters ? wParameters.c_str() : nullptr, L"", show);
    return ShellExecuteA(owner, verb, file, parameters, "", show);
}

UINT iniGetInt(const char* section, const char* key, int fallback, const std::string& iniPath) {
    std::wstring wSection, wKey, wPath;
    if (toWideStrict(section, wSection) && toWideStrict(key, wKey) && widePath(iniPath, false, wPath))
        return GetPrivateProfileIntW(wSection.c_str(), wKey.c_str(), fallback, wPath.c_str());
    return GetPrivateProfileIntA(section, key, fallback, iniPath.c_str());
}

bool iniWriteString(const char* section, const char* key, const char* value, const std::string& iniPath) {
    std::wstring wSection, wKey, wValue, wPath;
    if (toWideStrict(section, wSection) && toWideStrict(key, wKey) && toWideStrict(value, wValue) &&
        widePath(iniPath, false, wPath))
        return WritePrivateProfileStringW(wSection.c_str(), wKey.c_str(), wValue.c_str(), wPath.c_str()) != FALSE;
    return WritePrivateProfileStringA(section, key, value, iniPath.c_str()) != FALSE;
}

namespace {

// name\0pattern\0 ... \0\0 in UTF-8 to the same block in UTF-16.
std::wstring wideFilterBlock(const char* filter) {
    std::wstring block;
    if (!filter) return block;
    for (const char* p = filter; *p; p += strlen(p) + 1) {
        block += fromU16(to_wide(p).value_or(std::u16string()));
        block.push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
}

bool runFileDialog(bool save, const FileDialogRequest& request, std::string& path) {
    std::wstring filter = wideFilterBlock(request.filter);
    std::wstring title, extension, directory;
    if (request.title) toWideStrict(request.title, title);
    if (request.defaultExtension) toWideStrict(request.defaultExtension, extension);
    toWideStrict(request.initialDirectory, directory);
    std::vector<wchar_t> file(4095 + 1, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = request.owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = 4095;
    ofn.lpstrTitle = request.title ? title.c_str() : nullptr;
    ofn.lpstrDefExt = request.defaultExtension ? extension.c_str() : nullptr;
    ofn.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
    ofn.Flags = request.flags;
    BOOL accepted = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!accepted || file[0] == L'\0') return false;
    path = fromWide(file.data());
    return !path.empty();
}

constexpr UINT_PTR kListViewSubclass = 0x5C08;

// Converts one narrow list-view item to a wide one; the texts live in storage.
LVITEMW wideItem(const LVITEMA& item, std::wstring& storage) {
    LVITEMW wide{};
    std::memcpy(&wide, &item, sizeof wide);
    if ((item.mask & LVIF_TEXT) && item.pszText && item.pszText != LPSTR_TEXTCALLBACKA) {
        storage = fromU16(to_wide(item.pszText).value_or(std::u16string()));
        wide.pszText = storage.data();
    }
    return wide;
}

LVCOLUMNW wideColumn(const LVCOLUMNA& column, std::wstring& storage) {
    LVCOLUMNW wide{};
    std::memcpy(&wide, &column, sizeof wide);
    if ((column.mask & LVCF_TEXT) && column.pszText) {
        storage = fromU16(to_wide(column.pszText).value_or(std::u16string()));
        wide.pszText = storage.data();
    }
    return wide;
}

LRESULT CALLBACK listViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    std::wstring storage;
    switch (message) {
    case LVM_INSERTITEMA:
    case LVM_SETITEMA:
    case LVM_SETITEMTEXTA: {
        if (!lParam) break;
        LVITEMW item = wideItem(*reinterpret_cast<LVITEMA*>(lParam), storage);
        UINT wideMessage = message == LVM_INSERTITEMA ? LVM_INSERTITEMW
                         : message == LVM_SETITEMA    ? LVM_SETITEMW
                                                      : LVM_SETITEMTEXTW;
        return DefSubclassProc(window, wideMessage, wParam, reinterpret_cast<LPARAM>(&item));
    }
    case LVM_GETITEMA:
    case LVM_GETITEMTEXTA: {
        if (!lParam) break;
        auto* narrowItem = reinterpret_cast<LVITEMA*>(lParam);
        LVITEMW item{};
        std::memcpy(&item, narrowItem, sizeof item);
        std::vector<wchar_t> text(static_cast<size_t>(narrowItem->cchTextMax > 0 ? narrowItem->cchTextMax : 1) + 1);
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        UINT wideMessage = message == LVM_GETITEMA ? LVM_GETITEMW : LVM_GETITEMTEXTW;
        LRESULT result = DefSubclassProc(window, wideMessage, wParam, reinterpret_cast<LPARAM>(&item));
        if (narrowItem->pszText && narrowItem->cchTextMax > 0) {
            std::string converted = fromWide(item.pszText);
            if (converted.size() >= static_cast<size_t>(narrowItem->cchTextMax))
                converted.resize(static_cast<size_t>(narrowItem->cchTextMax - 1));
            std::memcpy(narrowItem->pszText, converted.c_str(), converted.size() + 1);
            if (message == LVM_GETITEMTEXTA) return static_cast<LRESULT>(converted.size());
        }
        return result;
    }
    case LVM_INSERTCOLUMNA:
    case LVM_SETCOLUMNA: {
        if (!lParam) break;
        LVCOLUMNW column = wideColumn(*reinterpret_cast<LVCOLUMNA*>(lParam), storage);
        UINT wideMessage = message == LVM_INSERTCOLUMNA ? LVM_INSERTCOLUMNW : LVM_SETCOLUMNW;
        return DefSubclassProc(window, wideMessage, wParam, reinterpret_cast<LPARAM>(&column));
    }
    case WM_NCDESTROY: RemoveWindowSubclass(window, listViewProc, kListViewSubclass); break;
    default: break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

bool getOpenFileName(const FileDialogRequest& request, std::string& path) { return runFileDialog(false, request, path); }

bool getSaveFileName(const FileDialogRequest& request, std::string& path) { return runFileDialog(true, request, path); }

void attachListViewAdapter(HWND listView) {
    if (!listView) return;
    SendMessageW(listView, LVM_SETUNICODEFORMAT, TRUE, 0);
    // Installing the same subclass again only replaces its data: one adapter per list.
    SetWindowSubclass(listView, listViewProc, kListViewSubclass, 0);
}

}  // namespace utf8
