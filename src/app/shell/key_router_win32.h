#pragma once
#include <windows.h>

// Decides the main window's keyboard commands before the dialog manager, translation and
// dispatch see the message. True when the message is consumed.
bool preTranslateKey(const MSG& message);
