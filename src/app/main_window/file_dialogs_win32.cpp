#include "app/main_window/file_dialogs_win32.h"

#include <commdlg.h>
#include <shobjidl.h>

#include <vector>

#include "app/main_window/external_editor_win32.h"
#include "app/main_window/file_types.h"
#include "app/settings/prefs.h"
#include "platform/handles_win32.h"
#include "platform/utf8_win32.h"

namespace {

constexpr int kMaxDisabledOwners = 10;
constexpr int kMaxOwnerWalk = 20;

// Disables the owner's enabled top-level ancestors while a dialog runs. The owner itself is
// left to the dialog: it disables its owner and enables it again as it closes, which also
// gives the owner the activation back. Disabled here, the owner would be passed over and
// Windows would activate some other program when the dialog closes.
class DisabledOwners {
public:
    explicit DisabledOwners(HWND owner) {
        HWND window = owner ? GetParent(owner) : nullptr;
        for (int depth = 0; window && depth < kMaxOwnerWalk && count_ < kMaxDisabledOwners; ++depth) {
            bool child = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;
            if (!child && window != GetDesktopWindow() && IsWindowEnabled(window)) {
                EnableWindow(window, FALSE);
                windows_[count_++] = window;
            }
            window = GetParent(window);
        }
    }
    ~DisabledOwners() {
        for (int i = 0; i < count_; ++i) EnableWindow(windows_[i], TRUE);
    }
    DisabledOwners(const DisabledOwners&) = delete;
    DisabledOwners& operator=(const DisabledOwners&) = delete;

private:
    HWND windows_[kMaxDisabledOwners] = {};
    int count_ = 0;
};

std::wstring wide(const char* text) {
    std::wstring out;
    utf8::toWideStrict(text, out);
    return out;
}

enum class DialogKind { Open, Save };

struct DialogRequest {
    DialogKind kind = DialogKind::Open;
    HWND owner = nullptr;
    bool keepDirectory = true;  // put the current directory back afterwards
    size_t maxBytes = 0;        // the longest path the caller can take
};

// A chosen path that does not fit is refused, and the user told: cut short it would name
// another file.
bool acceptChosenPath(const DialogRequest& request, std::string& path) {
    std::optional<std::string> refusal = chosenPathTooLong(path, request.maxBytes);
    if (!refusal) return !path.empty();
    utf8::messageBox(request.owner, refusal->c_str(), "Orvane error", MB_ICONERROR);
    path.clear();
    return false;
}

using CreateItemFromParsingName = HRESULT(WINAPI*)(PCWSTR, IBindCtx*, REFIID, void**);

// The modern dialog; false with created = false when the dialog object cannot be made.
bool runModernDialog(const DialogRequest& request, const std::string& startFolder, std::string& path, bool& created) {
    const bool save = request.kind == DialogKind::Save;
    HWND owner = request.owner;
    win32::ComPtr<IFileDialog> dialog;
    HRESULT hr = CoCreateInstance(save ? CLSID_FileSaveDialog : CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                  save ? IID_IFileSaveDialog : IID_IFileOpenDialog,
                                  dialog.outVoid());
    created = SUCCEEDED(hr) && dialog;
    if (!created) return false;

    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | (save ? FOS_DONTADDTORECENT : FOS_FILEMUSTEXIST));

    std::vector<std::wstring> names, patterns;
    for (const FileType& type : fileTypes()) {
        names.push_back(wide(type.name));
        patterns.push_back(wide(type.patterns));
    }
    std::vector<COMDLG_FILTERSPEC> specs;
    for (size_t i = 0; i < names.size(); ++i) specs.push_back({names[i].c_str(), patterns[i].c_str()});
    dialog->SetFileTypes(static_cast<UINT>(specs.size()), specs.data());
    dialog->SetFileTypeIndex(1);
    dialog->SetDefaultExtension(wide(kDefaultExtension).c_str());
    dialog->SetTitle(wide(save ? kSaveDialogTitle : kOpenDialogTitle).c_str());

    if (HMODULE shell = utf8::loadLibrary("shell32.dll")) {
        auto create = reinterpret_cast<CreateItemFromParsingName>(
            reinterpret_cast<void*>(GetProcAddress(shell, "SHCreateItemFromParsingName")));
        std::wstring folder;
        win32::ComPtr<IShellItem> item;
        if (create && utf8::toWideStrict(startFolder, folder) &&
            SUCCEEDED(create(folder.c_str(), nullptr, IID_IShellItem, item.outVoid())))
            dialog->SetFolder(item.get());
    }

    if (FAILED(dialog->Show(owner))) return false;
    win32::ComPtr<IShellItem> result;
    if (FAILED(dialog->GetResult(result.out())) || !result) return false;
    win32::TaskMemoryText chosen;
    if (FAILED(result->GetDisplayName(SIGDN_FILESYSPATH, chosen.out())) || !chosen) return false;
    path = utf8::fromWide(chosen.get());
    return acceptChosenPath(request, path);
}

bool runDialog(const DialogRequest& dialog, std::string& path) {
    const bool save = dialog.kind == DialogKind::Save;
    HWND owner = dialog.owner;
    const bool keepDirectory = dialog.keepDirectory;
    std::string startFolder = utf8::currentDirectory();
    bool accepted = false;
    {
        DisabledOwners disabled(owner);
        bool created = false;
        accepted = runModernDialog(dialog, startFolder, path, created);
        if (!created) {
            std::string filter = fileTypeFilterBlock();
            utf8::FileDialogRequest request;
            request.owner = owner;
            request.filter = filter.c_str();
            request.filterIndex = 1;
            request.title = save ? kSaveDialogTitle : kOpenDialogTitle;
            request.defaultExtension = kDefaultExtension;
            request.initialDirectory = startFolder;
            if (save) {
                request.flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
                accepted = utf8::getSaveFileName(request, path);
            } else {
                request.flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | (keepDirectory ? OFN_NOCHANGEDIR : 0);
                accepted = utf8::getOpenFileName(request, path);
            }
            accepted = accepted && acceptChosenPath(dialog, path);
        }
        if (save || keepDirectory) utf8::setCurrentDirectory(startFolder);
    }
    return accepted && !path.empty();
}

}  // namespace

bool choose_file_for_open(HWND owner, bool keepDirectory, std::string& path) {
    return runDialog({.kind = DialogKind::Open, .owner = owner, .keepDirectory = keepDirectory, .maxBytes = 4094}, path);
}

bool choose_file_for_save(HWND owner, std::string& path) {
    return runDialog({.kind = DialogKind::Save, .owner = owner, .keepDirectory = true, .maxBytes = 2047}, path);
}

void prefs_open_external(const std::string& dataFolder, HWND owner) {
    openInExternalEditor(owner, dataFolder + kPreferencesFile);
}
