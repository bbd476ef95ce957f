// Process entry. The main window and message loop are wired in here as they arrive.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    MessageBoxW(nullptr, L"Orvane is being built: the main window arrives with the application shell.", L"Orvane", MB_OK);
    return 0;
}
