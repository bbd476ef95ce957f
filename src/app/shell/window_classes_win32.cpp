#include "app/shell/window_classes_win32.h"

#include <initializer_list>

#include "curses/screen/curses_window_win32.h"
#include "platform/out_of_memory_win32.h"
#include "view/editor_window_win32.h"

void registerWindowClasses(HINSTANCE instance, HICON icon) {
    WNDCLASSEXW dialogClass{};
    dialogClass.cbSize = sizeof dialogClass;
    GetClassInfoExW(nullptr, L"#32770", &dialogClass);
    dialogClass.hInstance = instance;
    dialogClass.hIcon = icon;
    dialogClass.hIconSm = icon;
    dialogClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    dialogClass.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    // A process-local "#32770": dialogs that name no class get the program icon too.
    dialogClass.lpszClassName = L"#32770";
    RegisterClassExW(&dialogClass);

    dialogClass.style = CS_DBLCLKS;
    for (const wchar_t* name : {L"orvane_superhost", L"license_superhost", L"changelog_superhost",
                                L"preferences_superhost", L"about_superhost", L"switch_superhost"}) {
        dialogClass.lpszClassName = name;
        RegisterClassExW(&dialogClass);
    }

    WNDCLASSEXW editorClass{};
    editorClass.cbSize = sizeof editorClass;
    editorClass.style = CS_DBLCLKS;
    editorClass.lpfnWndProc = guardedProcedure<editorWindowProc>;
    editorClass.hInstance = instance;
    editorClass.lpszClassName = kEditorWindowClass;
    RegisterClassExW(&editorClass);

    // The character-cell window of the changelog and preferences windows.
    register_curses_window_class(instance);
}
