#pragma once
// The modeless windows beside the main window (about, changelog, licence, preferences,
// switch): each exists at most once, in its AppContext slot; its command opens it or, when
// it is open, gives it the focus; it remembers where it was and releases itself when closed.
#include <windows.h>

class AuxiliaryWindow {
public:
    virtual ~AuxiliaryWindow() = default;
    AuxiliaryWindow(const AuxiliaryWindow&) = delete;
    AuxiliaryWindow& operator=(const AuxiliaryWindow&) = delete;

    HWND window() const { return window_; }
    // Esc, the close box and the window's own close keys.
    void close();

    // Opens the window of type T in slot, or focuses the one there.
    template <typename T>
    static void openOrFocus(AuxiliaryWindow*& slot) {
        if (slot) {
            slot->focus();
            return;
        }
        T* created = new T;
        slot = created;
        if (!created->create()) {
            slot = nullptr;
            delete created;
        }
    }

protected:
    AuxiliaryWindow(int templateId, AuxiliaryWindow** slot) : templateId_(templateId), slot_(slot) {}

    // WM_INITDIALOG; answers what the dialog procedure answers (FALSE after setting the focus).
    virtual BOOL initialise() = 0;
    // Every other message; answers as a dialog procedure does (FALSE: not handled).
    virtual INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // WM_DESTROY: timers stop, the placement is written.
    virtual void destroyed() = 0;

    // The remembered outer left and top (and size) under the keys prefix + "_wnd_x" and so on.
    void placeFromStore(const char* prefix, int defaultWidth, int defaultHeight, bool sized);
    void writePlacement(const char* prefix, bool sized) const;
    // Puts the child exactly over the client area, before the sizer takes it.
    void coverClientArea(HWND child) const;

    HWND window_ = nullptr;

private:
    bool create();
    void focus();
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    AuxiliaryWindow** slot_;
};
