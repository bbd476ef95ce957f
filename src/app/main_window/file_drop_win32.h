#pragma once
// The main window's side of a drop of files from Explorer or another program.
#include <windows.h>
#include <shellapi.h>

class MainWindow;

// Reads what was dropped, opens it as planDrop says and releases the drop.
void openDroppedFiles(HDROP drop, MainWindow& main);
