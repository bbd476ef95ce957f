#pragma once
// The editor window (class zazorovodiz_superhost): a child of the main window showing the one
// document. Its owner hands it the document and the settings it is drawn with.
#include <windows.h>

#include "view/editor_view_win32.h"

inline constexpr wchar_t kEditorWindowClass[] = L"zazorovodiz_superhost";

struct EditorWindowArgs {
    Document* document = nullptr;
    SkinSource* skin = nullptr;  // the scrollbar's skin; null for the plain look
    EditorSettings settings;
};

LRESULT CALLBACK editorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the editor window as child `id` of parent; null when it cannot be made.
HWND createEditorWindow(HWND parent, int id, HINSTANCE instance, const EditorWindowArgs& args);
