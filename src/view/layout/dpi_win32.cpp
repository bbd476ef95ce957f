#include "view/layout/dpi_win32.h"

#include "view/layout/sizer_math.h"

#include <utility>

namespace {

using DpiContext = HANDLE;
using GetThreadContextFn = DpiContext(WINAPI*)();
using ContextsEqualFn = BOOL(WINAPI*)(DpiContext, DpiContext);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetMetricsForDpiFn = int(WINAPI*)(int, UINT);

// Per-monitor aware, version 2.
const DpiContext kPerMonitorV2 = reinterpret_cast<DpiContext>(static_cast<intptr_t>(-4));

template <typename Fn>
Fn lookUp(HMODULE module, const char* name) {
    // Through void* so the compiler accepts the change of function type.
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Looked up once; null when the facility is unavailable.
GetDpiForWindowFn dpiForWindow() {
    static const GetDpiForWindowFn fn = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        if (!user32) return GetDpiForWindowFn{};
        auto threadContext = lookUp<GetThreadContextFn>(user32, "GetThreadDpiAwarenessContext");
        auto equal = lookUp<ContextsEqualFn>(user32, "AreDpiAwarenessContextsEqual");
        if (!threadContext || !equal || !equal(threadContext(), kPerMonitorV2)) return GetDpiForWindowFn{};
        return lookUp<GetDpiForWindowFn>(user32, "GetDpiForWindow");
    }();
    return fn;
}

} // namespace

int dpiScale(HWND window) {
    GetDpiForWindowFn fn = dpiForWindow();
    if (!fn) return 0;
    if (!window) return 256;
    return scaleFromDpi(fn(window));
}

int systemMetricForWindow(int index, HWND window) {
    static const auto functions = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return std::pair{user32 ? lookUp<GetDpiForWindowFn>(user32, "GetDpiForWindow") : nullptr,
                         user32 ? lookUp<GetMetricsForDpiFn>(user32, "GetSystemMetricsForDpi") : nullptr};
    }();
    auto [dpiFor, metricFor] = functions;
    if (!window || !dpiFor || !metricFor) return GetSystemMetrics(index);
    UINT dpi = dpiFor(window);
    return dpi ? metricFor(index, dpi) : GetSystemMetrics(index);
}
