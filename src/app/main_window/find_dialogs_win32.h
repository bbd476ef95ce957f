#pragma once
// The modeless Find, Replace, Goto line and Goto line offset dialogs, owned by the main
// window. One of each exists at most; asking for an open one focuses it.
#include <windows.h>

#include "editor/find_dialog_input.h"

void openFindDialog(FindDialogKind kind);
