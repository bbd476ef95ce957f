#include "app/shell/startup_win32.h"

#include <commctrl.h>

#include <memory>

#include "app/shell/app_context.h"
#include "app/shell/command_line.h"
#include "app/settings/folders.h"
#include "app/main_window/main_window_win32.h"
#include "app/shell/message_loop_win32.h"
#include "app/settings/prefs.h"
#include "app/shell/resource_ids.h"
#include "app/shell/window_classes_win32.h"
#include "editor/text_buffer.h"
#include "platform/handles_win32.h"
#include "platform/library_search_win32.h"
#include "platform/utf8_win32.h"
#include "text/utf16.h"

namespace {

void showParseError(const AppContext& app) {
    TextBuffer text;
    std::string user = app.dataFolder + kPreferencesFile;
    std::string fallback = app.dataFolder + kDefaultPreferencesFile;
    text.setFormat(512, "%s\nin %s\n\nPress OK to try load the default file:\n\n%s", app.prefs.errorText().c_str(),
                   user.c_str(), fallback.c_str());
    utf8::messageBox(GetDesktopWindow(), text.c_str(), "Orvane: preferences parse error found", MB_ICONWARNING);
}

}  // namespace

int runOrvane(HINSTANCE instance, const wchar_t* commandLine) {
    // Before anything loads a library by name (the shell, COM, the file dialogs).
    restrictLibrarySearchToSystemFolder();
    AppContext& app = AppContext::instance();
    std::u16string wide;
    for (const wchar_t* p = commandLine; p && *p; ++p) wide.push_back(static_cast<char16_t>(*p));
    app.commandLinePath = commandLinePath(utf16ToUtf8(wide, kCommandLineBytes));

    app.instanceHandle = instance;
    win32::ComScope com;
    // The list view of the switch window needs its class registered too.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ORVANE));
    registerWindowClasses(instance, icon);

    if (!resolve_folders(app)) {
        utf8::messageBox(nullptr, "Orvane cannot retrieve user's roaming directory. Press OK to exit Orvane.",
                         "Orvane error", MB_ICONERROR);
        return 1;
    }

    prefs_write_files(app.dataFolder);
    bool loaded = prefs_load(app.prefs, app.dataFolder, false);
    if (!loaded) {
        showParseError(app);
        loaded = prefs_load(app.prefs, app.dataFolder, true);
    }
    int status = 0;
    if (loaded) {
        auto main = std::make_unique<MainWindow>();
        if (main->create(instance)) status = run_message_loop();
    }
    return status;
}
