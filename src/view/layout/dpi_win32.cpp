#include "view/layout/dpi_win32.h"

#include "view/layout/sizer_math.h"

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

struct DpiFunctions {
    GetThreadContextFn threadContext = nullptr;
    ContextsEqualFn equal = nullptr;
    GetDpiForWindowFn dpiForWindow = nullptr;
    GetMetricsForDpiFn metricsForDpi = nullptr;
};

// Looked up once; each is null where the system lacks it.
const DpiFunctions& functions() {
    static const DpiFunctions fns = [] {
        DpiFunctions f;
        if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
            f.threadContext = lookUp<GetThreadContextFn>(user32, "GetThreadDpiAwarenessContext");
            f.equal = lookUp<ContextsEqualFn>(user32, "AreDpiAwarenessContextsEqual");
            f.dpiForWindow = lookUp<GetDpiForWindowFn>(user32, "GetDpiForWindow");
            f.metricsForDpi = lookUp<GetMetricsForDpiFn>(user32, "GetSystemMetricsForDpi");
        }
        return f;
    }();
    return fns;
}

}  // namespace

int dpiScale(HWND window) {
    const DpiFunctions& f = functions();
    // Only a per-monitor aware (version 2) thread sees real window DPIs; for any other the
    // sizer keeps its rectangles as they are.
    if (!f.threadContext || !f.equal || !f.dpiForWindow || !f.equal(f.threadContext(), kPerMonitorV2)) return 0;
    if (!window) return 256;
    return scaleFromDpi(f.dpiForWindow(window));
}

int systemMetricForWindow(int index, HWND window) {
    const DpiFunctions& f = functions();
    if (!window || !f.dpiForWindow || !f.metricsForDpi) return GetSystemMetrics(index);
    UINT dpi = f.dpiForWindow(window);
    return dpi ? f.metricsForDpi(index, dpi) : GetSystemMetrics(index);
}
