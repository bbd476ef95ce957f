#pragma once
// Owned window resources that must be given back: a window timer and the mouse capture.
#include <windows.h>

class WindowTimer {
public:
    WindowTimer() = default;
    ~WindowTimer() { stop(); }
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    bool start(HWND window, UINT_PTR id, UINT periodMs) {
        stop();
        if (!SetTimer(window, id, periodMs, nullptr)) return false;
        window_ = window;
        id_ = id;
        return true;
    }
    void stop() {
        if (window_) KillTimer(window_, id_);
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    UINT_PTR id_ = 0;
};

class MouseCapture {
public:
    MouseCapture() = default;
    ~MouseCapture() { release(); }
    MouseCapture(const MouseCapture&) = delete;
    MouseCapture& operator=(const MouseCapture&) = delete;

    void take(HWND window) {
        SetCapture(window);
        window_ = window;
    }
    bool held() const { return window_ != nullptr && GetCapture() == window_; }
    void release() {
        if (window_ && GetCapture() == window_) ReleaseCapture();
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
};
