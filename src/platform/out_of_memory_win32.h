#pragma once
// Memory running out inside a message handler. The editor's commands take all the memory they
// need before they change anything, so a command that cannot get it has done nothing; here the
// user is told, once, and the message counts as handled. An exception must never cross the
// system's own frames, so every window procedure of the program runs its handler through this.
#include <windows.h>

#include <new>

// One box at a time; the keys typed meanwhile (an auto-repeat, say) are dropped, so the same
// command does not fail again behind it.
void reportOutOfMemory(HWND owner);

template <typename Result, typename Handler>
Result whileMemoryLasts(HWND owner, Result whenOut, Handler&& handler) {
    try {
        return handler();
    } catch (const std::bad_alloc&) {
        reportOutOfMemory(owner);
        return whenOut;
    }
}

// A window or dialog procedure run through whileMemoryLasts; register this in its place.
template <LRESULT(CALLBACK* Procedure)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK guardedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return whileMemoryLasts(window, LRESULT{0}, [&] { return Procedure(window, message, wParam, lParam); });
}
