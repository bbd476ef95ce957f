#include "app/main_window/file_drop_win32.h"

#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include "app/shell/command_line.h"
#include "app/main_window/file_drop.h"
#include "app/main_window/file_messages.h"
#include "app/main_window/file_types.h"
#include "app/main_window/main_window_win32.h"
#include "platform/handles_win32.h"
#include "platform/utf8_win32.h"
#include "view/editor_view_win32.h"

namespace {

std::vector<DroppedItem> readDrop(HDROP drop) {
    std::vector<DroppedItem> items;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
        wide.resize(DragQueryFileW(drop, i, wide.data(), length + 1));
        DroppedItem item{utf8::fromWide(wide.c_str(), static_cast<int>(wide.size()))};
        struct _stat64 status {};
        item.folder = utf8::fileStatus(item.path, &status) && (status.st_mode & _S_IFDIR) != 0;
        items.push_back(std::move(item));
    }
    return items;
}

// Another Orvane, this same program, on file; it lives on its own, so no handle is kept.
bool startInstance(const std::string& file) {
    std::wstring commandLine;
    std::wstring executable;
    if (!utf8::toWideStrict(instanceCommandLine(utf8::executablePath(), file), commandLine) ||
        !utf8::toWideStrict(utf8::executablePath(), executable))
        return false;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return false;
    win32::Handle process(started.hProcess);
    win32::Handle thread(started.hThread);
    return true;
}

}  // namespace

void openDroppedFiles(HDROP drop, MainWindow& main) {
    DropPlan plan;
    {
        // The drop is released before any file is read: a long load must not hold it.
        win32::DroppedFiles owned(drop);
        plan = planDrop(readDrop(owned.get()));
    }
    for (const std::string& file : plan.openInNewWindows) {
        std::optional<std::string> refusal;
        if (!fitsCommandLine(file)) {
            size_t quotes = commandLineArgument(file).size() - file.size();
            refusal = chosenPathTooLong(file, kCommandLineBytes - quotes);
        } else if (!startInstance(file)) {
            refusal = newWindowFailedMessage(file);
        }
        if (refusal) utf8::messageBox(main.window(), refusal->c_str(), kErrorCaption, MB_ICONERROR);
    }
    if (plan.openHere.empty()) return;
    main.openPath(plan.openHere);
    // A drop is no key or click, which would have woken a resting editor to show the text.
    if (EditorView* view = main.editorView()) view->wake();
}
