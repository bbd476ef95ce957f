#pragma once
// Thin owners for the Win32 resources the program takes: GDI objects and their selection,
// device contexts, kernel and find handles, shell strings, COM objects and the COM apartment,
// timers, the mouse capture and window subclasses. Each gives its resource back exactly once,
// when it goes out of scope.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <utility>

namespace win32 {

// The one owner of a single Win32 resource: `Traits` tells its type (Value), the value that
// means none, whether a value is one, and how it is given back (free).
template <typename Traits>
class Owned {
public:
    using Value = typename Traits::Value;
    Owned() = default;
    explicit Owned(Value value) : value_(value) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : value_(std::exchange(other.value_, Traits::none())) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(std::exchange(other.value_, Traits::none()));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Value get() const { return value_; }
    bool valid() const { return Traits::valid(value_); }
    explicit operator bool() const { return valid(); }
    void reset(Value value = Traits::none()) {
        if (valid()) Traits::free(value_);
        value_ = value;
    }
    // Gives up ownership, for a caller that hands the resource on.
    Value release() { return std::exchange(value_, Traits::none()); }
    // For a creating call's out parameter; gives back what was held first.
    Value* out() {
        reset();
        return &value_;
    }

private:
    Value value_ = Traits::none();
};

// Resources whose none is a null pointer.
template <typename T, auto Free>
struct NullIsNone {
    using Value = T;
    static constexpr Value none() { return nullptr; }
    static bool valid(Value value) { return value != nullptr; }
    static void free(Value value) { Free(value); }
};

// Kernel and find handles: INVALID_HANDLE_VALUE and null both mean none.
template <auto Free>
struct InvalidIsNone {
    using Value = HANDLE;
    static Value none() { return INVALID_HANDLE_VALUE; }
    static bool valid(Value value) { return value != INVALID_HANDLE_VALUE && value != nullptr; }
    static void free(Value value) { Free(value); }
};

inline void deleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void freeGlobal(HGLOBAL memory) { GlobalFree(memory); }
inline void freeTaskMemory(wchar_t* text) { CoTaskMemFree(text); }
inline void closeKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void closeFind(HANDLE search) { FindClose(search); }

// A GDI object (font, bitmap, brush, region) deleted with DeleteObject.
template <typename Gdi>
using GdiObject = Owned<NullIsNone<Gdi, deleteGdiObject>>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Region = GdiObject<HRGN>;

// A search of a folder (FindFirstFileW), ended with FindClose.
using FindHandle = Owned<InvalidIsNone<closeFind>>;
// A string the shell allocated for the caller (CoTaskMemAlloc), freed with CoTaskMemFree.
using TaskMemoryText = Owned<NullIsNone<wchar_t*, freeTaskMemory>>;
// The files of a drop (WM_DROPFILES), released with DragFinish.
using DroppedFiles = Owned<NullIsNone<HDROP, DragFinish>>;

// An object selected into a device context for the length of a scope; what was selected
// before is put back at the end.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory device context (CreateCompatibleDC) that restores what it had selected.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith = nullptr) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() {
        if (!dc_) return;
        restore();
        DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    // Selects an object; the first object of each kind that was there is put back at the end.
    void select(HGDIOBJ object) {
        HGDIOBJ previous = SelectObject(dc_, object);
        if (GetObjectType(object) == OBJ_BITMAP && !originalBitmap_) originalBitmap_ = previous;
        if (GetObjectType(object) == OBJ_FONT && !originalFont_) originalFont_ = previous;
    }
    void restore() {
        if (originalBitmap_) SelectObject(dc_, std::exchange(originalBitmap_, nullptr));
        if (originalFont_) SelectObject(dc_, std::exchange(originalFont_, nullptr));
    }

private:
    HDC dc_;
    HGDIOBJ originalBitmap_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
};

// A window's device context: the client area (GetDC) or the whole window (GetWindowDC).
class WindowDC {
public:
    enum Area { Client, Whole };
    explicit WindowDC(HWND window, Area area = Client)
        : window_(window), dc_(area == Whole ? GetWindowDC(window) : GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint .. EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDC() { EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }
    const RECT& area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A kernel handle (file, event) closed with CloseHandle.
class Handle : public Owned<InvalidIsNone<closeKernelHandle>> {
public:
    using Owned::Owned;
    // Closes now and tells whether the system accepted the close (a write can fail there).
    bool close() {
        HANDLE handle = release();
        return handle == INVALID_HANDLE_VALUE || handle == nullptr || CloseHandle(handle) != FALSE;
    }
};

// A COM interface pointer, released once.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    // For the creating call's out parameter; releases what was held first.
    T** out() {
        reset();
        return &p_;
    }
    void** outVoid() { return reinterpret_cast<void**>(out()); }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};

// COM initialised for this thread for the length of a scope.
class ComScope {
public:
    ComScope() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (ok_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool ok_;
};

// A window timer, killed when the owner goes.
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
    bool running() const { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
    UINT_PTR id_ = 0;
};

// The mouse capture taken by one window.
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
        HWND window = std::exchange(window_, nullptr);
        if (window && GetCapture() == window) ReleaseCapture();
    }

private:
    HWND window_ = nullptr;
};

// A window subclass through comctl32: the procedure sees every message first and passes on
// what it does not take with DefSubclassProc. Removed when the owner goes, or by the window's
// WM_NCDESTROY, whichever comes first.
class Subclass {
public:
    Subclass() = default;
    ~Subclass() { remove(); }
    Subclass(const Subclass&) = delete;
    Subclass& operator=(const Subclass&) = delete;

    bool install(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
        remove();
        if (!SetWindowSubclass(window, procedure, id, data)) return false;
        window_ = window;
        procedure_ = procedure;
        id_ = id;
        return true;
    }
    void remove() {
        if (window_ && IsWindow(window_)) RemoveWindowSubclass(window_, procedure_, id_);
        window_ = nullptr;
    }
    // The window is going: the subclass must not be touched any more.
    void forget() { window_ = nullptr; }

private:
    HWND window_ = nullptr;
    SUBCLASSPROC procedure_ = nullptr;
    UINT_PTR id_ = 0;
};

// The clipboard opened for the length of a scope. Another program may hold it for a
// moment, so opening is tried a few times.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) {
        for (int attempt = 0; attempt < 5 && !open_; ++attempt) {
            open_ = OpenClipboard(owner) != FALSE;
            if (!open_) Sleep(10);
        }
    }
    ~ClipboardSession() {
        if (open_) CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    bool open() const { return open_; }

private:
    bool open_ = false;
};

// Movable global memory, freed unless handed to the clipboard.
class GlobalMemory : public Owned<NullIsNone<HGLOBAL, freeGlobal>> {
public:
    explicit GlobalMemory(size_t bytes) : Owned(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    explicit GlobalMemory(HGLOBAL memory) : Owned(memory) {}
};

// A global memory block locked for the length of a scope.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL memory) : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
    ~LockedGlobal() {
        if (data_) GlobalUnlock(memory_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    void* data() const { return data_; }
    size_t size() const { return data_ ? GlobalSize(memory_) : 0; }

private:
    HGLOBAL memory_;
    void* data_;
};

}  // namespace win32
