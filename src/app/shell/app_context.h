#pragma once
// The process-wide singletons: where the program's files are, the preferences, the main
// window and the single open instance of each auxiliary window. Window pointers are not
// owned here: start-up creates and destroys the main window, and each auxiliary window
// releases itself and empties its slot when it closes.
#include <string>

#include "app/settings/prefs.h"

class MainWindow;
class AuxiliaryWindow;

// A platform window handle, kept opaque so this header builds without platform headers.
using WindowHandle = void*;

struct AuxiliaryWindows {
    AuxiliaryWindow* about = nullptr;
    AuxiliaryWindow* changelog = nullptr;
    AuxiliaryWindow* license = nullptr;
    AuxiliaryWindow* preferences = nullptr;
    AuxiliaryWindow* switchWindow = nullptr;
    WindowHandle findDialog = nullptr;
    WindowHandle replaceDialog = nullptr;
    WindowHandle gotoLineDialog = nullptr;
    WindowHandle gotoOffsetDialog = nullptr;
};

class AppContext {
public:
    static AppContext& instance();

    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    // The program's module handle (HINSTANCE on Windows).
    void* instanceHandle = nullptr;
    // The command line without its quotes; emptied once the main window has used it.
    std::string commandLinePath;
    // Ends with the separator that preceded the executable's name.
    std::string executableFolder;
    // Ends with a separator.
    std::string dataFolder;
    std::string iniPath;
    PrefStore prefs;
    MainWindow* mainWindow = nullptr;
    AuxiliaryWindows windows;

private:
    AppContext() = default;
};
