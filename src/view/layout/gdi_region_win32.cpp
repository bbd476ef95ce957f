#include "view/layout/gdi_region_win32.h"

#include "platform/handles_win32.h"

namespace {

struct Subtraction {
    HWND parent;
    HRGN region;
    int complexity;
};

BOOL CALLBACK subtractChild(HWND child, LPARAM data) {
    auto* s = reinterpret_cast<Subtraction*>(data);
    if (GetAncestor(child, GA_PARENT) != s->parent || !IsWindowVisible(child)) return TRUE;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, s->parent, reinterpret_cast<POINT*>(&r), 2);
    if (!RectInRegion(s->region, &r)) return TRUE;
    win32::Region childRegion(CreateRectRgnIndirect(&r));
    if (!childRegion) return TRUE;
    s->complexity = CombineRgn(s->region, s->region, childRegion.get(), RGN_DIFF);
    return s->complexity == NULLREGION ? FALSE : TRUE;
}

} // namespace

int subtractVisibleChildren(HWND parent, HRGN region) {
    RECT box;
    Subtraction s{parent, region, GetRgnBox(region, &box)};
    if (s.complexity == NULLREGION) return NULLREGION;
    EnumChildWindows(parent, subtractChild, reinterpret_cast<LPARAM>(&s));
    return s.complexity;
}
